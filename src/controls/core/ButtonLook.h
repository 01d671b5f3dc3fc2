// The owner-drawn button's arithmetic: colour lightening, darker and grey images, and where the
// image and the caption go for each alignment.
#pragma once

#include "ColorRef.h"

namespace buttonlook {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// Raises each channel by the same amount: the smallest over the channels of (30, or 255 minus the
// channel when that is 226 or more).
COLORREF LightenColor(COLORREF c);
// Each channel times 0.75, truncated.
COLORREF DarkerPixel(COLORREF c);
// 0.299 R + 0.587 G + 0.114 B in every channel.
COLORREF GreyPixel(COLORREF c);

enum Align { kImageLeft = 0, kImageTop = 1, kImageRight = 2, kImageTopLeft = 3 };

struct ImageLayout {
    Rect image;
    Rect caption;
};
// item: the whole button; imageW/H the image size; margin the image margin.
ImageLayout LayoutImage(const Rect& item, int imageW, int imageH, int marginX, int marginY,
                        int align, bool hasCaption);

}  // namespace buttonlook
