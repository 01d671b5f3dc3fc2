#include "Discovery.h"

#include "AsciiCase.h"
#include "IpcClient.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <tuple>

namespace platform::ipc {
namespace {

std::atomic<std::uint32_t> g_serial{0};

std::uint64_t MonotonicNanos()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::uint64_t(ts.tv_sec) * 1'000'000'000u + std::uint64_t(ts.tv_nsec);
}

// "srv-<16 hex digits>-<pid>-<serial>.sock"; a fixed-width stamp keeps names sortable by eye.
std::string SocketName(std::uint64_t started, pid_t pid, std::uint32_t serial)
{
    char name[80];
    std::snprintf(name, sizeof name, "srv-%016" PRIx64 "-%ld-%" PRIu32 ".sock", started,
                  static_cast<long>(pid), serial);
    return name;
}

bool ParseName(const std::string& name, ServerSocket& out)
{
    unsigned long long started = 0;
    long pid = 0;
    unsigned long serial = 0;
    int used = 0;
    if (std::sscanf(name.c_str(), "srv-%16llx-%ld-%lu.sock%n", &started, &pid, &serial, &used) != 3)
        return false;
    if (used != static_cast<int>(name.size()) || pid <= 0 || serial > 0xFFFFFFFFul)
        return false;
    // Only the exact spelling we write, so one socket cannot appear under two names.
    if (SocketName(started, static_cast<pid_t>(pid), static_cast<std::uint32_t>(serial)) != name)
        return false;
    out.started = started;
    out.pid = static_cast<pid_t>(pid);
    out.serial = static_cast<std::uint32_t>(serial);
    return true;
}

bool ProcessGone(pid_t pid)
{
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

ServerSocket NewServerSocket(const std::string& folder)
{
    ServerSocket s;
    s.started = MonotonicNanos();
    s.pid = ::getpid();
    s.serial = g_serial.fetch_add(1);
    s.path = folder + "/" + SocketName(s.started, s.pid, s.serial);
    return s;
}

std::vector<ServerSocket> ListServerSockets(const std::string& folder)
{
    std::vector<ServerSocket> out;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return out;
    while (dirent* e = ::readdir(dir)) {
        ServerSocket s;
        if (!ParseName(e->d_name, s))
            continue;
        s.path = folder + "/" + e->d_name;
        struct stat st {};
        if (::lstat(s.path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode))
            continue;
        out.push_back(std::move(s));
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end(), [](const ServerSocket& a, const ServerSocket& b) {
        return std::tie(a.started, a.pid, a.serial) < std::tie(b.started, b.pid, b.serial);
    });
    return out;
}

bool TitleMatches(const std::string& title, const std::string& prefix)
{
    return platform::AsciiIStartsWith(title, prefix);
}

ServerSearch SearchServers(const std::string& folder, const std::string& titlePrefix, int timeoutMs)
{
    ServerSearch search;
    for (const ServerSocket& s : ListServerSockets(folder)) {
        RequestClient client;
        if (!client.Connect(s.path, timeoutMs)) {
            // A full backlog is a live server that is not accepting; refused means nobody listens.
            if (errno == EAGAIN || errno == ETIMEDOUT)
                ++search.silent;
            else if (errno == ECONNREFUSED && ProcessGone(s.pid))
                ::unlink(s.path.c_str());
            continue;
        }
        const auto hello = client.Hello(timeoutMs);
        if (!hello)
            ++search.silent;
        else if (TitleMatches(hello->title, titlePrefix))
            search.found = FoundServer{s.path, hello->title, hello->pid};
    }
    return search;
}

std::optional<FoundServer> FindServer(const std::string& folder, const std::string& titlePrefix,
                                      int timeoutMs)
{
    return SearchServers(folder, titlePrefix, timeoutMs).found;
}

}  // namespace platform::ipc
