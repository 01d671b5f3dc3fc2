// The skinned slider's arithmetic: where the thumb lies for a position, where the channel bitmap
// is stretched to, which position a point means, and the range labels.
#pragma once

#include <string>

struct SliderRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const SliderRect&) const = default;
};

namespace slider {
// The thumb's rectangle for a position in min..max (an empty range puts it at the start).
SliderRect ThumbRect(const SliderRect& channel, int thumbW, int thumbH, int pos, int min, int max,
                     bool vertical);
// Where the channel bitmap is stretched to in the background: x = 13 - w/2, full rectangle
// width + 2*(w/2) - 26, the bitmap's own height.
SliderRect BackgroundStretch(int clientW, int thumbW, int bitmapH);
// The position under a point along the channel (the inverse of ThumbRect for the thumb centre).
int PositionAt(const SliderRect& channel, int x, int y, int min, int max, bool vertical);
// "%d" with '.' every three digits from the right ("1000000" -> "1.000.000", "-1.000").
std::string GroupedNumber(int value);
}  // namespace slider
