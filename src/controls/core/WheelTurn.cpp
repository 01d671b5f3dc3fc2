#include "WheelTurn.h"

#include <algorithm>

long long CWheelTurn::Add(long long amount, long long perStep)
{
    if (perStep <= 0 || amount == 0)
        return 0;
    if ((amount < 0) != (rest_ < 0))
        rest_ = 0;
    // Bounded so a huge delta cannot overflow what is kept.
    constexpr long long kFar = 1LL << 40;
    rest_ += std::clamp(amount, -kFar, kFar);
    const long long steps = rest_ / perStep;
    rest_ -= steps * perStep;
    return steps;
}
