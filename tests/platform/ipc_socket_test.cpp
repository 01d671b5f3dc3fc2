#include "Discovery.h"
#include "LocalSocket.h"
#include "RuntimeFolder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace platform::ipc;
using testing_support::TempDir;

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

bool CloseOnExec(int fd)
{
    return (::fcntl(fd, F_GETFD) & FD_CLOEXEC) != 0;
}

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A socket file that nobody listens on any more.
void MakeStaleSocket(const std::string& path)
{
    UniqueFd fd = ListenAt(path);
    ASSERT_TRUE(fd.Valid());
}

pid_t DeadPid()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

}  // namespace

TEST(IpcFolder, CreatesAPrivateFolderAndRefusesOpenOrForeignOnes)
{
    TempDir tmp;
    const std::string fresh = tmp / "fresh";
    FolderResult r = PreparePrivateFolder(fresh);
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(ModeOf(fresh), 0700u);
    EXPECT_TRUE(PreparePrivateFolder(fresh)) << "an existing private folder is used again";

    for (mode_t mode : {0755, 0701, 0770, 0707}) {
        const std::string open = tmp / ("open" + std::to_string(mode));
        ASSERT_EQ(::mkdir(open.c_str(), 0700), 0);
        ASSERT_EQ(::chmod(open.c_str(), mode), 0);
        r = PreparePrivateFolder(open);
        EXPECT_FALSE(r) << mode;
        EXPECT_NE(r.error.find("open to other users"), std::string::npos);
        EXPECT_EQ(ModeOf(open), mode) << "refused, not silently changed";
    }

    const std::string link = tmp / "link";
    ASSERT_EQ(::symlink(fresh.c_str(), link.c_str()), 0);
    EXPECT_FALSE(PreparePrivateFolder(link));

    const std::string file = tmp / "file";
    testing_support::PutFile(file, "x");
    EXPECT_FALSE(PreparePrivateFolder(file));
    EXPECT_FALSE(PreparePrivateFolder(tmp / "missing/below"));
}

TEST(IpcFolder, RefusesAFolderOwnedBySomeoneElse)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a folder away";
    TempDir tmp;
    const std::string foreign = tmp / "foreign";
    ASSERT_EQ(::mkdir(foreign.c_str(), 0700), 0);
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    const FolderResult r = PreparePrivateFolder(foreign);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("another user"), std::string::npos);
}

TEST(IpcFolder, RuntimeFolderUsesXdgOrFallsBackToTheTemporaryFolder)
{
    TempDir xdg, tmp;
    {
        ScopedEnv env("XDG_RUNTIME_DIR", xdg.path.c_str());
        const FolderResult r = RuntimeFolder();
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(r.path, xdg / "corvane");
        EXPECT_EQ(ModeOf(r.path), 0700u);
    }
    const std::string fallback = tmp / ("corvane-" + std::to_string(::geteuid()));
    ScopedEnv tmpdir("TMPDIR", tmp.path.c_str());
    for (const char* bad :
         {static_cast<const char*>(nullptr), "", "relative/dir", "/no/such/folder"}) {
        ScopedEnv env("XDG_RUNTIME_DIR", bad);
        const FolderResult r = RuntimeFolder();
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(r.path, fallback);
    }
    EXPECT_EQ(ModeOf(fallback), 0700u);
    ASSERT_EQ(::chmod(fallback.c_str(), 0777), 0);  // someone opened it up: not used
    ScopedEnv env("XDG_RUNTIME_DIR", nullptr);
    EXPECT_FALSE(RuntimeFolder());
}

TEST(IpcSocket, SocketsArePrivateCloseOnExecAndNeverReplaced)
{
    TempDir tmp;
    const std::string path = tmp / "s.sock";
    std::string error;
    UniqueFd listener = ListenAt(path, &error);
    ASSERT_TRUE(listener.Valid()) << error;
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_TRUE(CloseOnExec(listener.Get()));

    UniqueFd second = ListenAt(path, &error);
    EXPECT_FALSE(second.Valid());
    EXPECT_TRUE(::access(path.c_str(), F_OK) == 0) << "the first server's socket stays";

    UniqueFd client = ConnectTo(path, 1000);
    ASSERT_TRUE(client.Valid());
    EXPECT_TRUE(CloseOnExec(client.Get()));
    EXPECT_TRUE(::fcntl(client.Get(), F_GETFL) & O_NONBLOCK);
    UniqueFd accepted = AcceptFrom(listener.Get(), ::geteuid());
    ASSERT_TRUE(accepted.Valid());
    EXPECT_TRUE(CloseOnExec(accepted.Get()));
    EXPECT_EQ(PeerUid(accepted.Get()), static_cast<long>(::geteuid()));
    EXPECT_FALSE(AcceptFrom(listener.Get(), ::geteuid()).Valid())
        << "nothing more pending, no blocking";

    EXPECT_FALSE(ConnectTo(tmp / "none.sock", 1000).Valid());
    EXPECT_FALSE(ConnectTo(std::string(200, 'x'), 1000).Valid()) << "too long for a socket address";
}

TEST(IpcSocket, ConnectGivesUpWhenTheServerTakesNoOneIn)
{
    TempDir tmp;
    const std::string path = tmp / "s.sock";
    UniqueFd listener = ListenAt(path);
    ASSERT_TRUE(listener.Valid());
    std::vector<UniqueFd> waiting;
    bool refused = false;
    for (int i = 0; i < 200 && !refused; ++i) {  // never accepted: the backlog fills up
        UniqueFd fd = ConnectTo(path, 20);
        if (fd.Valid())
            waiting.push_back(std::move(fd));
        else
            refused = errno == EAGAIN;
    }
    EXPECT_TRUE(refused);
    EXPECT_FALSE(waiting.empty());
}

TEST(IpcSocket, WritingToAGonePeerFailsWithoutSigpipe)
{
    int sv[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv), 0);
    UniqueFd mine(sv[0]);
    ::close(sv[1]);
    // With the default SIGPIPE action the test process would die here.
    EXPECT_EQ(SendSome(mine.Get(), "abc", 3), -1);
    char buf[4];
    EXPECT_EQ(ReceiveSome(mine.Get(), buf, sizeof buf), 0);
}

TEST(IpcSocket, PeersOfAnotherUserAreRefused)
{
    TempDir tmp;
    const std::string path = tmp / "s.sock";
    UniqueFd listener = ListenAt(path);
    ASSERT_TRUE(listener.Valid());

    // Our own peer, checked against a user id that is not ours: refused and closed.
    UniqueFd client = ConnectTo(path, 1000);
    ASSERT_TRUE(client.Valid());
    EXPECT_FALSE(AcceptFrom(listener.Get(), ::geteuid() + 1).Valid());
    ASSERT_NE(WaitReady(client.Get(), POLLIN, 5000), 0);
    char c;
    EXPECT_EQ(ReceiveSome(client.Get(), &c, 1), 0) << "the refused client sees the end";

    if (::geteuid() != 0)
        return;
    // A real process of another user, let in past the file modes on purpose.
    ASSERT_EQ(::chmod(tmp.path.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        UniqueFd fd = ConnectTo(path, 5000);
        if (!fd.Valid())
            ::_exit(3);
        WaitReady(fd.Get(), POLLIN, 10000);
        char b;
        ::_exit(ReceiveSome(fd.Get(), &b, 1) == 0 ? 0 : 4);
    }
    ASSERT_NE(WaitReady(listener.Get(), POLLIN, 10000), 0);
    EXPECT_FALSE(AcceptFrom(listener.Get(), ::geteuid()).Valid());
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(IpcDiscovery, ListsServerSocketsInStartOrderAndIgnoresOtherFiles)
{
    TempDir tmp;
    const ServerSocket a = NewServerSocket(tmp.path);
    const ServerSocket b = NewServerSocket(tmp.path);
    EXPECT_NE(a.path, b.path);
    UniqueFd lb = ListenAt(b.path);  // created in the other order
    UniqueFd la = ListenAt(a.path);
    ASSERT_TRUE(la.Valid() && lb.Valid());
    testing_support::PutFile(tmp / "srv-0000000000000001-1-0.sock", "not a socket");
    testing_support::PutFile(tmp / "notes.txt", "");
    UniqueFd odd = ListenAt(tmp / "srv-1-2-3.sock");  // not our spelling
    UniqueFd odd2 = ListenAt(tmp / "srv-00000000000000ff-+5-0.sock");
    const auto list = ListServerSockets(tmp.path);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].path, a.path);
    EXPECT_EQ(list[1].path, b.path);
    EXPECT_EQ(list[0].pid, ::getpid());
    EXPECT_TRUE(ListServerSockets(tmp / "missing").empty());
}

TEST(IpcDiscovery, StaleSocketsAreSkippedAndRemovedOnlyWhenTheirProcessIsGone)
{
    TempDir tmp;
    const ServerSocket mine = NewServerSocket(tmp.path);
    MakeStaleSocket(mine.path);
    char dead[128];
    std::snprintf(dead, sizeof dead, "%s/srv-0000000000000010-%d-0.sock", tmp.path.c_str(),
                  static_cast<int>(DeadPid()));
    MakeStaleSocket(dead);
    ASSERT_EQ(ListServerSockets(tmp.path).size(), 2u);

    EXPECT_FALSE(FindServer(tmp.path, "Corvane", 1000));
    EXPECT_NE(::access(dead, F_OK), 0) << "a dead process's socket is cleaned up";
    EXPECT_EQ(::access(mine.path.c_str(), F_OK), 0) << "a living process may still start listening";
}

TEST(IpcDiscovery, TitlePrefixIsCaseInsensitiveAndMustBeWhole)
{
    const std::string prefix = "Corvane Icom 706 Control";
    EXPECT_TRUE(TitleMatches("Corvane Icom 706 Control - 1.0  -  RTX: IC706", prefix));
    EXPECT_TRUE(TitleMatches("corvane icom 706 control and more", prefix));
    EXPECT_TRUE(TitleMatches("CORVANE ICOM 706 CONTROL", prefix));
    EXPECT_FALSE(TitleMatches("Corvane Icom 706 Contro", prefix));
    EXPECT_FALSE(TitleMatches(" Corvane Icom 706 Control", prefix));
    EXPECT_FALSE(TitleMatches("", prefix));
}
