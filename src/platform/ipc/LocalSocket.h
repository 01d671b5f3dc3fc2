// Unix-domain stream sockets for the program's cross-process messaging. Every descriptor is
// close-on-exec; writes never raise SIGPIPE; only peers running as our own user are accepted.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace platform::ipc {

// Owns one descriptor.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    void Reset(int fd = -1);

private:
    int fd_ = -1;
};

// A non-blocking listening socket at `path` with mode 0600. A file already there is not
// replaced (false, errno EADDRINUSE).
UniqueFd ListenAt(const std::string& path, std::string* error = nullptr);

// Connects to `path`, waiting at most timeoutMs (< 0: no limit) while the server's backlog is
// full. The descriptor returned is non-blocking. Invalid with errno set on failure
// (ECONNREFUSED: nobody listens there).
UniqueFd ConnectTo(const std::string& path, int timeoutMs);

// The user id of the process at the other end, or -1 when it cannot be told.
long PeerUid(int fd);

// Accepts one pending connection (non-blocking, close-on-exec). A peer whose user id is not
// `allowedUid` is closed at once and skipped. Invalid when nothing more is pending.
UniqueFd AcceptFrom(int listenFd, uid_t allowedUid);

// Non-blocking send without SIGPIPE: bytes written, 0 when the socket is full, -1 on error.
long SendSome(int fd, const char* data, std::size_t size);

// Non-blocking receive: bytes read, 0 at end of stream, -1 with errno EAGAIN when nothing is
// waiting, -1 with another errno on error.
long ReceiveSome(int fd, char* data, std::size_t size);

// Waits until fd is ready for `events` (poll flags) or timeoutMs passes (< 0: no limit).
// Returns the poll revents, 0 on timeout.
int WaitReady(int fd, short events, int timeoutMs);

}  // namespace platform::ipc
