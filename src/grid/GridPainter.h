// The small drawing interface through which the grid paints, prints and measures. The window
// implements it over its real painter; tests implement it with a recording fake.
#pragma once

#include <string_view>

#include "GridFont.h"
#include "GridTypes.h"

// System colours the grid draws with; the window fills them from its palette.
struct GridPalette {
    GridColor windowText = GridRgb(0, 0, 0);
    GridColor window = GridRgb(255, 255, 255);
    GridColor btnFace = GridRgb(212, 208, 200);
    GridColor btnShadow = GridRgb(128, 128, 128);
    GridColor btnHighlight = GridRgb(255, 255, 255);
    GridColor darkShadow = GridRgb(64, 64, 64);
    GridColor highlight = GridRgb(10, 36, 106);
    GridColor highlightText = GridRgb(255, 255, 255);
    friend bool operator==(const GridPalette&, const GridPalette&) = default;
};

class GridPainter {
public:
    virtual ~GridPainter() = default;

    virtual void FillRect(const GridRect& rect, GridColor color) = 0;
    // One-pixel outline just inside rect.
    virtual void FrameRect(const GridRect& rect, GridColor color) = 0;
    // One-pixel line from (x0, y0) to (x1, y1), both ends included.
    virtual void DrawLine(int x0, int y0, int x1, int y1, GridColor color) = 0;
    // Text clipped to rect and aligned by the DT_ flags of format; never interprets '&'.
    virtual void DrawText(const GridRect& rect, std::string_view text, const GridFont& font,
                          GridColor color, unsigned format) = 0;
    // Width and height of text (a single line) in font.
    virtual GridSize MeasureText(std::string_view text, const GridFont& font) = 0;
    // Clips every later drawing to rect; nullptr removes the clip.
    virtual void SetClipRect(const GridRect* /*rect*/) {}
    // Image `index` of the owner's image list at the top-left point; nothing when there is none.
    virtual void DrawImage(int /*index*/, GridPoint /*topLeft*/) {}
};
