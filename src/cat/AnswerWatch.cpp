#include "AnswerWatch.h"

#include "CivFrame.h"

namespace cat {

int CAnswerWatch::KeyOf(const uint8_t* frame, int length)
{
    if (frame == nullptr || length <= kPosCommand)
        return -1;
    // A frame with a sub-command byte before its FD: 16 02 and 16 22 are different reads.
    const int sub = length > kPosSubCommand + 1 ? frame[kPosSubCommand] : 0x100;
    return frame[kPosCommand] * 0x200 + sub;
}

bool CAnswerWatch::IsSilent() const
{
    for (bool used : used_)
        if (used)
            return true;
    return false;
}

bool CAnswerWatch::OnDropped(int key, Clock::time_point now)
{
    const bool was = IsSilent();
    size_t slot = kKeys;
    size_t oldest = 0;
    for (size_t i = 0; i < kKeys; ++i) {
        if (used_[i] && keys_[i] == key) {
            slot = i;
            break;
        }
        if (!used_[i] && slot == kKeys)
            slot = i;
        if (used_[i] && used_[oldest] && dropped_[i] < dropped_[oldest])
            oldest = i;
    }
    if (slot == kKeys)
        slot = oldest;  // full: the longest-quiet command makes room
    keys_[slot] = key;
    dropped_[slot] = now;
    used_[slot] = true;
    return !was;
}

bool CAnswerWatch::OnAnswered(int key, Clock::time_point now, Clock::duration forgetAfter)
{
    const bool was = IsSilent();
    for (size_t i = 0; i < kKeys; ++i) {
        if (used_[i] && (keys_[i] == key || now - dropped_[i] > forgetAfter))
            used_[i] = false;
    }
    return was != IsSilent();
}

}  // namespace cat
