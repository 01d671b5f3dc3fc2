// Shared by the extension library's tests: the library loaded with dlopen as other programs load
// it, a private runtime and configuration folder per test process, and a main program to talk to.
//
// MainProgramProcess starts any program that serves the extension protocol: the stand-in
// (StandInArgs), or the real Corvane (CorvaneProgram.h); the control channel (Notify, Requests)
// exists only with the stand-in.
#pragma once

#include "ProgramFolder.h"
#include "RegistryProfile.h"
#include "TempDir.h"
#include "VekExtension.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ext_test {

// clang-format off
#define VEK_EXPORTS(X)                                                                            \
    X(ExtInit) X(ExtGethWnd) X(ExtGetFrequency) X(ExtSetFrequency) X(ExtGetMode) X(ExtSetMode)    \
    X(ExtGetFilter) X(ExtSetFilter) X(ExtGetSplit) X(ExtSetSplit) X(ExtSelectVFOA)                \
    X(ExtSelectVFOB) X(ExtSetVFOAB) X(ExtExit) X(ExtIfPTT) X(ExtIfAudio) X(ExtPTT) X(ExtRecord)   \
    X(ExtPause) X(ExtPlay) X(ExtIfExtensionG) X(ExtGetSignal) X(ExtGetSQL) X(ExtGetAtt)           \
    X(ExtSetAtt) X(ExtGetPre) X(ExtSetPre) X(ExtGetAGC) X(ExtSetAGC) X(ExtGetNB) X(ExtSetNB)      \
    X(ExtGetTone) X(ExtSetTone) X(ExtGetTSQL) X(ExtSetTSQL) X(ExtGetVox) X(ExtSetVox)             \
    X(ExtGetBkIn) X(ExtSetBkIn) X(ExtGetComp) X(ExtSetComp) X(ExtSetDupP) X(ExtSetDupM)           \
    X(ExtGetDup) X(ExtSetDup) X(ExtGetCom) X(ExtGetComPTT) X(ExtOpenCom) X(ExtCloseCom)           \
    X(ExtSetDTR) X(ExtSetRTS) X(ExtGetVersionPrg) X(ExtGetVersionDLL) X(ExtGetSystem)             \
    X(ExtGetLanguage) X(ExtSetHwnd) X(ExtDispatchNotifications)
// clang-format on

// Every export, looked up by name in the built library. Loaded once per process.
struct Library {
#define VEK_MEMBER(name) decltype(&::name) name = nullptr;
    VEK_EXPORTS(VEK_MEMBER)
#undef VEK_MEMBER
    void* handle = nullptr;
    std::vector<std::string> missing;

    static Library& Get()
    {
        static Library library = Load();
        return library;
    }

private:
    static Library Load()
    {
        Library l;
        l.handle = ::dlopen(CORVANE_BIN_DIR "/libVekExtension.so", RTLD_NOW | RTLD_LOCAL);
        if (!l.handle) {
            l.missing.push_back(::dlerror());
            return l;
        }
#define VEK_LOOKUP(name)                                                    \
    l.name = reinterpret_cast<decltype(&::name)>(::dlsym(l.handle, #name)); \
    if (!l.name)                                                            \
        l.missing.push_back(#name);
        VEK_EXPORTS(VEK_LOOKUP)
#undef VEK_LOOKUP
        return l;
    }
};

// Dispatches notifications to `callback` until `enough` holds or the descriptor ends (the program
// dropped the client or ended); the last descriptor, -1 when it ended.
inline int DispatchUntil(Library& l, ExtNotificationCallback callback, void* user,
                         const std::function<bool()>& enough)
{
    int fd = l.ExtDispatchNotifications(callback, user);
    while (fd >= 0 && !enough()) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 30000) <= 0)
            break;  // a guard against hanging, not a timing check
        fd = l.ExtDispatchNotifications(callback, user);
    }
    return fd;
}

// Private runtime and configuration folders for this test process, set before any test runs,
// so that no program of the user or of another test is found, and the registry stand-in is ours.
struct PrivateFolders {
    testing_support::TempDir runtime{"corvane-ext-run"};
    testing_support::TempDir config{"corvane-ext-cfg"};
    PrivateFolders()
    {
        ::setenv("XDG_RUNTIME_DIR", runtime.path.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
    }
};
inline PrivateFolders kPrivateFolders;

// The registry stand-in's Setup key.
inline platform::RegistryProfile SetupRegistry()
{
    platform::RegistryProfile registry;
    registry.SetRootKey("Software\\Dravik\\Corvane");
    return registry;
}
inline void ClearRegistry()
{
    SetupRegistry().DeleteKey("Setup");
}

inline std::string TestBinary(const std::string& name)
{
    return platform::JoinPath(platform::DirName(platform::ExecutablePath()), name);
}

// The processes running the program file `program`.
inline std::vector<pid_t> ProcessesOf(const std::string& program)
{
    std::vector<pid_t> found;
    std::error_code ec;
    const std::filesystem::path wanted = std::filesystem::canonical(program, ec);
    DIR* proc = ::opendir("/proc");
    if (ec || !proc)
        return found;
    while (dirent* e = ::readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atol(e->d_name));
        if (pid <= 0)
            continue;
        const std::string proc = "/proc/" + std::string(e->d_name) + "/exe";
        const auto exe = std::filesystem::read_symlink(proc, ec);
        if (!ec && exe == wanted)
            found.push_back(pid);
    }
    ::closedir(proc);
    return found;
}

// Waits until a process that is not our child has ended (a zombie counts as ended).
inline bool WaitGone(pid_t pid)
{
    for (int i = 0; i < 3000; ++i) {
        const std::string stat = testing_support::GetFile("/proc/" + std::to_string(pid) + "/stat");
        const std::size_t close = stat.rfind(')');
        if (stat.empty() || (close != std::string::npos && stat.compare(close, 3, ") Z") == 0))
            return true;
        ::usleep(10000);
    }
    return false;
}

inline std::vector<std::string> StandInArgs(const std::string& title,
                                            std::vector<std::string> more = {})
{
    std::vector<std::string> argv = {TestBinary("extension_standin"), "--control", "--title",
                                     title};
    argv.insert(argv.end(), more.begin(), more.end());
    return argv;
}

// Lines read from a pipe, which it closes when destroyed. Next() is "" when the writer has gone or
// says nothing for long (a failure guard, not a timing check).
class PipeLines {
public:
    PipeLines() = default;
    explicit PipeLines(int fd) : fd_(fd) {}
    ~PipeLines() { Close(); }
    PipeLines(PipeLines&& other) noexcept
        : fd_(std::exchange(other.fd_, -1)), buffer_(std::move(other.buffer_))
    {
    }
    PipeLines& operator=(PipeLines&& other) noexcept
    {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        buffer_ = std::move(other.buffer_);
        return *this;
    }

    void Close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    std::string Next()
    {
        for (;;) {
            if (const std::size_t end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            if (fd_ < 0)
                return {};
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 30000) <= 0)
                return {};
            char chunk[512];
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n <= 0)
                return {};
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_ = -1;
    std::string buffer_;
};

// A program started with its stdin and stdout on pipes, and its stderr in `errorFile` when one
// is given; ended (and reaped) when destroyed.
class MainProgramProcess {
public:
    explicit MainProgramProcess(const std::vector<std::string>& argv,
                                const std::string& errorFile = {})
    {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            if (!errorFile.empty()) {
                const int err =
                    ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
                if (err < 0 || ::dup2(err, STDERR_FILENO) < 0)
                    ::_exit(126);
            }
            std::vector<char*> args;
            for (const std::string& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        toChild_ = in[1];
        fromChild_ = PipeLines(out[0]);
    }
    ~MainProgramProcess() { Kill(SIGTERM); }
    MainProgramProcess(const MainProgramProcess&) = delete;
    MainProgramProcess& operator=(const MainProgramProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // The stand-in's "ready" line: it serves from now on.
    bool WaitReady() { return NextLine().rfind("ready ", 0) == 0; }

    void Kill(int signal = SIGKILL)
    {
        if (pid_ <= 0)
            return;
        ::close(toChild_);
        fromChild_.Close();
        ::kill(pid_, signal);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    // Waits until the program has ended by itself; its exit status.
    int WaitExit()
    {
        if (pid_ <= 0)
            return -1;
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ::close(toChild_);
        fromChild_.Close();
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Stand-in only: raises a notification; the number of registrations it went to.
    int Notify(int code, int value)
    {
        Say("notify " + std::to_string(code) + " " + std::to_string(value));
        const std::string line = NextLine();
        return line.rfind("notified ", 0) == 0 ? std::atoi(line.c_str() + 9) : -1;
    }
    int Registrations()
    {
        Say("registrations");
        const std::string line = NextLine();
        return line.rfind("registrations ", 0) == 0 ? std::atoi(line.c_str() + 14) : -1;
    }
    // Stand-in only: the next request it saw, as "CODE ARGUMENT".
    std::string NextRequest()
    {
        const std::string line = NextLine();
        return line.rfind("request ", 0) == 0 ? line.substr(8) : "(" + line + ")";
    }

private:
    void Say(const std::string& line)
    {
        const std::string text = line + "\n";
        if (::write(toChild_, text.data(), text.size()) < 0)
            return;
    }
    std::string NextLine() { return fromChild_.Next(); }
    pid_t pid_ = -1;
    int toChild_ = -1;
    PipeLines fromChild_;
};

}  // namespace ext_test
