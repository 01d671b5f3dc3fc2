// The blocks the driver has announced (received frames, audio blocks), kept so that the handle
// in a message stays good for the next kSlots - 1 blocks. The storage never moves or goes away,
// so a pointer handed out stays readable.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace simdriver {

template <std::size_t Slots, std::size_t MaxBytes>
class BlockRing {
public:
    static constexpr std::size_t kSlots = Slots;
    static constexpr std::size_t kMaxBytes = MaxBytes;

    // Stores a block of 1..kMaxBytes bytes; returns its handle (> 0), or 0 when it does not fit.
    intptr_t Store(const std::vector<uint8_t>& block)
    {
        if (block.empty() || block.size() > kMaxBytes)
            return 0;
        std::lock_guard<std::mutex> lock(mutex_);
        const intptr_t handle = next_++;
        if (next_ <= 0)
            next_ = 1;
        Slot& slot = slots_[static_cast<std::size_t>(handle) % kSlots];
        slot.handle = handle;
        std::copy(block.begin(), block.end(), slot.bytes.begin());
        return handle;
    }
    // The block's bytes, or nullptr when the handle is unknown or already overwritten.
    const unsigned char* Find(intptr_t handle) const
    {
        if (handle <= 0)
            return nullptr;
        std::lock_guard<std::mutex> lock(mutex_);
        const Slot& slot = slots_[static_cast<std::size_t>(handle) % kSlots];
        return slot.handle == handle ? slot.bytes.data() : nullptr;
    }

private:
    struct Slot {
        intptr_t handle = 0;
        std::array<unsigned char, kMaxBytes> bytes{};
    };
    mutable std::mutex mutex_;
    std::array<Slot, kSlots> slots_{};
    intptr_t next_ = 1;
};

using RxRing = BlockRing<256, 256>;

}  // namespace simdriver
