#include "MeterSegments.h"

#include <algorithm>

namespace meter {

int SegmentCount(const MeterConfig& c)
{
    const int n = c.numLeds >= 2 ? c.numLeds : c.maxValue * 10 / 100;
    return std::max(n, 1);
}

int MediumSegment(const MeterConfig& c)
{
    return c.maxValue > 0 ? SegmentCount(c) * c.mediumThreshold / c.maxValue : 0;
}

int HighSegment(const MeterConfig& c)
{
    return c.maxValue > 0 ? SegmentCount(c) * c.highThreshold / c.maxValue : 0;
}

int LitCount(const MeterConfig& c, int value)
{
    const int n = SegmentCount(c);
    if (c.maxValue <= 0 || value <= 0)
        return 0;
    // A segment j is lit when j < value * n / max; wide arithmetic keeps huge readings sane.
    const long long lit = static_cast<long long>(value) * n;
    const long long count = (lit + c.maxValue - 1) / c.maxValue;
    return static_cast<int>(std::min<long long>(count, n));
}

COLORREF LitColor(const MeterConfig& c, int segment)
{
    if (segment < MediumSegment(c))
        return c.lowColor;
    if (segment < HighSegment(c))
        return c.mediumColor;
    return c.highColor;
}

std::vector<MeterSegment> LayoutBand(const MeterConfig& c, int band, int value, int width,
                                     int height)
{
    const int n = SegmentCount(c);
    const int bands = std::max(c.numBands, 1);
    const int segW = width / n;
    const int barH = height / bands;
    const int top0 = height % bands;
    const int lit = LitCount(c, value);
    const int m = MediumSegment(c);
    std::vector<MeterSegment> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) {
        MeterSegment s;
        s.rect = {j * segW, top0 + band * barH, (j + 1) * segW, top0 + (band + 1) * barH};
        if (c.numLeds > 1)
            s.rect.left += 1;
        if (bands > 1) {
            s.rect.top += 1;
            s.rect.bottom -= 1;
        }
        s.lit = j < lit;
        s.color = s.lit ? LitColor(c, j) : (c.showGrid ? DarkenColor(c.bkColor, 15) : c.bkColor);
        s.gridLine = c.showGrid && (j == m || j == n - 1);
        out.push_back(s);
    }
    return out;
}

}  // namespace meter
