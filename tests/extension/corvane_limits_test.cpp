// The program's messaging when it is crowded or cannot be used at all: silent clients never lock
// a new one out, a program full of listeners is not started a second time, and an unsafe runtime
// folder is told once by the program and makes the library give up at once, starting nothing.
#include "CorvaneProgram.h"
#include "IpcClient.h"
#include "LocalSocket.h"

#include <sys/stat.h>

using namespace ext_test;
using platform::ipc::NotificationListener;
using platform::ipc::UniqueFd;

namespace {

constexpr int kGuardMs = 20000;  // only against hanging

using ClientBody = std::function<void(Library&, const Client::Link&)>;

// What a fresh client gets from ExtInit and from calls that need the program; `then` runs after.
std::map<std::string, long long> FreshClient(const ClientBody& then = {})
{
    Client client([then](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        out.Say("frequency", l.ExtGetFrequency());
        out.Say("register", l.ExtSetHwnd(5));
        out.Say("dispatch", l.ExtDispatchNotifications(nullptr, nullptr) >= 0 ? 1 : -1);
        if (then)
            then(l, out);
    });
    return AsMap(client.Finish());
}

// Programs of the folder other than `program`, which a failing client started; they are ended.
std::vector<pid_t> OthersStarted(const Corvane& program)
{
    std::vector<pid_t> others;
    for (pid_t pid : ProcessesOf(program.folder / "Corvane"))
        if (pid != program.Pid() && ::kill(pid, SIGKILL) == 0)
            others.push_back(pid);
    return others;
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

struct ScopedRuntimeFolder {
    std::string saved;
    explicit ScopedRuntimeFolder(const std::string& path) : saved(std::getenv("XDG_RUNTIME_DIR"))
    {
        ::setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
    ~ScopedRuntimeFolder() { ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1); }
};

}  // namespace

TEST(CorvaneConnections, SilentClientsLeaveRoomAndAProgramFullOfListenersIsNotStartedAgain)
{
    Corvane program;
    ASSERT_TRUE(program.Started()) << program.Trace();
    // Were the program taken for absent, a client would start this folder's program again.
    ClearRegistry();
    ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "LastPath", program.folder.path + "/"));
    const auto sockets = platform::ipc::ListServerSockets(platform::ipc::RuntimeFolder().path);
    ASSERT_EQ(sockets.size(), 1u);
    const std::string path = sockets[0].path;

    // As many clients as the program serves, connected and never saying a word.
    std::vector<UniqueFd> silent;
    for (int i = 0; i < 64; ++i)
        silent.push_back(platform::ipc::ConnectTo(path, kGuardMs));
    for (const UniqueFd& fd : silent)
        ASSERT_TRUE(fd.Valid());
    std::map<std::string, long long> got = FreshClient();
    EXPECT_EQ(got["init"], 1);
    EXPECT_GT(got["frequency"], 0);
    EXPECT_EQ((std::vector{got["register"], got["dispatch"]}), (std::vector<long long>{0, 1}));

    // Every place held by a registered listener: nothing can make room, and a client neither
    // gets in nor starts a second program.
    std::vector<std::unique_ptr<NotificationListener>> listeners;
    int registered = 0;
    for (std::uint64_t token = 1; token <= 64; ++token) {
        listeners.push_back(std::make_unique<NotificationListener>());
        NotificationListener& l = *listeners.back();
        registered += l.Open(path, kGuardMs) && l.Register(token, kGuardMs) ? 1 : 0;
    }
    EXPECT_EQ(registered, 64);
    got = FreshClient();
    EXPECT_EQ((std::vector{got["init"], got["frequency"], got["register"]}),
              (std::vector<long long>{0, -1, -1}));
    EXPECT_TRUE(OthersStarted(program).empty());

    // One listener leaves: the next client is served.
    listeners.pop_back();
    got = FreshClient();
    EXPECT_EQ(got["init"], 1);
    EXPECT_GT(got["frequency"], 0);
    EXPECT_EQ(program.Terminate(), 0);
    ClearRegistry();
}

TEST(CorvaneRuntimeFolder, AnUnsafeFolderIsToldOnceTheProgramRunsOnAndTheLibraryStartsNothing)
{
    // The messaging folder open to everyone.
    testing_support::TempDir open("corvane-ext-open");
    const std::string messaging = open / "corvane";
    ASSERT_EQ(::mkdir(messaging.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(messaging.c_str(), 0777), 0);
    // And one that is a symbolic link to a private folder.
    testing_support::TempDir linked("corvane-ext-link"), target("corvane-ext-target");
    ASSERT_EQ(::symlink(target.path.c_str(), (linked / "corvane").c_str()), 0);

    ScopedRuntimeFolder runtime(open.path);
    Corvane program(true);
    ASSERT_TRUE(WaitFor([&] { return program.Saw("FE FE 58 E0 15 02 FD"); })) << program.Trace();
    ASSERT_TRUE(WaitFor([&] {
        return program.Stderr().find("Remote control is off") != std::string::npos;
    })) << program.Stderr();
    EXPECT_NE(program.Stderr().find(messaging + ": is open to other users"), std::string::npos)
        << program.Stderr();
    EXPECT_TRUE(platform::ipc::ListServerSockets(messaging).empty());

    ClearRegistry();
    ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "LastPath", program.folder.path + "/"));
    const std::string linkedPath = linked.path;
    std::map<std::string, long long> got =
        FreshClient([linkedPath](Library& l, const Client::Link& out) {
            ::setenv("XDG_RUNTIME_DIR", linkedPath.c_str(), 1);
            out.Say("initLinked", l.ExtInit());
        });
    EXPECT_EQ((std::vector{got["init"], got["frequency"], got["register"], got["dispatch"],
                           got["initLinked"]}),
              (std::vector<long long>{0, -1, -1, -1, 0}));
    EXPECT_TRUE(OthersStarted(program).empty());

    // The program works on with its radio, and said it once.
    const std::size_t polled = Count(program.Trace(), "FE FE 58 E0 15 02 FD");
    EXPECT_TRUE(WaitFor([&] { return Count(program.Trace(), "FE FE 58 E0 15 02 FD") > polled; }));
    EXPECT_EQ(program.Terminate(), 0);
    EXPECT_EQ(Count(program.Stderr(), "Remote control is off"), 1u) << program.Stderr();
    ClearRegistry();
}
