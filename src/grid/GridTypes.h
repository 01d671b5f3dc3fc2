// Plain value types shared by every part of the grid: positions, ranges, geometry, colours,
// cell state bits, text format flags and notification codes. No window system here.
#pragma once

#include <cstdint>
#include <string>

// One cell position; (-1, -1) is "no cell".
struct CCellPos {
    int row = -1;
    int col = -1;
    constexpr CCellPos() = default;
    constexpr CCellPos(int r, int c) : row(r), col(c) {}
    constexpr bool IsValid() const { return row >= 0 && col >= 0; }
    friend constexpr bool operator==(const CCellPos&, const CCellPos&) = default;
    friend constexpr bool operator<(const CCellPos& a, const CCellPos& b)
    {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    }
};

// An inclusive block of cells; (-1, -1, -1, -1) is the empty range.
struct CCellBlock {
    int minRow = -1, minCol = -1, maxRow = -1, maxCol = -1;
    constexpr CCellBlock() = default;
    constexpr CCellBlock(int r0, int c0, int r1, int c1)
        : minRow(r0), minCol(c0), maxRow(r1), maxCol(c1)
    {
    }
    constexpr bool IsValid() const
    {
        return minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 && maxRow >= minRow
               && maxCol >= minCol;
    }
    constexpr bool InRange(int row, int col) const
    {
        return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
    }
    constexpr bool InRange(CCellPos p) const { return InRange(p.row, p.col); }
    constexpr CCellPos GetTopLeft() const { return {minRow, minCol}; }
    friend constexpr bool operator==(const CCellBlock&, const CCellBlock&) = default;
};

struct GridPoint {
    int x = 0, y = 0;
    friend constexpr bool operator==(const GridPoint&, const GridPoint&) = default;
};

struct GridSize {
    int cx = 0, cy = 0;
    friend constexpr bool operator==(const GridSize&, const GridSize&) = default;
};

// Right and bottom are exclusive, as in a window rectangle.
struct GridRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(GridPoint p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool Intersects(const GridRect& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    constexpr GridRect Inflated(int dl, int dt, int dr, int db) const
    {
        return {left - dl, top - dt, right + dr, bottom + db};
    }
    friend constexpr bool operator==(const GridRect&, const GridRect&) = default;
};

// 0x00BBGGRR; kClrDefault means "take the default cell's colour".
using GridColor = std::uint32_t;
inline constexpr GridColor kClrDefault = 0xFF000000u;
constexpr GridColor GridRgb(int r, int g, int b)
{
    return static_cast<GridColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GridRed(GridColor c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int GridGreen(GridColor c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GridBlue(GridColor c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}

// Cell state bits.
enum : unsigned {
    CellStateFocused = 0x01,
    CellStateSelected = 0x02,
    CellStateDropHighlighted = 0x04,
    CellStateReadOnly = 0x08,
    CellStateFixed = 0x10,
    CellStateFixedRow = 0x20,
    CellStateFixedColumn = 0x40,
    CellStateModified = 0x80,
};

// Text format flags of a cell (the classic DrawText values, so stored formats keep their meaning).
enum : unsigned {
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,
    DT_BOTTOM = 0x0008,
    DT_WORDBREAK = 0x0010,
    DT_SINGLELINE = 0x0020,
    DT_NOPREFIX = 0x0800,
    DT_END_ELLIPSIS = 0x8000,
};
inline constexpr unsigned kFormatDefault = 0xFFFFFFFFu;
inline constexpr unsigned kDefaultCellFormat =
    DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;

// Notification codes sent to the grid's owner.
enum GridNotifyCode : int {
    GridNotifySelChanging = -100,
    GridNotifySelChanged = -101,
    GridNotifyBeginEdit = -105,
    GridNotifyEndEdit = -106,
    GridNotifyBeginDrag = -109,
    GridNotifyClick = -2,
    GridNotifyDblClick = -3,
    GridNotifyRightClick = -5,
};

// Why an edit of a cell's text starts; the owner sees it with GridNotifyBeginEdit.
enum class EditCause {
    Click,  // mouse click on the focus cell, double click, or F2
    Typed,  // a typed character opens the in-place editor
    Key,    // a navigation key carried over from the previous editor (Tab, arrows, ...)
    Paste,
    Cut,
    Delete,
    Drop,
};

// Grid line settings.
enum GridLines : int { GridLinesNone = 0, GridLinesHorz = 1, GridLinesVert = 2, GridLinesBoth = 3 };

// Which rows an auto-size measures (bits).
enum : int { AutoSizeHeader = 1, AutoSizeData = 2, AutoSizeBoth = 3 };
