#include "SliderGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace slider {

SliderRect ThumbRect(const SliderRect& channel, int thumbW, int thumbH, int pos, int min, int max,
                     bool vertical)
{
    const double range = static_cast<double>(max) - min;
    const double f =
        range > 0 ? std::clamp((static_cast<double>(pos) - min) / range, 0.0, 1.0) : 0.0;
    SliderRect r;
    if (!vertical) {
        r.left = static_cast<int>(f * (channel.Width() - 27)) + channel.left - thumbW / 2 + 13;
        r.right = r.left + thumbW;
        r.top = channel.top;
        r.bottom = r.top + thumbH;
    } else {
        r.top = static_cast<int>(f * (channel.Height() - 27)) + channel.top - thumbH / 2 + 13;
        r.bottom = r.top + thumbH;
        r.left = channel.left;
        r.right = r.left + thumbW;
    }
    return r;
}

SliderRect BackgroundStretch(int clientW, int thumbW, int bitmapH)
{
    const int x = 13 - thumbW / 2;
    return {x, 0, x + clientW + 2 * (thumbW / 2) - 26, bitmapH};
}

int PositionAt(const SliderRect& channel, int x, int y, int min, int max, bool vertical)
{
    const int span = (vertical ? channel.Height() : channel.Width()) - 27;
    if (span <= 0 || max <= min)
        return min;
    const int along = vertical ? y - channel.top - 13 : x - channel.left - 13;
    const double f = std::clamp(static_cast<double>(along) / span, 0.0, 1.0);
    // In 64 bits: max - min may exceed the int range.
    const long long pos = min + std::llround(f * (static_cast<double>(max) - min));
    return static_cast<int>(std::clamp<long long>(pos, min, max));
}

std::string GroupedNumber(int value)
{
    std::string digits = std::to_string(std::llabs(static_cast<long long>(value)));
    if (digits.size() > 3) {
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<std::size_t>(i), 1, '.');
    }
    return value < 0 ? "-" + digits : digits;
}

}  // namespace slider
