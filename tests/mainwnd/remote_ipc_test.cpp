// The handler served across the socket: requests from a client on another thread reach the radio,
// registered clients get every notification once and in order, and a client that has gone or
// stopped reading is dropped without holding up the program.
#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <functional>
#include <thread>

#include "IpcClient.h"
#include "IpcServer.h"
#include "RemoteTestSupport.h"

using namespace remotetest;
using platform::ipc::NotificationListener;
using platform::ipc::RequestClient;

namespace {

constexpr int kWaitMs = 10000;
const char* const kTitle = "Corvane Icom 706 Control - test";

struct Note {
    int code;
    int value;
    bool operator==(const Note& o) const { return code == o.code && value == o.value; }
};

// Runs the client part on its own thread while the test's thread serves requests.
class ClientThread {
public:
    explicit ClientThread(std::function<void()> body)
        : thread_([this, body = std::move(body)] {
              body();
              done_ = true;
          })
    {
    }
    ~ClientThread()
    {
        if (thread_.joinable())
            thread_.join();
    }
    bool Done() const { return done_; }
    void Join() { thread_.join(); }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// Reads notifications until `count` arrived or the server went away.
std::vector<Note> Receive(NotificationListener& listener, size_t count)
{
    std::vector<Note> notes;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (notes.size() < count && std::chrono::steady_clock::now() < end) {
        pollfd p{listener.Fd(), POLLIN, 0};
        if (p.fd < 0 || ::poll(&p, 1, 50) < 0)
            break;
        const int n = listener.Dispatch([&](uint64_t, int32_t code, int32_t value) {
            notes.push_back({code, value});
        });
        if (n < 0)
            break;
    }
    return notes;
}

class RemoteIpcTest : public ::testing::Test {
protected:
    RemoteIpcTest()
    {
        std::string error;
        started = r.handler->StartServer(kTitle, folder.path, &error);
        path = r.handler->Server() != nullptr ? r.handler->Server()->SocketPath() : "";
    }
    void Serve(const ClientThread& client)
    {
        EXPECT_TRUE(r.rig.PumpUntil([&] { return client.Done(); }));
    }
    template <typename Pred>
    void ServeUntil(Pred pred)
    {
        EXPECT_TRUE(r.rig.PumpUntil(pred));
    }

    RemoteRig r;
    testing_support::TempDir folder{"corvane-ipc"};
    bool started = false;
    std::string path;
};

}  // namespace

TEST_F(RemoteIpcTest, RequestsFromAnotherThreadReachTheRadio)
{
    ASSERT_TRUE(started);
    std::string title;
    std::vector<std::optional<int32_t>> answers;
    ClientThread client([&] {
        RequestClient c;
        if (!c.Connect(path, kWaitMs))
            return;
        if (auto hello = c.Hello(kWaitMs))
            title = hello->title;
        answers.push_back(c.Request(1, 7050000, kWaitMs));
        answers.push_back(c.Request(0, 0, kWaitMs));
        answers.push_back(c.Request(3, 4, kWaitMs));
        answers.push_back(c.Request(2, 0, kWaitMs));
        answers.push_back(c.Request(52, 0, kWaitMs));
        answers.push_back(c.Request(1, 1, kWaitMs));
    });
    Serve(client);
    client.Join();
    EXPECT_EQ(title, kTitle);
    const std::vector<std::optional<int32_t>> expected = {0, 7050000, 0, 4, -1, -1};
    EXPECT_EQ(answers, expected);
    r.rig.Settle();
    EXPECT_EQ(r.rig.radio->State().frequencyHz, 7050000u);
    EXPECT_EQ(r.rig.radio->State().mode, radio::kCw);

    r.handler->SetTitle("Corvane Icom 706 Control - renamed");
    ClientThread again([&] {
        RequestClient c;
        if (c.Connect(path, kWaitMs))
            if (auto hello = c.Hello(kWaitMs))
                title = hello->title;
    });
    Serve(again);
    again.Join();
    EXPECT_EQ(title, "Corvane Icom 706 Control - renamed");
}

TEST_F(RemoteIpcTest, EveryRegisteredClientGetsEachNotificationOnceInOrder)
{
    ASSERT_TRUE(started);
    EXPECT_EQ(r.handler->NotifyClients(0, 1), -1);  // nobody registered

    NotificationListener a, b;
    std::atomic<bool> registered{false};
    ClientThread setup([&] {
        bool ok = a.Open(path, kWaitMs) && b.Open(path, kWaitMs);
        ok = ok && a.Register(7, kWaitMs) && a.Register(7, kWaitMs) && b.Register(9, kWaitMs);
        registered = ok;
    });
    Serve(setup);
    setup.Join();
    ASSERT_TRUE(registered);
    EXPECT_EQ(r.handler->Server()->RegistrationCount(), 2u);

    std::vector<Note> expected;
    for (int i = 0; i < 200; ++i) {
        expected.push_back({i % 52, i * 1000 - 5});
        EXPECT_EQ(r.handler->NotifyClients(i % 52, i * 1000 - 5), 0);
    }
    // What the controller sends reaches the clients too.
    EXPECT_EQ(r.handler->OnRemoteCommand(1, 7060000), 0);
    expected.push_back({0, 7060000});

    std::vector<Note> gotA, gotB;
    ClientThread reader([&] {
        gotA = Receive(a, expected.size());
        gotB = Receive(b, expected.size());
    });
    Serve(reader);
    reader.Join();
    EXPECT_EQ(gotA, expected);
    EXPECT_EQ(gotB, expected);

    // At shutdown the clients hear code 11, then nothing more is sent.
    r.handler->Shutdown();
    EXPECT_EQ(r.handler->NotifyClients(0, 5), -1);
    ClientThread last([&] { gotA = Receive(a, 1); });
    Serve(last);
    last.Join();
    EXPECT_EQ(gotA, (std::vector<Note>{{11, 0}}));
}

TEST_F(RemoteIpcTest, GoneAndStalledClientsAreDroppedWithoutHoldingUpTheProgram)
{
    ASSERT_TRUE(started);
    NotificationListener reading, stalled, gone;
    std::atomic<bool> registered{false};
    ClientThread setup([&] {
        registered = reading.Open(path, kWaitMs) && reading.Register(1, kWaitMs)
                     && stalled.Open(path, kWaitMs) && stalled.Register(2, kWaitMs)
                     && gone.Open(path, kWaitMs) && gone.Register(3, kWaitMs);
        gone.Close();
    });
    Serve(setup);
    setup.Join();
    ASSERT_TRUE(registered);
    ServeUntil([&] { return r.handler->Server()->RegistrationCount() == 2; });

    // Far more than the stalled client's socket and queue can hold; the reading client keeps up.
    constexpr int kBatches = 40;
    constexpr int kBatch = 2000;
    std::atomic<size_t> received{0};
    std::atomic<bool> inOrder{true};
    std::atomic<bool> stop{false};
    ClientThread reader([&] {
        int next = 0;
        while (!stop && received < static_cast<size_t>(kBatches * kBatch)) {
            pollfd p{reading.Fd(), POLLIN, 0};
            if (p.fd < 0 || ::poll(&p, 1, 20) < 0)
                break;
            if (reading.Dispatch([&](uint64_t, int32_t, int32_t value) {
                    if (value != next++)
                        inOrder = false;
                    ++received;
                })
                < 0)
                break;
        }
    });
    int value = 0;
    for (int batch = 0; batch < kBatches; ++batch) {
        for (int i = 0; i < kBatch; ++i)
            EXPECT_EQ(r.handler->NotifyClients(19, value++), 0);
        ServeUntil([&] { return received >= static_cast<size_t>(value); });
    }
    stop = true;
    reader.Join();
    EXPECT_EQ(received, static_cast<size_t>(kBatches * kBatch));
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(r.handler->Server()->RegistrationCount(), 1u);
}
