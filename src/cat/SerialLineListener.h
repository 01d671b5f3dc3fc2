// The listener serial back-end: a CSerialLine that reads on its own listener thread and feeds the
// frame assembler, while the worker writes from its own thread through WriteFrame.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "CivTransport.h"
#include "SerialLine.h"
#include "SerialOwner.h"
#include "SerialParams.h"
#include "SerialReceiver.h"

namespace cat {

class CSerialLineListener : public CSerialLine, public ICivWriter {
public:
    CSerialLineListener();
    ~CSerialLineListener() override;

    // Opens COMn (through the port mapping) and applies the parameters: speed and framing, DTR,
    // RTS, then the handshake. Any failure closes the port and returns false; the reason is in
    // GetLastError/GetLastErrorText.
    bool OpenPort(ISerialOwner* owner, int port, const SerialParams& params);
    // The same for a device path.
    bool OpenDevice(ISerialOwner* owner, int port, const std::string& device,
                    const SerialParams& params);

    // Starts the listener thread unless it runs; 0 or an errno value.
    int StartListener();
    // Stops the listener thread, waiting up to timeoutMs (< 0: until it has ended; it always
    // ends promptly). ETIMEDOUT when it had not ended in time; Close waits for it then.
    int StopListener(int timeoutMs);
    bool IsListening() const { return listening_.load(); }

    // Stops the listener, then closes the line.
    int Close() override;

    // The worker that receives complete frames; null: frames go to the owner.
    void RegisterWorker(CGestCommand* worker) { receiver_.RegisterWorker(worker); }

    // The worker's write: bounded by the time the frame takes at the line's speed plus a second.
    // A write that finds the device gone reports the lost line as the listener would.
    bool WriteFrame(const uint8_t* bytes, int length) override;

    // Set when the device vanished (an unplugged adapter); the listener stops.
    bool IsLineLost() const { return lineLost_.load(); }
    uint64_t DroppedFrames() const { return receiver_.DroppedFrames(); }

private:
    void ListenerLoop();
    void JoinListener();
    void LoseLine(int error);

    CSerialReceiver receiver_;
    std::atomic<ISerialOwner*> owner_{nullptr};
    std::atomic<int> port_{0};

    std::mutex threadMutex_;
    std::thread listener_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> listening_{false};
    std::atomic<bool> lineLost_{false};
    std::mutex doneMutex_;
    std::condition_variable doneCv_;
};

}  // namespace cat
