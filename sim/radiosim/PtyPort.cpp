#include "PtyPort.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace radiosim {

namespace {
constexpr int kSendWaitMs = 200;
}  // namespace

PtyPort::~PtyPort()
{
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
}

bool PtyPort::Open(std::string& error)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) {
        error = std::string("posix_openpt: ") + std::strerror(errno);
        return false;
    }
    char name[256] = {};
    if (grantpt(master_) != 0 || unlockpt(master_) != 0
        || ptsname_r(master_, name, sizeof name) != 0) {
        error = std::string("pseudo-terminal set-up: ") + std::strerror(errno);
        return false;
    }
    path_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        error = "open " + path_ + ": " + std::strerror(errno);
        return false;
    }
    termios tio{};
    if (tcgetattr(slave_, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetispeed(&tio, B19200);
        cfsetospeed(&tio, B19200);
        tcsetattr(slave_, TCSANOW, &tio);
    }
    const int flags = fcntl(master_, F_GETFL);
    fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    return true;
}

void PtyPort::Send(const uint8_t* bytes, size_t length)
{
    size_t done = 0;
    while (done < length) {
        const ssize_t n = write(master_, bytes + done, length - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return;
        pollfd pfd{master_, POLLOUT, 0};
        if (poll(&pfd, 1, kSendWaitMs) <= 0)
            return;  // nobody reads: the rest is lost
    }
}

long PtyPort::Receive(uint8_t* buffer, size_t size)
{
    const ssize_t n = read(master_, buffer, size);
    if (n > 0)
        return static_cast<long>(n);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return 0;
    return -1;
}

}  // namespace radiosim
