#include "SerialLine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace cat {

namespace {

struct BaudEntry {
    int rate;
    speed_t code;
};

constexpr BaudEntry kBaudRates[] = {
    {50, B50},         {75, B75},         {110, B110},         {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},         {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},       {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},   {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000},
};

bool BaudCode(int rate, speed_t& code)
{
    for (const BaudEntry& e : kBaudRates)
        if (e.rate == rate) {
            code = e.code;
            return true;
        }
    return false;
}

int BaudRate(speed_t code)
{
    for (const BaudEntry& e : kBaudRates)
        if (e.code == code)
            return e.rate;
    return 0;
}

// Modem-control ioctls on a device that has none (a pseudo-terminal).
bool NoModemControl(int error)
{
    return error == ENOTTY || error == EINVAL || error == ENOTSUP;
}

// tcsetattr that tolerates a device ignoring part of the request: a pseudo-terminal keeps no
// parity, and the C library then reports EINVAL when nothing changed. What `took` checks on the
// settings read back decides.
template <class Took>
bool SetAttributes(int fd, const termios& tio, Took took)
{
    if (::tcsetattr(fd, TCSANOW, &tio) == 0)
        return true;
    const int err = errno;
    termios now{};
    if (err == EINVAL && ::tcgetattr(fd, &now) == 0 && took(now))
        return true;
    errno = err;
    return false;
}

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

constexpr int kSliceMs = 50;  // longest wait before a closing line is noticed

}  // namespace

CSerialLine::CSerialLine() = default;

CSerialLine::~CSerialLine()
{
    CSerialLine::Close();
}

int CSerialLine::Succeed()
{
    lastError_.store(0);
    return 0;
}

int CSerialLine::Fail(int error, const std::string& text)
{
    lastError_.store(error);
    std::lock_guard<std::mutex> lock(textMutex_);
    lastErrorText_ = text;
    return error;
}

std::string CSerialLine::GetLastErrorText() const
{
    if (lastError_.load() == 0)
        return {};
    std::lock_guard<std::mutex> lock(textMutex_);
    return lastErrorText_;
}

bool CSerialLine::IsOpen() const
{
    std::shared_lock<std::shared_mutex> lock(lifeMutex_);
    return fd_ >= 0;
}

int CSerialLine::Open(const std::string& device)
{
    std::unique_lock<std::shared_mutex> lock(lifeMutex_);
    if (fd_ >= 0)
        return Fail(EALREADY, "the port is open already");
    if (device.empty())
        return Fail(ENOENT, "no device for this port");
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        return Fail(err, "cannot open " + device + ": " + std::strerror(err));
    }
    auto refuse = [&](int err, const std::string& text) {
        ::close(fd);
        return Fail(err, text);
    };
    if (!::isatty(fd))
        return refuse(ENOTTY, device + " is not a serial device");
    // Two programs on one port would steal each other's bytes.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EWOULDBLOCK)
            return refuse(EBUSY, device + " is in use by another program");
        return refuse(err, "cannot lock " + device + ": " + std::strerror(err));
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        const int err = errno;
        return refuse(err, "cannot read the settings of " + device + ": " + std::strerror(err));
    }
    ::cfmakeraw(&tio);
    // HUPCL: the lines drop when the port closes, so a PTT line never stays keyed after us.
    tio.c_cflag |= CLOCAL | CREAD | HUPCL;
    // With VMIN 1 an empty non-blocking read gives EAGAIN, so a read of 0 bytes means hang-up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (!SetAttributes(fd, tio, [](const termios& now) { return (now.c_lflag & ICANON) == 0; })) {
        const int err = errno;
        return refuse(err, "cannot set raw mode on " + device + ": " + std::strerror(err));
    }
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        const int err = errno;
        return refuse(err, std::string("eventfd: ") + std::strerror(err));
    }
    ::ioctl(fd, TIOCEXCL);  // keeps other openers out (privileged ones excepted)
    fd_ = fd;
    wakeFd_ = wake;
    device_ = device;
    baud_ = BaudRate(::cfgetospeed(&tio));
    dataBits_ = 8;
    parity_ = 'N';
    stopBits_ = 1;
    handshake_ = (tio.c_cflag & CRTSCTS) != 0 ? kHandshakeHardware : kHandshakeOff;
    rts_.store(-1);
    dtr_.store(-1);
    modemControl_.store(true);
    return Succeed();
}

int CSerialLine::Close()
{
    closing_.store(true);
    Wake();
    std::unique_lock<std::shared_mutex> lock(lifeMutex_);
    closing_.store(false);
    if (fd_ < 0)
        return Fail(EBADF, "the port is not open");
    ::ioctl(fd_, TIOCNXCL);  // the flag outlives us while another holder keeps the device open
    ::close(fd_);
    ::close(wakeFd_);
    fd_ = -1;
    wakeFd_ = -1;
    return Succeed();
}

int CSerialLine::Setup(int baud, int dataBits, char parity, int stopBits)
{
    speed_t code = 0;
    if (!BaudCode(baud, code))
        return Fail(EINVAL, "unsupported baud rate " + std::to_string(baud));
    tcflag_t size = 0;
    switch (dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return Fail(EINVAL, "unsupported data bits " + std::to_string(dataBits));
    }
    if (stopBits != 1 && stopBits != 2)
        return Fail(EINVAL, "unsupported stop bits " + std::to_string(stopBits));
    const char p = static_cast<char>(parity >= 'a' && parity <= 'z' ? parity - 32 : parity);
    tcflag_t parityFlags = 0;
    switch (p) {
    case 'N': break;
    case 'E': parityFlags = PARENB; break;
    case 'O': parityFlags = PARENB | PARODD; break;
    case 'M': parityFlags = PARENB | PARODD | CMSPAR; break;
    case 'S': parityFlags = PARENB | CMSPAR; break;
    default:
        return Fail(EINVAL, std::string("unsupported parity '")
                                + (p >= 0x20 && p < 0x7F ? std::string(1, p) : std::string("?"))
                                + "'");
    }

    std::shared_lock<std::shared_mutex> life(lifeMutex_);
    if (fd_ < 0)
        return Fail(EBADF, "the port is not open");
    std::lock_guard<std::mutex> lock(configMutex_);
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return Fail(errno, std::string("tcgetattr: ") + std::strerror(errno));
    tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR);
    tio.c_cflag |= size | parityFlags | (stopBits == 2 ? CSTOPB : 0);
    // With parity, bytes that fail the check are read as 0 rather than passed on unchecked.
    tio.c_iflag &= ~(INPCK | IGNPAR | PARMRK);
    if (parityFlags != 0)
        tio.c_iflag |= INPCK;
    ::cfsetispeed(&tio, code);
    ::cfsetospeed(&tio, code);
    const bool applied = SetAttributes(fd_, tio, [&](const termios& now) {
        return ::cfgetospeed(&now) == code && (now.c_cflag & CSIZE) == size;
    });
    if (!applied)
        return Fail(errno, "cannot apply the line settings: " + std::string(std::strerror(errno)));
    baud_ = baud;
    dataBits_ = dataBits;
    parity_ = p;
    stopBits_ = stopBits;
    return Succeed();
}

int CSerialLine::SetupHandshaking(int kind)
{
    if (kind != kHandshakeOff && kind != kHandshakeHardware && kind != kHandshakeSoftware)
        return Fail(EINVAL, "unknown handshake " + std::to_string(kind));
    {
        std::shared_lock<std::shared_mutex> life(lifeMutex_);
        if (fd_ < 0)
            return Fail(EBADF, "the port is not open");
        std::lock_guard<std::mutex> lock(configMutex_);
        termios tio{};
        if (::tcgetattr(fd_, &tio) != 0)
            return Fail(errno, std::string("tcgetattr: ") + std::strerror(errno));
        tio.c_cflag &= ~CRTSCTS;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        if (kind == kHandshakeHardware)
            tio.c_cflag |= CRTSCTS;
        else if (kind == kHandshakeSoftware)
            tio.c_iflag |= IXON | IXOFF;
        const bool applied = SetAttributes(fd_, tio, [&](const termios& now) {
            return (now.c_cflag & CRTSCTS) == (tio.c_cflag & CRTSCTS)
                   && (now.c_iflag & (IXON | IXOFF)) == (tio.c_iflag & (IXON | IXOFF));
        });
        if (!applied)
            return Fail(errno, "cannot set the handshake: " + std::string(std::strerror(errno)));
        handshake_ = kind;
    }
    // Leaving hardware mode hands RTS back to us: put it where it was configured.
    if (kind != kHandshakeHardware && rts_.load() >= 0)
        return SetRtsControl(rts_.load());
    return Succeed();
}

int CSerialLine::SetDtrControl(int value)
{
    return ApplyLine(TIOCM_DTR, value, dtr_);
}

int CSerialLine::SetRtsControl(int value)
{
    return ApplyLine(TIOCM_RTS, value, rts_);
}

int CSerialLine::ApplyLine(int bit, int value, std::atomic<int>& state)
{
    const char* name = bit == TIOCM_RTS ? "RTS" : "DTR";
    if (value != 0 && value != 1)
        return Fail(EINVAL, std::string("unsupported ") + name + " value " + std::to_string(value));
    std::shared_lock<std::shared_mutex> life(lifeMutex_);
    if (fd_ < 0)
        return Fail(EBADF, "the port is not open");
    if (::ioctl(fd_, value != 0 ? TIOCMBIS : TIOCMBIC, &bit) != 0) {
        const int err = errno;
        if (!NoModemControl(err))
            return Fail(err, std::string("cannot set ") + name + ": " + std::strerror(err));
        modemControl_.store(false);
    }
    state.store(value);
    return Succeed();
}

int CSerialLine::GetModemLines(int* bits)
{
    std::shared_lock<std::shared_mutex> life(lifeMutex_);
    if (fd_ < 0)
        return Fail(EBADF, "the port is not open");
    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) != 0) {
        const int err = errno;
        if (NoModemControl(err)) {
            modemControl_.store(false);
            return Fail(ENOTTY, DevicePath() + " has no modem-control lines");
        }
        return Fail(err, std::string("TIOCMGET: ") + std::strerror(err));
    }
    if (bits != nullptr)
        *bits = lines;
    return Succeed();
}

int CSerialLine::LineTimeMs(size_t length) const
{
    const int baud = std::max(baud_.load(), 50);
    const long long ms =
        static_cast<long long>(length) * 11 * 1000 / baud;  // 11 bits a byte at most
    return static_cast<int>(std::min<long long>(ms, 60000)) + 1000;
}

int CSerialLine::Purge(int queueSelector)
{
    std::shared_lock<std::shared_mutex> life(lifeMutex_);
    if (fd_ < 0)
        return Fail(EBADF, "the port is not open");
    if (::tcflush(fd_, queueSelector) != 0)
        return Fail(errno, std::string("tcflush: ") + std::strerror(errno));
    return Succeed();
}

// Polls the line (and the wake descriptor) in short slices, so a closing line is noticed.
// Called with the shared lock held. Returns 0, ETIMEDOUT or ECANCELED (closing).
int CSerialLine::WaitFor(short what, int timeoutMs, short* got)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        if (closing_.load())
            return ECANCELED;
        const int slice = timeoutMs < 0 ? kSliceMs : std::min(kSliceMs, RemainingMs(end));
        pollfd pfd{fd_, what, 0};
        const int n = ::poll(&pfd, 1, slice);
        if (n < 0 && errno != EINTR)
            return errno;
        if (n > 0) {
            *got = pfd.revents;
            return 0;
        }
        if (timeoutMs >= 0 && RemainingMs(end) == 0)
            return ETIMEDOUT;
    }
}

int CSerialLine::Write(const uint8_t* bytes, size_t length, size_t* written, int timeoutMs)
{
    if (written != nullptr)
        *written = 0;
    std::shared_lock<std::shared_mutex> life(lifeMutex_);
    if (fd_ < 0)
        return Fail(EBADF, "the port is not open");
    if (bytes == nullptr && length > 0)
        return Fail(EINVAL, "no bytes to write");
    const int limit = timeoutMs < 0 ? LineTimeMs(length) : timeoutMs;
    const auto end = Clock::now() + std::chrono::milliseconds(limit);
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd_, bytes + done, length - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            if (written != nullptr)
                *written = done;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            const int err = errno;
            return Fail(err, "write to " + device_ + ": " + std::strerror(err));
        }
        short got = 0;
        const int err = WaitFor(POLLOUT, RemainingMs(end), &got);
        if (err == ETIMEDOUT)
            return Fail(ETIMEDOUT, "write to " + device_ + " timed out");
        if (err != 0)
            return Fail(err, "write to " + device_ + ": " + std::strerror(err));
        if ((got & (POLLERR | POLLHUP | POLLNVAL)) != 0 && (got & POLLOUT) == 0)
            return Fail(EIO, "write to " + device_ + ": the device is gone");
    }
    return Succeed();
}

int CSerialLine::Read(uint8_t* buffer, size_t size, size_t* read, int timeoutMs)
{
    if (read != nullptr)
        *read = 0;
    std::shared_lock<std::shared_mutex> life(lifeMutex_);
    if (fd_ < 0)
        return Fail(EBADF, "the port is not open");
    if (buffer == nullptr || size == 0)
        return Fail(EINVAL, "no room to read into");
    if (timeoutMs != 0) {
        short got = 0;
        const int err = WaitFor(POLLIN, timeoutMs, &got);
        if (err == ETIMEDOUT)
            return Succeed();
        if (err != 0)
            return Fail(err, "read from " + device_ + ": " + std::strerror(err));
    }
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n > 0) {
            if (read != nullptr)
                *read = static_cast<size_t>(n);
            return Succeed();
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return Succeed();
        // End of file on a terminal: it was hung up.
        const int err = n == 0 ? EIO : errno;
        return Fail(err, "read from " + device_ + ": " + std::strerror(err));
    }
}

int CSerialLine::WaitEvent(int timeoutMs, unsigned* events)
{
    if (events != nullptr)
        *events = 0;
    std::shared_lock<std::shared_mutex> life(lifeMutex_);
    if (fd_ < 0)
        return Fail(EBADF, "the port is not open");
    if (closing_.load()) {
        if (events != nullptr)
            *events = kEventWake;
        return Succeed();
    }
    pollfd pfds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    int n;
    do {
        n = ::poll(pfds, 2, timeoutMs < 0 ? -1 : timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return Fail(errno, std::string("poll: ") + std::strerror(errno));
    unsigned got = 0;
    if ((pfds[1].revents & POLLIN) != 0) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t r = ::read(wakeFd_, &count, sizeof count);
        got |= kEventWake;
    }
    if ((pfds[0].revents & POLLIN) != 0)
        got |= kEventRxChar;
    if ((pfds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
        got |= kEventHangup;
    if (closing_.load())
        got |= kEventWake;
    if (events != nullptr)
        *events = got;
    return Succeed();
}

void CSerialLine::Wake()
{
    // The descriptor is only closed under the exclusive lock, which Close takes after this.
    std::shared_lock<std::shared_mutex> life(lifeMutex_, std::try_to_lock);
    if (!life.owns_lock())
        return;
    const int fd = wakeFd_;
    if (fd < 0)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t r = ::write(fd, &one, sizeof one);
}

}  // namespace cat
