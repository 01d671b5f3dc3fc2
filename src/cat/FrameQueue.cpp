#include "FrameQueue.h"

#include <cstring>
#include <thread>

namespace cat {

CFrameQueue::CFrameQueue() : slots_(new QueuedFrame[kCapacity]()) {}

bool CFrameQueue::Acquire(uint8_t bit)
{
    // Either bit set refuses: push and pop never overlap.
    uint8_t expected = 0;
    return state_.compare_exchange_strong(expected, bit, std::memory_order_acquire,
                                          std::memory_order_relaxed);
}

void CFrameQueue::Release()
{
    state_.store(0, std::memory_order_release);
}

void CFrameQueue::Clear()
{
    while (!Acquire(kWriterBusy))
        std::this_thread::yield();
    readIndex_ = 0;
    writeIndex_ = 0;
    count_.store(0, std::memory_order_release);
    for (int i = 0; i < kCapacity; ++i)
        slots_[i] = QueuedFrame{};
    Release();
}

void CFrameQueue::Store(QueuedFrame& slot, int length, uint8_t tag, const uint8_t* bytes)
{
    slot.flagFB = tag;
    slot.length = length;
    if (length > 0)
        std::memcpy(slot.data, bytes, static_cast<size_t>(length));
}

QueueResult CFrameQueue::TryPush(int length, uint8_t tag, const uint8_t* bytes)
{
    return TryPushOrReplaceLast(length, tag, bytes, nullptr);
}

QueueResult CFrameQueue::TryPushOrReplaceLast(int length, uint8_t tag, const uint8_t* bytes,
                                              ReplacesFn replaces)
{
    if (length < 0 || length > kMaxFrameSize || (length > 0 && bytes == nullptr))
        return QueueResult::TooLong;
    if (!Acquire(kWriterBusy))
        return QueueResult::Busy;
    const int count = count_.load(std::memory_order_relaxed);
    if (replaces != nullptr && count > 0) {
        QueuedFrame& last = slots_[(writeIndex_ + kCapacity - 1) % kCapacity];
        if (replaces(last.data, last.length, bytes, length)) {
            Store(last, length, tag, bytes);
            Release();
            return QueueResult::Replaced;
        }
    }
    if (count >= kCapacity) {
        Release();
        return QueueResult::Full;
    }
    Store(slots_[writeIndex_], length, tag, bytes);
    writeIndex_ = (writeIndex_ + 1) % kCapacity;
    count_.fetch_add(1, std::memory_order_release);
    Release();
    return QueueResult::Ok;
}

QueueResult CFrameQueue::TryPop(int& size, uint8_t* buffer, uint8_t* tag)
{
    if (!Acquire(kReaderBusy))
        return QueueResult::Busy;
    if (count_.load(std::memory_order_relaxed) == 0) {
        Release();
        return QueueResult::Empty;
    }
    const QueuedFrame& slot = slots_[readIndex_];
    if (slot.length > size || (slot.length > 0 && buffer == nullptr)) {
        Release();
        return QueueResult::TooSmall;
    }
    if (slot.length > 0)
        std::memcpy(buffer, slot.data, static_cast<size_t>(slot.length));
    size = slot.length;
    if (tag != nullptr)
        *tag = slot.flagFB;
    readIndex_ = (readIndex_ + 1) % kCapacity;
    count_.fetch_sub(1, std::memory_order_release);
    Release();
    return QueueResult::Ok;
}

QueueResult CFrameQueue::PushRetrying(int length, uint8_t tag, const uint8_t* bytes)
{
    // Busy lasts one short copy; yielding lets a pre-empted holder finish it.
    QueueResult result;
    while ((result = TryPush(length, tag, bytes)) == QueueResult::Busy)
        std::this_thread::yield();
    return result;
}

QueueResult CFrameQueue::PushOrReplaceLastRetrying(int length, uint8_t tag, const uint8_t* bytes,
                                                   ReplacesFn replaces)
{
    QueueResult result;
    while ((result = TryPushOrReplaceLast(length, tag, bytes, replaces)) == QueueResult::Busy)
        std::this_thread::yield();
    return result;
}

QueueResult CFrameQueue::PopRetrying(int& size, uint8_t* buffer, uint8_t* tag)
{
    QueueResult result;
    while ((result = TryPop(size, buffer, tag)) == QueueResult::Busy)
        std::this_thread::yield();
    return result;
}

int CFrameQueue::ReadIndex() const
{
    return readIndex_;
}

int CFrameQueue::WriteIndex() const
{
    return writeIndex_;
}

}  // namespace cat
