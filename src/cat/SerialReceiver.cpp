#include "SerialReceiver.h"

#include <chrono>
#include <thread>

#include "GestCommand.h"

namespace cat {

namespace {
// A full reply queue empties as the worker runs; a short wait saves the frame, a long one would
// stall the line.
constexpr int kFullRetries = 20;
}  // namespace

CSerialReceiver::CSerialReceiver()
    : assembler_([this](const uint8_t* frame, int length) { Deliver(frame, length); })
{
    assembler_.SetOverlongSink([this] { DeliverOverlong(); });
}

void CSerialReceiver::SetOwner(ISerialOwner* owner, int port)
{
    std::lock_guard<std::mutex> lock(deliverMutex_);
    owner_.store(owner);
    port_.store(port);
}

void CSerialReceiver::RegisterWorker(CGestCommand* worker)
{
    std::lock_guard<std::mutex> lock(deliverMutex_);
    worker_.store(worker);
}

void CSerialReceiver::Feed(const uint8_t* bytes, size_t length)
{
    if (length > 0) {
        // Bytes on the line, whole frames or not: the radio is still talking.
        std::lock_guard<std::mutex> lock(deliverMutex_);
        if (CGestCommand* worker = worker_.load())
            worker->NoteLineActivity();
    }
    assembler_.Feed(bytes, length);
}

void CSerialReceiver::Reset()
{
    assembler_.Reset();
}

void CSerialReceiver::Deliver(const uint8_t* frame, int length)
{
    std::lock_guard<std::mutex> lock(deliverMutex_);
    if (CGestCommand* worker = worker_.load()) {
        // PushReceivedFrame already retries a busy queue; false means the queue is full.
        for (int attempt = 0; attempt < kFullRetries; ++attempt) {
            if (worker->PushReceivedFrame(length, frame))
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        dropped_.fetch_add(1);
        return;
    }
    if (ISerialOwner* owner = owner_.load())
        owner->PostSerialFrame(port_.load(), frame, length);
}

void CSerialReceiver::DeliverOverlong()
{
    // The worker only counts it; without one the owner shows a receive error (an empty frame).
    std::lock_guard<std::mutex> lock(deliverMutex_);
    if (worker_.load() != nullptr)
        return;
    if (ISerialOwner* owner = owner_.load())
        owner->PostSerialFrame(port_.load(), nullptr, 0);
}

}  // namespace cat
