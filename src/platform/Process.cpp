#include "Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

// Everything the child needs, prepared before fork: after fork only async-signal-safe calls.
struct Prepared {
    std::string path;
    std::string workingDirectory;
    std::vector<std::string> args;
    std::vector<char*> argv;
    int descriptorLimit = 1024;
    int nullFd = -1;  // above 2 and close-on-exec; the child puts it on 0, 1 and 2
    ~Prepared()
    {
        if (nullFd >= 0)
            ::close(nullFd);
    }
};

// /dev/null on a descriptor above 2, so that dup2 onto 0..2 in the child always makes a copy.
int OpenNullAbove2()
{
    const int fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (fd < 0 || fd > 2)
        return fd;
    const int high = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return high;
}

// What the intermediate or the child tell the caller through the error pipe.
enum RecordKind : std::int32_t { kPid = 1, kForkFailed, kChdirFailed, kExecFailed, kStreamsFailed };
struct Record {
    std::int32_t kind;
    std::int32_t value;
};

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)
           && ::access(path.c_str(), X_OK) == 0;
}

// Resolves argv[0] in the caller, so the child never searches or allocates.
bool ResolveProgram(const std::string& name, std::string& path, int& error)
{
    if (name.find('/') != std::string::npos) {
        if (name[0] == '/') {
            path = name;
            return true;
        }
        char cwd[4096];
        if (!::getcwd(cwd, sizeof cwd)) {
            error = errno;
            return false;
        }
        path = std::string(cwd) + "/" + name;
        return true;
    }
    const char* env = std::getenv("PATH");
    std::string dirs = env && *env ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (IsExecutableFile(candidate)) {
            path = candidate;
            return true;
        }
        start = end + 1;
    }
    error = ENOENT;
    return false;
}

bool Prepare(const std::vector<std::string>& argv, const std::string& workingDirectory, Prepared& p,
             SpawnStep& step, int& error)
{
    step = SpawnStep::Arguments;
    error = EINVAL;
    if (argv.empty() || argv[0].empty())
        return false;
    for (const std::string& a : argv)
        if (a.find('\0') != std::string::npos)
            return false;
    if (workingDirectory.find('\0') != std::string::npos)
        return false;
    if (!ResolveProgram(argv[0], p.path, error)) {
        step = error == ENOENT ? SpawnStep::Exec : SpawnStep::Arguments;
        return false;
    }
    p.workingDirectory = workingDirectory;
    p.args = argv;
    for (std::string& a : p.args)
        p.argv.push_back(a.data());
    p.argv.push_back(nullptr);
    struct rlimit rl {};
    if (::getrlimit(RLIMIT_NOFILE, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY)
        p.descriptorLimit = static_cast<int>(rl.rlim_cur > 1048576 ? 1048576 : rl.rlim_cur);
    step = SpawnStep::None;
    error = 0;
    return true;
}

void WriteRecord(int fd, RecordKind kind, int value)
{
    Record r{kind, value};
    while (::write(fd, &r, sizeof r) < 0 && errno == EINTR) {
    }
}

#ifndef CLOSE_RANGE_CLOEXEC
#define CLOSE_RANGE_CLOEXEC (1U << 2)
#endif

int CloseRange(unsigned first, unsigned last, unsigned flags)
{
#ifdef SYS_close_range
    return static_cast<int>(::syscall(SYS_close_range, first, last, flags));
#else
    (void)first, (void)last, (void)flags;
    errno = ENOSYS;
    return -1;
#endif
}

// Every descriptor above 2 is closed (at exec for keepFd, so an exec failure can still be told).
void CloseInherited(int keepFd, int limit)
{
    if (CloseRange(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
    bool ok = true;
    if (keepFd > 3)
        ok = CloseRange(3, static_cast<unsigned>(keepFd - 1), 0) == 0;
    if (ok && CloseRange(static_cast<unsigned>(keepFd + 1), ~0U, 0) == 0)
        return;
    for (int fd = 3; fd < limit; ++fd)
        if (fd != keepFd)
            ::close(fd);
}

[[noreturn]] void ExecChild(const Prepared& p, int errFd)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // Handlers are reset by exec, ignored signals are not: the program starts with the defaults.
    for (int sig = 1; sig < NSIG; ++sig) {
        struct sigaction old {};
        if (sig == SIGKILL || sig == SIGSTOP || sigaction(sig, nullptr, &old) != 0)
            continue;
        if (old.sa_handler == SIG_IGN) {
            struct sigaction dfl {};
            dfl.sa_handler = SIG_DFL;
            sigaction(sig, &dfl, nullptr);
        }
    }
    if (!p.workingDirectory.empty() && ::chdir(p.workingDirectory.c_str()) != 0) {
        WriteRecord(errFd, kChdirFailed, errno);
        ::_exit(127);
    }
    if (p.nullFd >= 0)
        for (int target = 0; target <= 2; ++target)
            if (::dup2(p.nullFd, target) < 0) {
                WriteRecord(errFd, kStreamsFailed, errno);
                ::_exit(127);
            }
    CloseInherited(errFd, p.descriptorLimit);
    ::execve(p.path.c_str(), p.argv.data(), environ);
    WriteRecord(errFd, kExecFailed, errno);
    ::_exit(127);
}

// Fork without the at-fork handlers, for the single-threaded intermediate process.
pid_t PlainFork()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    return ::_Fork();
#else
    return ::fork();
#endif
}

// Reads the error pipe until every writer has gone (the child exec'ed or exited).
std::vector<Record> ReadRecords(int fd)
{
    std::vector<Record> records;
    Record r{};
    std::size_t have = 0;
    for (;;) {
        ssize_t n = ::read(fd, reinterpret_cast<char*>(&r) + have, sizeof r - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        have += static_cast<std::size_t>(n);
        if (have == sizeof r) {
            records.push_back(r);
            have = 0;
        }
    }
    return records;
}

bool FindFailure(const std::vector<Record>& records, SpawnStep& step, int& error)
{
    for (const Record& r : records) {
        switch (r.kind) {
        case kForkFailed: step = SpawnStep::Fork; break;
        case kChdirFailed: step = SpawnStep::WorkingDirectory; break;
        case kExecFailed: step = SpawnStep::Exec; break;
        case kStreamsFailed: step = SpawnStep::StandardStreams; break;
        default: continue;
        }
        error = r.value;
        return true;
    }
    return false;
}

pid_t WaitPid(pid_t pid, int* status, int options)
{
    pid_t r;
    do {
        r = ::waitpid(pid, status, options);
    } while (r < 0 && errno == EINTR);
    return r;
}

RunResult FromStatus(int status)
{
    RunResult result;
    if (WIFEXITED(status)) {
        result.outcome = RunResult::Outcome::Exited;
        result.exitCode = WEXITSTATUS(status);
    } else {
        result.outcome = RunResult::Outcome::Signalled;
        result.exitCode = WIFSIGNALED(status) ? WTERMSIG(status) : -1;
    }
    return result;
}

// Waits for the child up to timeoutMs; false when it is still running then.
bool WaitWithTimeout(pid_t pid, int timeoutMs, int& status)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto remainingMs = [&] {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        return left < 0 ? 0 : static_cast<int>(left);
    };
#ifdef SYS_pidfd_open
    int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        for (;;) {
            pollfd pfd{pidfd, POLLIN, 0};
            int n = ::poll(&pfd, 1, remainingMs());
            if (n < 0 && errno == EINTR)
                continue;
            if (n > 0 || remainingMs() == 0)
                break;
        }
        ::close(pidfd);
        return WaitPid(pid, &status, WNOHANG) == pid;
    }
#endif
    // No pidfd: look now and then, backing off to 50 ms.
    long sleepMs = 1;
    for (;;) {
        if (WaitPid(pid, &status, WNOHANG) == pid)
            return true;
        int left = remainingMs();
        if (left == 0)
            return false;
        long step = sleepMs < left ? sleepMs : left;
        timespec ts{step / 1000, (step % 1000) * 1000000L};
        ::nanosleep(&ts, nullptr);
        if (sleepMs < 50)
            sleepMs *= 2;
    }
}

// A close-on-exec pipe for the child's report, then fork; on failure nothing stays open.
bool PipeAndFork(int fds[2], pid_t& pid, SpawnStep& failedStep, int& error)
{
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        failedStep = SpawnStep::Pipe;
        error = errno;
        return false;
    }
    pid = ::fork();
    if (pid < 0) {
        failedStep = SpawnStep::Fork;
        error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    return true;
}

}  // namespace

SpawnResult SpawnDetached(const std::vector<std::string>& argv, const std::string& workingDirectory,
                          StandardStreams streams)
{
    SpawnResult result;
    Prepared p;
    if (!Prepare(argv, workingDirectory, p, result.failedStep, result.error))
        return result;
    if (streams == StandardStreams::Null && (p.nullFd = OpenNullAbove2()) < 0) {
        result.failedStep = SpawnStep::StandardStreams;
        result.error = errno;
        return result;
    }

    int fds[2];
    pid_t middle = -1;
    if (!PipeAndFork(fds, middle, result.failedStep, result.error))
        return result;
    if (middle == 0) {
        // The intermediate starts the program and leaves at once: the program is re-parented
        // and never becomes our zombie.
        ::close(fds[0]);
        pid_t child = PlainFork();
        if (child == 0)
            ExecChild(p, fds[1]);
        if (child < 0)
            WriteRecord(fds[1], kForkFailed, errno);
        else
            WriteRecord(fds[1], kPid, static_cast<int>(child));
        ::_exit(0);
    }
    ::close(fds[1]);
    int status = 0;
    WaitPid(middle, &status, 0);
    std::vector<Record> records = ReadRecords(fds[0]);
    ::close(fds[0]);

    if (FindFailure(records, result.failedStep, result.error))
        return result;
    for (const Record& r : records)
        if (r.kind == kPid) {
            result.started = true;
            result.pid = static_cast<pid_t>(r.value);
            return result;
        }
    result.failedStep = SpawnStep::Fork;  // the intermediate died before telling anything
    result.error = ECHILD;
    return result;
}

RunResult SpawnAndWait(const std::vector<std::string>& argv, const std::string& workingDirectory,
                       int timeoutMs)
{
    RunResult result;
    Prepared p;
    if (!Prepare(argv, workingDirectory, p, result.failedStep, result.error))
        return result;

    int fds[2];
    pid_t pid = -1;
    if (!PipeAndFork(fds, pid, result.failedStep, result.error))
        return result;
    if (pid == 0) {
        ::close(fds[0]);
        ExecChild(p, fds[1]);
    }
    ::close(fds[1]);
    std::vector<Record> records = ReadRecords(fds[0]);
    ::close(fds[0]);

    int status = 0;
    if (FindFailure(records, result.failedStep, result.error)) {
        WaitPid(pid, &status, 0);
        return result;
    }
    if (timeoutMs < 0) {
        if (WaitPid(pid, &status, 0) != pid) {
            result.failedStep = SpawnStep::Fork;
            result.error = errno;
            return result;
        }
        return FromStatus(status);
    }
    if (WaitWithTimeout(pid, timeoutMs, status))
        return FromStatus(status);
    ::kill(pid, SIGKILL);
    WaitPid(pid, &status, 0);
    result.outcome = RunResult::Outcome::TimedOut;
    return result;
}

std::string DescribeSpawnFailure(SpawnStep step, int error)
{
    const char* what = "start";
    switch (step) {
    case SpawnStep::None: return {};
    case SpawnStep::Arguments: what = "arguments"; break;
    case SpawnStep::Pipe: what = "pipe"; break;
    case SpawnStep::Fork: what = "fork"; break;
    case SpawnStep::WorkingDirectory: what = "working directory"; break;
    case SpawnStep::Exec: what = "exec"; break;
    case SpawnStep::StandardStreams: what = "standard streams"; break;
    }
    char buffer[256];
    const char* text = ::strerror_r(error, buffer, sizeof buffer);
    return std::string(what) + ": " + text;
}

bool ProcessHasEnded(pid_t pid)
{
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

bool WriterHasEnded(std::string_view pidText, bool ownAreLeftOver)
{
    if (pidText.empty() || pidText.size() > 9
        || pidText.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    pid_t pid = 0;
    for (char c : pidText)
        pid = pid * 10 + (c - '0');
    return (ownAreLeftOver && pid == ::getpid()) || ProcessHasEnded(pid);
}

}  // namespace platform
