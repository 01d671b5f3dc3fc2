// The LED-bar meter's arithmetic: how many segments a bar has, which are lit and in which colour,
// and where each segment lies in the window.
#pragma once

#include "ColorRef.h"

#include <vector>

struct MeterConfig {
    COLORREF bkColor = RgbColor(0xF0, 0xF0, 0xF0);
    COLORREF lowColor = 0x00FF00;
    COLORREF mediumColor = 0x00FFFF;
    COLORREF highColor = 0x0000FF;
    int mediumThreshold = 60;
    int highThreshold = 80;
    int maxValue = 100;
    int numBands = 8;
    int numLeds = 8;
    bool showGrid = false;
};

struct MeterRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const MeterRect&) const = default;
};

struct MeterSegment {
    MeterRect rect;
    COLORREF color = 0;
    bool lit = false;
    bool gridLine = false;  // a line through the middle across the bar
};

namespace meter {
// Segments per bar, and the first yellow and first red segment.
int SegmentCount(const MeterConfig& c);
int MediumSegment(const MeterConfig& c);
int HighSegment(const MeterConfig& c);
// Number of lit segments for a value (clamped to 0..count).
int LitCount(const MeterConfig& c, int value);
COLORREF LitColor(const MeterConfig& c, int segment);
// Horizontal bars over a width x height client area; band = bar index.
std::vector<MeterSegment> LayoutBand(const MeterConfig& c, int band, int value, int width,
                                     int height);
}  // namespace meter
