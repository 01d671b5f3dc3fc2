// Where a tool window goes by the main window, in frame coordinates (the window manager's frames
// included) inside the free part of the screen that holds the main window.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace mainwnd {

// What a tool window is placed among.
struct PlaceContext {
    QRect screen;               // the free part of the main window's screen
    QRect main;                 // the main window's frame
    std::vector<QRect> keep;    // the panel's parts a tool window never covers
    QRect spare;                // the main window's least used part (its tab page)
    std::vector<QRect> others;  // the program's other windows a tool window keeps clear of
};

// How a tool window stands by the main window, in the order it prefers.
enum class ToolKind {
    Beside,  // left of the main window with the bottom edges aligned, else right of it
    Below,   // just below it at its left edge, else beside it with the top edges aligned
    Free,    // beside or below it, wherever there is room
};

// The first place the kind prefers that is clear of the main window, the others and the panel's
// parts; else any place beside, below or above the main window that is; else the place on the
// screen covering least of the panel's parts, then of the others (a Free one: of the others
// first), then of the main window outside its spare part, the lower first.
QPoint PlaceToolFrame(ToolKind kind, QSize tool, const PlaceContext& context);

// Whether the screen has room for the tool window below the main window.
bool RoomBelow(const QRect& mainFrame, QSize toolFrame, const QRect& screen);

// The main window's corner that leaves the tool window room on its left, the two centred on the
// screen together; the main window's own corner when the two cannot stand side by side.
QPoint MainCornerWithRoomFor(const QRect& mainFrame, QSize toolFrame, const QRect& screen);

}  // namespace mainwnd
