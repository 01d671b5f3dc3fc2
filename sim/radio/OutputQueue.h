// What the radio has still to put on the bus, ordered by the time each piece is due (pieces due
// at the same time keep their order), and the pacing of one piece's bytes onto the bus.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace sim {

using Clock = std::chrono::steady_clock;

struct OutputItem {
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> record;  // the frame to record as sent; empty for echoes and garbage
    int chunkBytes = 0;           // > 0: deliver in chunks of this many bytes ...
    int chunkGapMs = 0;           // ... this far apart
};

class OutputQueue {
public:
    void Push(Clock::time_point due, OutputItem item);
    bool Empty() const { return items_.empty(); }
    Clock::time_point NextDue() const { return items_.begin()->first; }
    OutputItem PopFront();
    void Clear() { items_.clear(); }

private:
    std::multimap<Clock::time_point, OutputItem> items_;
};

struct PacingParams {
    bool pacing = false;
    int baud = 19200;
};

// Delivers the item's bytes through `deliver`, no faster than the baud rate allows (10 bits a
// byte) and in the item's chunks. `sleepUntil` returns false when the radio is shutting down,
// which ends the delivery.
void Transmit(const OutputItem& item, const PacingParams& pacing,
              const std::function<void(const uint8_t*, size_t)>& deliver,
              const std::function<bool(Clock::time_point)>& sleepUntil);

}  // namespace sim
