#include "LocalSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::ipc {
namespace {

bool FillAddress(const std::string& path, sockaddr_un& addr)
{
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(addr.sun_path, path.data(), path.size());
    return true;
}

void SetError(std::string* error, const std::string& path, const char* step)
{
    if (error)
        *error = path + ": " + step + ": " + std::strerror(errno);
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

int UniqueFd::Release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset(int fd)
{
    if (fd_ >= 0) {
        const int saved = errno;
        ::close(fd_);
        errno = saved;
    }
    fd_ = fd;
}

UniqueFd ListenAt(const std::string& path, std::string* error)
{
    sockaddr_un addr;
    if (!FillAddress(path, addr)) {
        SetError(error, path, "address");
        return {};
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.Valid()) {
        SetError(error, path, "socket");
        return {};
    }
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        SetError(error, path, "bind");
        return {};
    }
    // The folder is private already; the mode keeps the socket private if it is ever moved.
    if (::chmod(path.c_str(), 0600) != 0 || ::listen(fd.Get(), 16) != 0) {
        SetError(error, path, "listen");
        ::unlink(path.c_str());
        return {};
    }
    return fd;
}

UniqueFd ConnectTo(const std::string& path, int timeoutMs)
{
    sockaddr_un addr;
    if (!FillAddress(path, addr))
        return {};
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid())
        return {};
    // A blocking connect on a Unix socket waits only while the backlog is full, up to the send
    // timeout; that is the connect timeout.
    if (timeoutMs >= 0) {
        timeval tv{};
        tv.tv_sec = timeoutMs / 1000;
        tv.tv_usec = (timeoutMs % 1000) * 1000;
        if (timeoutMs == 0)
            tv.tv_usec = 1000;  // 0 would mean no limit
        ::setsockopt(fd.Get(), SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    }
    int rc;
    do {
        rc = ::connect(fd.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        if (errno == EINPROGRESS)
            errno = ETIMEDOUT;
        return {};
    }
    timeval none{};
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_SNDTIMEO, &none, sizeof none);
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags | O_NONBLOCK) != 0)
        return {};
    return fd;
}

long PeerUid(int fd)
{
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred)
        return -1;
    return static_cast<long>(cred.uid);
}

UniqueFd AcceptFrom(int listenFd, uid_t allowedUid)
{
    for (;;) {
        UniqueFd fd(::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!fd.Valid()) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return {};
        }
        if (PeerUid(fd.Get()) == static_cast<long>(allowedUid))
            return fd;
    }
}

long SendSome(int fd, const char* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return -1;
    }
}

long ReceiveSome(int fd, char* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::recv(fd, data, size, MSG_DONTWAIT);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK)
            errno = EAGAIN;
        return -1;
    }
}

int WaitReady(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int rc = ::poll(&p, 1, timeoutMs);
        if (rc > 0)
            return p.revents;
        if (rc == 0)
            return 0;
        if (errno != EINTR)
            return POLLERR;
    }
}

}  // namespace platform::ipc
