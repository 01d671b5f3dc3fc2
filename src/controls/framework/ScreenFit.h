// A window larger than the free part of its screen (a large font, a scaled or small screen)
// scrolls its controls instead of reaching past the screen's edge, so every control, OK and
// Cancel included, stays reachable.
#pragma once

#include <QSize>

class QScrollArea;
class QWidget;

// The free part of the window's screen less its frame: the room for its client area. On a
// screen scaled by a fraction the frame's pixels round either way, so one is kept spare.
QSize ClientRoom(const QWidget& window, QSize freeScreen, QSize frame);

// When `window`, framed as the main window is, would not fit the free part of its screen, moves
// `content` (the holder of the window's controls, in the window's layout) into a scroll area in
// its place, sizes the window to fit and returns the scroll area; else returns null, widening
// (or heightening) a window smaller than its controls need.
QScrollArea* ScrollWhenLargerThanScreen(QWidget& window, QWidget& content);
