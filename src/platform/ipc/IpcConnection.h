// One framed connection to a server, on the client side, with deadlines. Not thread-safe: the
// clients in IpcClient.h lock around it.
#pragma once

#include "IpcFrame.h"
#include "IpcMessages.h"
#include "LocalSocket.h"

#include <chrono>
#include <string>

namespace platform::ipc {

class IpcConnection {
public:
    using Clock = std::chrono::steady_clock;
    enum class ReadResult { Message, Timeout, Closed };

    // timeoutMs < 0: no limit. Returns false with errno set.
    bool Open(const std::string& path, int timeoutMs);
    void Close();
    bool IsOpen() const { return fd_.Valid(); }
    int Fd() const { return fd_.Get(); }

    // The whole frame is written, or the connection is closed (a half-written frame would
    // corrupt the stream).
    bool Send(const Message& message, Clock::time_point deadline);

    // Waits for the next message until the deadline. A malformed frame or message closes.
    ReadResult Read(Message& message, Clock::time_point deadline);

    // The next message if one is complete already, reading only what has arrived.
    ReadResult ReadNow(Message& message);

    static Clock::time_point Deadline(int timeoutMs);

private:
    // Reads what is waiting without blocking; false when the connection ended.
    bool Pull();
    ReadResult Take(Message& message);

    UniqueFd fd_;
    FrameReader reader_;
};

}  // namespace platform::ipc
