// Where a tool window goes beside the main window, in frame coordinates (the window manager's
// frames included) inside the free part of the screen that holds the main window.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace mainwnd {

// Left of the main window with the bottom edges aligned (the top edges with alignTop), else
// right of it. With room on neither side, the side with more room, as far out as the screen
// allows.
QPoint ToolFrameBeside(const QRect& mainFrame, QSize toolFrame, const QRect& screen,
                       bool alignTop = false);

// Whether the screen has room for the tool window below the main window.
bool RoomBelow(const QRect& mainFrame, QSize toolFrame, const QRect& screen);

// Just below the main window at its left edge; where the screen has no room below, beside it
// with the top edges aligned (the TX/RX window takes the bottom corner).
QPoint ToolFrameBelow(const QRect& mainFrame, QSize toolFrame, const QRect& screen);

// The main window's corner that leaves the tool window room on its left, the two centred on the
// screen together; the main window's own corner when the two cannot stand side by side.
QPoint MainCornerWithRoomFor(const QRect& mainFrame, QSize toolFrame, const QRect& screen);

}  // namespace mainwnd
