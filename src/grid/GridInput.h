// Input as the grid core sees it: its own key codes, modifiers, scroll actions and mouse modes,
// so that the window only translates its toolkit's events.
#pragma once

enum class GridKey {
    Other,
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Tab,
    Enter,
    Escape,
    Backspace,
    Delete,
    Insert,
    F2,
    A,
    C,
    V,
    X,
    NumPlus,
};

struct GridModifiers {
    bool shift = false;
    bool ctrl = false;
};

// A scroll bar action (line, page, ends, thumb).
enum class ScrollCode {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    Top,
    Bottom,
    ThumbPosition,
    ThumbTrack,
    EndScroll
};

enum GridMouseMode : int {
    MouseNone = 0,
    MouseSelectAll = 1,
    MouseSelectCol = 2,
    MouseSelectRow = 3,
    MouseSelectCells = 4,
    MouseOverRowDivide = 6,
    MouseSizingRow = 7,
    MouseOverColDivide = 8,
    MouseSizingCol = 9,
    MousePrepareEdit = 10,
    MousePrepareDrag = 11,
    MouseDragging = 12,
};

// The line drawn while a row or column border is dragged.
struct TrackingLine {
    bool shown = false;
    bool vertical = true;  // a column border
    int pos = 0;           // x for a column, y for a row
};
