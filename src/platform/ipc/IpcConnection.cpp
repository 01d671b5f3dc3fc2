#include "IpcConnection.h"

#include <poll.h>

#include <cerrno>

namespace platform::ipc {
namespace {

// Milliseconds left until the deadline for poll (-1: none).
int Remaining(IpcConnection::Clock::time_point deadline)
{
    if (deadline == IpcConnection::Clock::time_point::max())
        return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - IpcConnection::Clock::now());
    if (left.count() <= 0)
        return 0;
    return left.count() > 1'000'000'000 ? 1'000'000'000 : static_cast<int>(left.count());
}

}  // namespace

IpcConnection::Clock::time_point IpcConnection::Deadline(int timeoutMs)
{
    if (timeoutMs < 0)
        return Clock::time_point::max();
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

bool IpcConnection::Open(const std::string& path, int timeoutMs)
{
    Close();
    fd_ = ConnectTo(path, timeoutMs);
    return fd_.Valid();
}

void IpcConnection::Close()
{
    fd_.Reset();
    reader_.Reset();
}

bool IpcConnection::Send(const Message& message, Clock::time_point deadline)
{
    if (!fd_.Valid())
        return false;
    std::string bytes;
    AppendMessage(bytes, message);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = SendSome(fd_.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0)
            break;
        done += static_cast<std::size_t>(n);
        if (done == bytes.size())
            return true;
        if (n == 0) {
            const int ms = Remaining(deadline);
            if (ms == 0)
                break;
            const int ev = WaitReady(fd_.Get(), POLLOUT, ms);
            if (ev == 0 && Remaining(deadline) == 0)
                break;
            if (ev & (POLLERR | POLLNVAL))
                break;
        }
    }
    Close();
    return false;
}

bool IpcConnection::Pull()
{
    char buf[4096];
    for (;;) {
        const long n = ReceiveSome(fd_.Get(), buf, sizeof buf);
        if (n > 0) {
            reader_.Feed(buf, static_cast<std::size_t>(n));
            if (static_cast<std::size_t>(n) < sizeof buf)
                return true;
            continue;
        }
        if (n < 0 && errno == EAGAIN)
            return true;
        return false;  // end of stream or error
    }
}

IpcConnection::ReadResult IpcConnection::Take(Message& message)
{
    Frame frame;
    switch (reader_.Next(frame)) {
    case FrameReader::Result::NeedMore: return ReadResult::Timeout;
    case FrameReader::Result::Malformed: Close(); return ReadResult::Closed;
    case FrameReader::Result::Frame: break;
    }
    auto decoded = DecodeMessage(frame);
    if (!decoded) {
        Close();
        return ReadResult::Closed;
    }
    message = std::move(*decoded);
    return ReadResult::Message;
}

IpcConnection::ReadResult IpcConnection::ReadNow(Message& message)
{
    if (!fd_.Valid())
        return ReadResult::Closed;
    ReadResult r = Take(message);
    if (r != ReadResult::Timeout)
        return r;
    if (!Pull()) {
        // Frames that arrived before the end are still delivered.
        r = Take(message);
        if (r == ReadResult::Message)
            return r;
        Close();
        return ReadResult::Closed;
    }
    return Take(message);
}

IpcConnection::ReadResult IpcConnection::Read(Message& message, Clock::time_point deadline)
{
    for (;;) {
        const ReadResult r = ReadNow(message);
        if (r != ReadResult::Timeout)
            return r;
        const int ms = Remaining(deadline);
        if (ms == 0)
            return ReadResult::Timeout;
        const int ev = WaitReady(fd_.Get(), POLLIN, ms);
        if (ev == 0 && Remaining(deadline) == 0)
            return ReadResult::Timeout;
    }
}

}  // namespace platform::ipc
