#include "ColourScheme.h"

namespace {

constexpr int kTextShade = 40;
constexpr int kBackgroundShade = 80;

COLORREF Lighten(COLORREF c, int amount)
{
    return RgbColor(std::min(RedOf(c) + amount, 255), std::min(GreenOf(c) + amount, 255),
                    std::min(BlueOf(c) + amount, 255));
}

}  // namespace

int ClampChannel(int value)
{
    return std::clamp(value, 0, 255);
}

COLORREF ColourFromChannels(int r, int g, int b)
{
    return RgbColor(ClampChannel(r), ClampChannel(g), ClampChannel(b));
}

ColourScheme DeriveColourScheme(COLORREF background, COLORREF text, COLORREF checkOn)
{
    ColourScheme s;
    s.text = text;
    s.textLight = Lighten(text, kTextShade);
    s.textDark = DarkenColor(text, kTextShade);
    s.bkg = background;
    s.bkgLight = Lighten(background, kBackgroundShade);
    s.checkOn = checkOn;
    return s;
}
