#include "RxRing.h"

#include <algorithm>

namespace simdriver {

intptr_t RxRing::Store(const std::vector<uint8_t>& frame)
{
    if (frame.empty() || frame.size() > kMaxFrame)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    const intptr_t handle = next_++;
    if (next_ <= 0)
        next_ = 1;
    Slot& slot = slots_[static_cast<size_t>(handle) % kSlots];
    slot.handle = handle;
    std::copy(frame.begin(), frame.end(), slot.bytes.begin());
    return handle;
}

const unsigned char* RxRing::Find(intptr_t handle) const
{
    if (handle <= 0)
        return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    const Slot& slot = slots_[static_cast<size_t>(handle) % kSlots];
    return slot.handle == handle ? slot.bytes.data() : nullptr;
}

}  // namespace simdriver
