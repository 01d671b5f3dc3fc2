// The fixed ring of frames that hands CI-V frames between the GUI thread, a serial receive
// thread and the command worker.
//
// There is no lock: one state word holds a writer-busy and a reader-busy bit, taken with a single
// compare-and-swap, so an operation that finds the queue busy fails at once instead of blocking.
// A busy failure changes nothing, so callers retry it (PushRetrying/PopRetrying) and no frame is
// lost or duplicated, however many producers there are.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "CivFrame.h"

namespace cat {

struct QueuedFrame {
    uint8_t flagFB = 0;  // for a command: whether an OK reply ends the wait for its answer
    int32_t length = 0;  // valid bytes in data, 0..256
    uint8_t data[kMaxFrameSize] = {};
};

enum class QueueResult {
    Ok,
    Busy,      // another thread holds the queue; nothing changed, try again
    TooLong,   // push: more than 256 bytes
    Full,      // push: every slot holds a frame
    Empty,     // pop: nothing waiting
    TooSmall,  // pop: the oldest frame does not fit the caller's buffer; it stays
    Replaced,  // push: the newest waiting frame was overwritten
};

class CFrameQueue {
public:
    static constexpr int kCapacity = 1000;

    CFrameQueue();
    CFrameQueue(const CFrameQueue&) = delete;
    CFrameQueue& operator=(const CFrameQueue&) = delete;

    // Empties the queue and zeroes every slot; waits for a running push or pop to finish.
    void Clear();

    QueueResult TryPush(int length, uint8_t tag, const uint8_t* bytes);
    // `size` holds the buffer size on entry and the frame length on success.
    QueueResult TryPop(int& size, uint8_t* buffer, uint8_t* tag = nullptr);

    // When the newest waiting frame satisfies `replaces` (given its bytes and length), the new
    // frame overwrites it in place (Replaced); otherwise a plain push. No reader can take that
    // frame meanwhile: push and pop never overlap.
    using ReplacesFn = bool (*)(const uint8_t* waiting, int waitingLength, const uint8_t* bytes,
                                int length);
    QueueResult TryPushOrReplaceLast(int length, uint8_t tag, const uint8_t* bytes,
                                     ReplacesFn replaces);

    // The same, retried while the queue is busy; the result is never Busy.
    QueueResult PushRetrying(int length, uint8_t tag, const uint8_t* bytes);
    QueueResult PushOrReplaceLastRetrying(int length, uint8_t tag, const uint8_t* bytes,
                                          ReplacesFn replaces);
    QueueResult PopRetrying(int& size, uint8_t* buffer, uint8_t* tag = nullptr);

    // One attempt each; false on any refusal, including busy and empty.
    bool Push(int length, uint8_t tag, const uint8_t* bytes)
    {
        return TryPush(length, tag, bytes) == QueueResult::Ok;
    }
    bool Pop(int& size, uint8_t* buffer) { return TryPop(size, buffer) == QueueResult::Ok; }
    bool PopWithTag(int& size, uint8_t* buffer, uint8_t& tag)
    {
        return TryPop(size, buffer, &tag) == QueueResult::Ok;
    }

    int GetCount() const { return count_.load(std::memory_order_acquire); }
    // Slot positions, for tests of the ring.
    int ReadIndex() const;
    int WriteIndex() const;

private:
    static constexpr uint8_t kWriterBusy = 1;
    static constexpr uint8_t kReaderBusy = 2;

    bool Acquire(uint8_t bit);
    void Release();
    void Store(QueuedFrame& slot, int length, uint8_t tag, const uint8_t* bytes);

    std::atomic<uint8_t> state_{0};
    std::atomic<int> count_{0};
    int readIndex_ = 0;
    int writeIndex_ = 0;
    std::unique_ptr<QueuedFrame[]> slots_;
};

}  // namespace cat
