#include "ProgramMark.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "Process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace platform::ipc {
namespace {

std::string MarkName(pid_t pid)
{
    return "run-" + std::to_string(static_cast<long>(pid)) + ".mark";
}

bool ParseMark(const char* name, pid_t& pid)
{
    long value = 0;
    int used = 0;
    if (std::sscanf(name, "run-%ld.mark%n", &value, &used) != 1 || value <= 0)
        return false;
    if (static_cast<size_t>(used) != std::strlen(name) || MarkName(value) != name)
        return false;
    pid = static_cast<pid_t>(value);
    return true;
}

constexpr auto kPollStep = std::chrono::milliseconds(20);

// Polls `done` until it holds or waitMs have passed; a deadline that only ends a hang.
template <class Done>
bool PollUntil(int waitMs, Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPollStep);
    }
}

}  // namespace

ProgramMark::~ProgramMark()
{
    if (fd_ < 0)
        return;
    ::unlink(path_.c_str());
    ::close(fd_);
}

bool ProgramMark::Take(const std::string& folder)
{
    if (fd_ >= 0 || folder.empty())
        return fd_ >= 0;
    // Locked under a name of its own first: a client never sees the mark unlocked.
    const std::string name = MarkName(::getpid());
    const std::string temporary = folder + "/." + name;
    const int fd =
        ::open(temporary.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0
        || ::rename(temporary.c_str(), (folder + "/" + name).c_str()) != 0) {
        ::unlink(temporary.c_str());
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = folder + "/" + name;
    return true;
}

std::vector<pid_t> MarkedPrograms(const std::string& folder)
{
    std::vector<pid_t> found;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        pid_t pid = 0;
        if (!ParseMark(entry->d_name, pid))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_SH | LOCK_NB) == 0)
            ::unlink(path.c_str());  // nobody holds it: its program is gone
        else if (pid != ::getpid())
            found.push_back(pid);
        ::close(fd);
    }
    ::closedir(dir);
    return found;
}

StartTurn::StartTurn(const std::string& folder, int waitMs)
{
    const std::string path = folder + "/start.lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    if (!PollUntil(waitMs, [fd] { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; })) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

StartTurn::~StartTurn()
{
    if (fd_ >= 0)
        ::close(fd_);  // releases the lock
}

bool WaitForMark(const std::string& folder, pid_t pid, int waitMs)
{
    return PollUntil(waitMs, [&] {
        const std::vector<pid_t> marked = MarkedPrograms(folder);
        return std::find(marked.begin(), marked.end(), pid) != marked.end()
               || platform::ProcessHasEnded(pid);
    });
}

}  // namespace platform::ipc
