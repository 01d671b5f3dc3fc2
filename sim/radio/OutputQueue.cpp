#include "OutputQueue.h"

#include <algorithm>

namespace sim {

namespace {
// Paced bytes are handed over in slices at least this long, so slow rates do not mean one wake-up
// per byte and fast rates still keep their pace.
constexpr auto kSlice = std::chrono::milliseconds(2);
}  // namespace

void OutputQueue::Push(Clock::time_point due, OutputItem item)
{
    items_.emplace(due, std::move(item));
}

OutputItem OutputQueue::PopFront()
{
    auto it = items_.begin();
    OutputItem item = std::move(it->second);
    items_.erase(it);
    return item;
}

void Transmit(const OutputItem& item, const PacingParams& pacing,
              const std::function<void(const uint8_t*, size_t)>& deliver,
              const std::function<bool(Clock::time_point)>& sleepUntil)
{
    const size_t total = item.bytes.size();
    if (total == 0)
        return;
    const size_t chunk = item.chunkBytes > 0 ? static_cast<size_t>(item.chunkBytes) : total;
    const int baud = std::max(pacing.baud, 1);
    const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / baud);
    auto busFree = Clock::now();
    size_t sent = 0;
    while (sent < total) {
        const size_t chunkEnd = std::min(total, sent + chunk);
        while (sent < chunkEnd) {
            size_t count = chunkEnd - sent;
            if (pacing.pacing) {
                // Hand over the bytes that have finished their time on the wire.
                const auto now = Clock::now();
                const auto ready = busFree + byteTime;
                // The last byte of a run is handed over the moment it is done, never a slice late.
                const auto allDone = busFree + byteTime * static_cast<int64_t>(count);
                if (now < ready && !sleepUntil(std::max(ready, std::min(now + kSlice, allDone))))
                    return;
                const auto elapsed = Clock::now() - busFree;
                count = std::clamp<size_t>(static_cast<size_t>(elapsed / byteTime), 1, count);
                busFree += byteTime * static_cast<int64_t>(count);
            }
            deliver(item.bytes.data() + sent, count);
            sent += count;
        }
        if (sent < total && item.chunkGapMs > 0
            && !sleepUntil(Clock::now() + std::chrono::milliseconds(item.chunkGapMs)))
            return;
        if (item.chunkGapMs > 0)
            busFree = std::max(busFree, Clock::now());
    }
}

}  // namespace sim
