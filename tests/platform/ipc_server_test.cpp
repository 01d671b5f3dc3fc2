#include "Discovery.h"
#include "IpcClient.h"
#include "IpcConnection.h"
#include "IpcServer.h"
#include "MessagePump.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <functional>
#include <memory>
#include <optional>
#include <mutex>
#include <thread>
#include <vector>

using namespace platform::ipc;
using platform::IpcServer;
using testing_support::TempDir;
using namespace std::chrono_literals;

namespace {

constexpr int kTimeoutMs = 20000;  // only a guard against hanging; no test waits for it

// Serves the event loop until `done` holds (or a generous guard time passes).
bool PumpUntil(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (!done() && std::chrono::steady_clock::now() < end)
        platform::WaitPumpingMessages(2);
    return done();
}

// Runs `body` on its own thread while the GUI thread serves the server.
void OnClientThread(const std::function<void()>& body)
{
    std::atomic<bool> finished{false};
    std::thread t([&] {
        body();
        finished = true;
    });
    PumpUntil([&] { return finished.load(); });
    t.join();
}

// Runs `body` in a forked child (plain POSIX only there) and returns its exit status.
int InChildProcess(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = -1;
    PumpUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; });
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

std::int32_t Echo(std::int32_t code, std::int32_t arg)
{
    return code * 1000 + arg;
}

struct Received {
    std::uint64_t token;
    std::int32_t code;
    std::int32_t value;
};

// Dispatches until `count` notifications arrived or the connection ended.
std::vector<Received> Collect(NotificationListener& listener, std::size_t count)
{
    std::vector<Received> got;
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (got.size() < count && std::chrono::steady_clock::now() < end) {
        pollfd p{listener.Fd(), POLLIN, 0};
        ::poll(&p, 1, 100);
        if (listener.Dispatch([&](std::uint64_t t, std::int32_t c, std::int32_t v) {
                got.push_back({t, c, v});
            })
            < 0)
            break;
    }
    return got;
}

class IpcServerTest : public ::testing::Test {
protected:
    TempDir folder_{"corvane-ipc"};
};

}  // namespace

TEST_F(IpcServerTest, AnswersRequestsFromThreadsOfAnotherThreadOnTheGuiThread)
{
    const auto gui = std::this_thread::get_id();
    bool offGui = false;
    IpcServer server("Corvane Icom 706 Control - 1.0", [&](std::int32_t code, std::int32_t arg) {
        offGui = offGui || std::this_thread::get_id() != gui;
        return Echo(code, arg);
    });
    std::string error;
    ASSERT_TRUE(server.Start(folder_.path, &error)) << error;

    RequestClient client;
    std::atomic<int> wrong{0};
    OnClientThread([&] {
        if (!client.Connect(server.SocketPath(), kTimeoutMs))
            return void(++wrong);
        auto hello = client.Hello(kTimeoutMs);
        if (!hello || hello->title != "Corvane Icom 706 Control - 1.0"
            || hello->pid != std::uint32_t(::getpid()))
            ++wrong;
        if (client.Request(51, INT32_MIN, kTimeoutMs) != Echo(51, INT32_MIN))
            ++wrong;
        // One client shared by several threads: each gets its own answers.
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&, t] {
                for (int i = 0; i < 100; ++i)
                    if (client.Request(t, i, kTimeoutMs) != Echo(t, i))
                        ++wrong;
            });
        for (auto& th : threads)
            th.join();
    });
    EXPECT_EQ(wrong, 0);
    EXPECT_FALSE(offGui);
}

TEST_F(IpcServerTest, ServesAClientInAnotherProcess)
{
    IpcServer server("Corvane Icom 706 Control", [&](std::int32_t code, std::int32_t arg) {
        if (code == 99)
            for (int i = 1; i <= 50; ++i)
                server.Notify(0, i);  // before the answer
        return Echo(code, arg);
    });
    ASSERT_TRUE(server.Start(folder_.path));
    const std::string dir = folder_.path;
    const int status = InChildProcess([dir] {
        const auto found = FindServer(dir, "corvane icom 706 control", kTimeoutMs);
        if (!found || found->pid != std::uint32_t(::getppid()))
            return 1;
        RequestClient client;
        NotificationListener listener;
        if (!client.Connect(found->path, kTimeoutMs) || !listener.Open(found->path, kTimeoutMs))
            return 2;
        if (!listener.Register(0xABCDEF0123ull, kTimeoutMs))
            return 3;
        if (client.Request(3, 4, kTimeoutMs) != 3004)
            return 4;
        if (client.Request(99, 0, kTimeoutMs) != 99000)
            return 5;
        const auto got = Collect(listener, 50);
        if (got.size() != 50)
            return 6;
        for (int i = 0; i < 50; ++i)
            if (got[i].token != 0xABCDEF0123ull || got[i].code != 0 || got[i].value != i + 1)
                return 7;
        return 0;
    });
    EXPECT_EQ(status, 0);
    PumpUntil([&] { return server.ConnectionCount() == 0; });
    EXPECT_EQ(server.RegistrationCount(), 0u) << "the child's registration left with it";
}

TEST_F(IpcServerTest, ARequestThatTimesOutDoesNotConfuseTheNextOne)
{
    std::atomic<bool> release{false};
    IpcServer server("t", [&](std::int32_t code, std::int32_t arg) {
        if (code == 5)
            PumpUntil([&] { return release.load(); });
        return Echo(code, arg);
    });
    ASSERT_TRUE(server.Start(folder_.path));
    std::optional<std::int32_t> late = 1, next;
    OnClientThread([&] {
        RequestClient client;
        if (!client.Connect(server.SocketPath(), kTimeoutMs))
            return;
        late = client.Request(5, 0, 50);  // the server keeps it until released
        release = true;
        next = client.Request(6, 1, kTimeoutMs);
    });
    EXPECT_FALSE(late);
    EXPECT_EQ(next, 6001) << "the late answer to 5 was skipped";
}

TEST_F(IpcServerTest, DiscoveryTakesTheLastStartedServerWhoseTitleBeginsWithThePrefix)
{
    IpcServer first("Corvane Icom 706 Control - 1.0  -  RTX: IC706", Echo);
    IpcServer second("CORVANE ICOM 706 CONTROL - 1.0", Echo);
    IpcServer shorter("Corvane Icom 706 Contro", Echo);
    IpcServer other("Some other program", Echo);
    for (IpcServer* s : {&first, &second, &shorter, &other})
        ASSERT_TRUE(s->Start(folder_.path));

    std::optional<FoundServer> found;
    const std::string dir = folder_.path;
    OnClientThread([&] { found = FindServer(dir, "Corvane Icom 706 Control", kTimeoutMs); });
    ASSERT_TRUE(found);
    EXPECT_EQ(found->path, second.SocketPath());
    EXPECT_EQ(found->title, "CORVANE ICOM 706 CONTROL - 1.0");

    // The title is asked afresh each time; a server that goes is no longer found.
    second.SetTitle("Renamed");
    OnClientThread([&] { found = FindServer(dir, "corvane icom 706 control", kTimeoutMs); });
    ASSERT_TRUE(found);
    EXPECT_EQ(found->path, first.SocketPath());
    first.Stop();
    EXPECT_FALSE(first.IsListening());
    OnClientThread([&] { found = FindServer(dir, "Corvane Icom 706 Control", kTimeoutMs); });
    EXPECT_FALSE(found);
    EXPECT_EQ(ListServerSockets(dir).size(), 3u) << "a stopped server removes its socket";
}

TEST_F(IpcServerTest, NotificationsArriveInOrderOncePerRegistration)
{
    IpcServer server("t", Echo);
    ASSERT_TRUE(server.Start(folder_.path));
    EXPECT_EQ(server.Notify(0, 1), 0) << "nobody registered";

    NotificationListener listener;
    std::thread::id dispatchThread, callbackThread;
    std::vector<Received> got;
    std::atomic<std::size_t> gotCount{0};
    std::atomic<bool> registered{false};
    std::atomic<bool> ok{true};
    std::thread client([&] {
        ok = listener.Open(server.SocketPath(), kTimeoutMs) && listener.Register(1, kTimeoutMs)
             && listener.Register(1, kTimeoutMs) && listener.Register(2, kTimeoutMs);
        registered = true;
        dispatchThread = std::this_thread::get_id();
        const auto end = std::chrono::steady_clock::now() + 30s;
        while (got.size() < 2000 && std::chrono::steady_clock::now() < end) {
            pollfd p{listener.Fd(), POLLIN, 0};
            ::poll(&p, 1, 100);
            listener.Dispatch([&](std::uint64_t t, std::int32_t c, std::int32_t v) {
                callbackThread = std::this_thread::get_id();
                got.push_back({t, c, v});
                ++gotCount;
            });
        }
    });
    PumpUntil([&] { return registered.load(); });
    ASSERT_TRUE(ok);
    EXPECT_EQ(server.RegistrationCount(), 2u) << "a token registered twice is told once";
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(server.Notify(i % 52, i), 2);
        if (i % 100 == 0)
            platform::PumpMessages();
    }
    PumpUntil([&] { return gotCount >= 2000; });
    client.join();
    ASSERT_EQ(got.size(), 2000u);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(got[2 * i].token, 1u);
        EXPECT_EQ(got[2 * i + 1].token, 2u);
        EXPECT_EQ(got[2 * i].code, i % 52);
        EXPECT_EQ(got[2 * i].value, i);
        EXPECT_EQ(got[2 * i + 1].value, i);
    }
    EXPECT_EQ(callbackThread, dispatchThread);
}

TEST_F(IpcServerTest, AClientThatNeverReadsIsDroppedWithoutStallingTheOthers)
{
    IpcServer::Limits limits;
    limits.maxPendingOutput = 4096;
    IpcServer server("t", Echo, limits);
    ASSERT_TRUE(server.Start(folder_.path));

    NotificationListener stuck, reader;
    std::atomic<bool> ok{false};
    OnClientThread([&] {
        ok = stuck.Open(server.SocketPath(), kTimeoutMs) && stuck.Register(1, kTimeoutMs)
             && reader.Open(server.SocketPath(), kTimeoutMs) && reader.Register(2, kTimeoutMs);
    });
    ASSERT_TRUE(ok);
    ASSERT_EQ(server.RegistrationCount(), 2u);

    std::atomic<int> readerCount{0};
    std::atomic<bool> inOrder{true}, stop{false};
    std::thread readerThread([&] {
        while (!stop) {
            pollfd p{reader.Fd(), POLLIN, 0};
            ::poll(&p, 1, 20);
            reader.Dispatch([&](std::uint64_t, std::int32_t, std::int32_t v) {
                if (v != readerCount)
                    inOrder = false;
                ++readerCount;
            });
        }
    });
    // Batches smaller than the limit, each read by the good client before the next, until the
    // stuck one has filled its socket and its queue.
    int sent = 0;
    for (int batch = 0; batch < 5000 && server.RegistrationCount() == 2; ++batch) {
        for (int i = 0; i < 100; ++i)
            server.Notify(0, sent++);
        PumpUntil([&] { return readerCount == sent; });
    }
    EXPECT_EQ(server.RegistrationCount(), 1u) << "the stuck client was dropped";
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(server.Notify(0, sent++), 1);
    PumpUntil([&] { return readerCount == sent; });
    stop = true;
    readerThread.join();
    EXPECT_EQ(readerCount, sent);
    EXPECT_TRUE(inOrder);

    // The stuck client finds what fitted into its socket, then the end.
    int stuckResult = 0;
    while ((stuckResult = stuck.Dispatch(nullptr)) > 0) {
    }
    EXPECT_EQ(stuckResult, -1);
}

TEST_F(IpcServerTest, AClientCannotRegisterTokensWithoutBound)
{
    IpcServer server("t", Echo);
    ASSERT_TRUE(server.Start(folder_.path));

    // One connection sending thousands of distinct tokens: the list stays bounded, the refused
    // ones are answered as refused, and the tokens it holds are still told.
    NotificationListener flood, other;
    int accepted = 0, refused = 0;
    std::atomic<bool> ok{false};
    OnClientThread([&] {
        if (!flood.Open(server.SocketPath(), kTimeoutMs))
            return;
        for (std::uint64_t token = 1; token <= 2000; ++token)
            (flood.Register(token, kTimeoutMs) ? accepted : refused)++;
        ok = flood.Register(1, kTimeoutMs) && other.Open(server.SocketPath(), kTimeoutMs)
             && other.Register(5000, kTimeoutMs);
    });
    ASSERT_TRUE(ok) << "a token already held, and other connections, are still accepted";
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, 2000);
    EXPECT_EQ(accepted + refused, 2000);
    EXPECT_EQ(server.RegistrationCount(), static_cast<std::size_t>(accepted) + 1);
    EXPECT_EQ(server.Notify(3, 4), accepted + 1);
    EXPECT_EQ(Collect(other, 1).size(), 1u);
}

TEST_F(IpcServerTest, ClientsThatGoAreRemovedWithTheirRegistrations)
{
    IpcServer server("t", Echo);
    ASSERT_TRUE(server.Start(folder_.path));
    const std::string path = server.SocketPath();

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        NotificationListener listener;
        const bool ok = listener.Open(path, kTimeoutMs) && listener.Register(7, kTimeoutMs);
        char c = ok ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        for (;;)
            ::pause();  // killed by the parent
    }
    ::close(ready[1]);
    char c = 0;
    PumpUntil([&] {
        pollfd p{ready[0], POLLIN, 0};
        return ::poll(&p, 1, 0) > 0;
    });
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(c, 'y');
    PumpUntil([&] { return server.RegistrationCount() == 1; });
    ASSERT_EQ(server.RegistrationCount(), 1u);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(PumpUntil([&] { return server.ConnectionCount() == 0; }));
    EXPECT_EQ(server.RegistrationCount(), 0u);
    EXPECT_EQ(server.Notify(0, 1), 0);

    // A client of this process that closes its listener goes the same way.
    NotificationListener listener;
    OnClientThread(
        [&] { EXPECT_TRUE(listener.Open(path, kTimeoutMs) && listener.Register(8, kTimeoutMs)); });
    EXPECT_EQ(server.RegistrationCount(), 1u);
    listener.Close();
    EXPECT_TRUE(PumpUntil([&] { return server.RegistrationCount() == 0; }));
}

TEST_F(IpcServerTest, AnswersOthersDuringANestedWaitButNeverReentersOneConnection)
{
    std::atomic<bool> firstRunning{false}, secondSeen{false};
    bool reentered = false;
    std::vector<int> order;
    IpcServer server("t", [&](std::int32_t code, std::int32_t) -> std::int32_t {
        order.push_back(code);
        if (code == 1) {
            if (firstRunning)
                reentered = true;
            firstRunning = true;
            PumpUntil([&] { return secondSeen.load(); });  // a nested wait, as long operations do
            platform::PumpMessages();
            firstRunning = false;
            return 111;
        }
        if (code == 2)
            secondSeen = true;
        if (code == 3 && firstRunning)
            reentered = true;
        return code * 111;
    });
    ASSERT_TRUE(server.Start(folder_.path));

    std::int32_t a1 = 0, a3 = 0;
    std::optional<std::int32_t> b;
    OnClientThread([&] {
        // Two requests in one write on one connection; the second must wait for the first.
        IpcConnection raw;
        if (!raw.Open(server.SocketPath(), kTimeoutMs))
            return;
        const auto deadline = IpcConnection::Deadline(kTimeoutMs);
        if (!raw.Send(Message::Request(10, 1, 0), deadline)
            || !raw.Send(Message::Request(11, 3, 0), deadline))
            return;
        std::thread other([&] {
            while (!firstRunning)
                std::this_thread::sleep_for(1ms);
            RequestClient client;
            if (client.Connect(server.SocketPath(), kTimeoutMs))
                b = client.Request(2, 0, kTimeoutMs);
        });
        Message m;
        if (raw.Read(m, deadline) == IpcConnection::ReadResult::Message && m.id == 10)
            a1 = m.value;
        if (raw.Read(m, deadline) == IpcConnection::ReadResult::Message && m.id == 11)
            a3 = m.value;
        other.join();
    });
    EXPECT_EQ(b, 222) << "answered inside the nested wait";
    EXPECT_EQ(a1, 111);
    EXPECT_EQ(a3, 333);
    EXPECT_FALSE(reentered);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(IpcServerTest, MalformedOrForeignFramesCloseOnlyThatConnection)
{
    IpcServer server("t", Echo);
    ASSERT_TRUE(server.Start(folder_.path));
    const std::string path = server.SocketPath();
    std::vector<std::string> bad = {
        std::string("\xff\xff\xff\xff", 4),          // far above the cap
        std::string("\x00\x00\x00\x00", 4),          // empty body
        std::string("\x02\x00\x00\x00\x03\x01", 6),  // a request cut short
        std::string("\x09\x00\x00\x00\x04", 5)
            + std::string(8, '\0'),                  // an answer: servers send those
        std::string("\x01\x00\x00\x00\x7f", 5),      // unknown type
        std::string("\x0d\x00\x00\x00\x03\x01", 6),  // the stream ends inside a frame
    };
    RequestClient good;
    std::atomic<int> failures{0};
    OnClientThread([&] {
        if (!good.Connect(path, kTimeoutMs))
            ++failures;
        for (const std::string& bytes : bad) {
            UniqueFd fd = ConnectTo(path, kTimeoutMs);
            if (!fd.Valid() || SendSome(fd.Get(), bytes.data(), bytes.size()) != long(bytes.size()))
                ++failures;
            if (bytes.size() == 6 && bytes[0] == '\x0d')
                ::shutdown(fd.Get(), SHUT_WR);
            WaitReady(fd.Get(), POLLIN, kTimeoutMs);
            char c;
            if (ReceiveSome(fd.Get(), &c, 1) != 0)
                ++failures;  // closed without an answer
        }
        if (good.Request(4, 5, kTimeoutMs) != 4005)
            ++failures;
    });
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(server.ConnectionCount(), 1u);
}

TEST_F(IpcServerTest, AHandlerMayStopOrDestroyTheServer)
{
    std::unique_ptr<IpcServer> server;
    server = std::make_unique<IpcServer>("t", [&](std::int32_t code, std::int32_t) {
        if (code == 1)
            server->Stop();
        else
            server.reset();
        return 0;
    });
    ASSERT_TRUE(server->Start(folder_.path));
    std::string path = server->SocketPath();
    std::optional<std::int32_t> answer = 5;
    OnClientThread([&] {
        RequestClient client;
        if (client.Connect(path, kTimeoutMs))
            answer = client.Request(1, 0, kTimeoutMs);
    });
    EXPECT_FALSE(answer) << "the connection went with the server";
    EXPECT_FALSE(server->IsListening());
    EXPECT_NE(::access(path.c_str(), F_OK), 0);

    ASSERT_TRUE(server->Start(folder_.path));
    path = server->SocketPath();
    answer = 5;
    OnClientThread([&] {
        RequestClient client;
        if (client.Connect(path, kTimeoutMs))
            answer = client.Request(2, 0, kTimeoutMs);
    });
    EXPECT_FALSE(answer);
    EXPECT_EQ(server, nullptr);
    EXPECT_NE(::access(path.c_str(), F_OK), 0);
}

// True once the server has closed `fd`: what it sent before is skipped.
bool ClosedByServer(int fd)
{
    char buf[256];
    for (;;) {
        if (WaitReady(fd, POLLIN, kTimeoutMs) == 0)
            return false;
        const long n = ReceiveSome(fd, buf, sizeof buf);
        if (n == 0)
            return true;
        if (n < 0 && errno != EAGAIN)
            return true;
    }
}

TEST_F(IpcServerTest, AConnectionStalledInsideAFrameIsClosedAnIdleOneIsNot)
{
    IpcServer server("t", Echo);
    ASSERT_TRUE(server.Start(folder_.path));
    const std::string path = server.SocketPath();
    std::string hello;
    AppendMessage(hello, Message::Hello(1));
    const std::vector<std::string> stalls = {
        std::string("\x0d\x00", 2),                      // inside the length
        std::string("\x0d\x00\x00\x00\x03\x01", 6),      // inside the body
        hello + std::string("\x0d\x00\x00\x00\x03", 5),  // after a whole frame, which is answered
    };
    bool idleAnswered = false;
    std::atomic<int> failures{0};
    UniqueFd idle;
    OnClientThread([&] {
        idle = ConnectTo(path, kTimeoutMs);
        std::vector<UniqueFd> stalled;
        for (const std::string& bytes : stalls) {
            stalled.push_back(ConnectTo(path, kTimeoutMs));
            if (SendSome(stalled.back().Get(), bytes.data(), bytes.size()) != long(bytes.size()))
                ++failures;
        }
        for (const UniqueFd& fd : stalled)
            if (!ClosedByServer(fd.Get()))
                ++failures;
        // Silent for longer than any stall allowance, yet served.
        if (SendSome(idle.Get(), hello.data(), hello.size()) != long(hello.size()))
            ++failures;
        char buf[64];
        if (WaitReady(idle.Get(), POLLIN, kTimeoutMs) != 0)
            idleAnswered = ReceiveSome(idle.Get(), buf, sizeof buf) > 0;
    });
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(idleAnswered);
    EXPECT_EQ(server.ConnectionCount(), 1u);
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

TEST_F(IpcServerTest, WhenRegisteredClientsFillEveryPlaceTheLongestQuietOneMakesRoom)
{
    IpcServer::Limits limits;
    limits.maxConnections = 4;
    limits.quietRegistrationMs = 0;  // every registration counts as quiet at once
    IpcServer server("t", Echo, limits);
    ASSERT_TRUE(server.Start(folder_.path));

    std::vector<std::unique_ptr<NotificationListener>> full;
    std::atomic<bool> ok{true};
    OnClientThread([&] {
        for (std::uint64_t token = 1; token <= 4; ++token) {
            full.push_back(std::make_unique<NotificationListener>());
            ok = ok && full.back()->Open(server.SocketPath(), kTimeoutMs)
                 && full.back()->Register(token, kTimeoutMs);
        }
    });
    ASSERT_TRUE(ok);
    ASSERT_EQ(server.RegistrationCount(), 4u);

    // A fifth client is served; the first registration, the longest quiet, made room for it.
    std::optional<std::int32_t> answer;
    OnClientThread([&] {
        RequestClient client;
        if (client.Connect(server.SocketPath(), kTimeoutMs))
            answer = client.Request(7, 3, kTimeoutMs);
    });
    EXPECT_EQ(answer, std::optional<std::int32_t>(7003));
    EXPECT_EQ(server.RegistrationCount(), 3u);
    EXPECT_EQ(full.front()->Dispatch(nullptr), -1);
    EXPECT_EQ(server.Notify(0, 1), 3);

    // With the default, registered clients keep their places and a newcomer finds none.
    IpcServer::Limits strict;
    strict.maxConnections = 1;
    IpcServer other("u", Echo, strict);
    ASSERT_TRUE(other.Start(folder_.path));
    NotificationListener kept;
    OnClientThread(
        [&] { ok = kept.Open(other.SocketPath(), kTimeoutMs) && kept.Register(9, kTimeoutMs); });
    ASSERT_TRUE(ok);
    answer.reset();
    OnClientThread([&] {
        RequestClient client;
        if (client.Connect(other.SocketPath(), kTimeoutMs))
            answer = client.Request(7, 3, 2000);
    });
    EXPECT_FALSE(answer.has_value());
    EXPECT_EQ(other.RegistrationCount(), 1u);
}
