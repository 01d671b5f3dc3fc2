// The frames the driver has announced, kept so that the handle in a message stays good for the
// next 255 frames. The storage never moves or goes away, so a pointer handed out stays readable.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace simdriver {

class RxRing {
public:
    static constexpr size_t kSlots = 256;
    static constexpr size_t kMaxFrame = 256;

    // Stores a frame of 1..256 bytes; returns its handle (> 0), or 0 when it does not fit.
    intptr_t Store(const std::vector<uint8_t>& frame);
    // The frame's bytes, or nullptr when the handle is unknown or already overwritten.
    const unsigned char* Find(intptr_t handle) const;

private:
    struct Slot {
        intptr_t handle = 0;
        std::array<unsigned char, kMaxFrame> bytes{};
    };
    mutable std::mutex mutex_;
    std::array<Slot, kSlots> slots_{};
    intptr_t next_ = 1;
};

}  // namespace simdriver
