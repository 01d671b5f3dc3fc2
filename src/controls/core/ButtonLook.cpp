#include "ButtonLook.h"

#include <algorithm>

namespace buttonlook {

COLORREF LightenColor(COLORREF c)
{
    auto room = [](int ch) { return ch < 226 ? 30 : 255 - ch; };
    const int add = std::min({room(RedOf(c)), room(GreenOf(c)), room(BlueOf(c))});
    return RgbColor(RedOf(c) + add, GreenOf(c) + add, BlueOf(c) + add);
}

COLORREF DarkerPixel(COLORREF c)
{
    auto dark = [](int ch) { return static_cast<int>(ch - 0.25 * ch); };
    return RgbColor(dark(RedOf(c)), dark(GreenOf(c)), dark(BlueOf(c)));
}

COLORREF GreyPixel(COLORREF c)
{
    const int g = static_cast<int>(0.299 * RedOf(c) + 0.587 * GreenOf(c) + 0.114 * BlueOf(c));
    return RgbColor(g, g, g);
}

ImageLayout LayoutImage(const Rect& item, int w, int h, int mx, int my, int align, bool hasCaption)
{
    ImageLayout out;
    out.caption = item;
    Rect& img = out.image;
    const int centreX = item.left + (item.Width() - w) / 2;
    const int centreY = item.top + (item.Height() - h) / 2;
    switch (align) {
    case kImageLeft:
        if (hasCaption) {
            img.left = item.left + mx;
            img.top = centreY;
            out.caption.left = img.left + w + mx;
        } else {
            img.left = centreX;
            img.top = centreY;
        }
        break;
    case kImageTop:
        if (hasCaption) {
            img.left = centreX;
            img.top = item.top + my;
            out.caption.top = img.top + h;
        } else {
            img.left = centreX;
            img.top = centreY;
        }
        break;
    case kImageRight:
        if (hasCaption) {
            img.left = item.right - mx - w;
            img.top = centreY;
            out.caption.right = img.left;
        } else {
            img.left = centreX;
            img.top = item.top;
        }
        break;
    default:
        img.left = item.left;
        img.top = item.top;
        break;
    }
    img.right = img.left + w;
    img.bottom = img.top + h;
    return out;
}

}  // namespace buttonlook
