// The receiving half shared by both serial back-ends: bytes from the line go through the frame
// assembler; each whole frame goes to the registered worker, or to the owner (kSerialFrame) while
// none is registered; the owner then also hears of a frame given up as too long (length 0).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "FrameAssembler.h"
#include "SerialOwner.h"

namespace cat {

class CGestCommand;

class CSerialReceiver {
public:
    CSerialReceiver();

    void SetOwner(ISerialOwner* owner, int port);
    // Null unregisters; once it returns, no frame goes to the previous worker any more.
    void RegisterWorker(CGestCommand* worker);
    CGestCommand* RegisteredWorker() const { return worker_.load(); }

    // From the receiving thread only.
    void Feed(const uint8_t* bytes, size_t length);
    // Forgets a frame under assembly.
    void Reset();

    // Frames the worker refused because its queue stayed full.
    uint64_t DroppedFrames() const { return dropped_.load(); }

private:
    void Deliver(const uint8_t* frame, int length);
    void DeliverOverlong();

    CFrameAssembler assembler_;
    std::mutex deliverMutex_;  // held while a frame is handed over
    std::atomic<CGestCommand*> worker_{nullptr};
    std::atomic<ISerialOwner*> owner_{nullptr};
    std::atomic<int> port_{0};
    std::atomic<uint64_t> dropped_{0};
};

}  // namespace cat
