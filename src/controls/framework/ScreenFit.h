// A window larger than the free part of its screen (a large font, a scaled or small screen)
// scrolls its controls instead of reaching past the screen's edge, so every control, OK and
// Cancel included, stays reachable.
#pragma once

class QScrollArea;
class QWidget;

// When `window`, framed as the main window is, would not fit the free part of its screen, moves
// `content` (the holder of the window's controls, in the window's layout) into a scroll area in
// its place, sizes the window to fit and returns the scroll area; else returns null, widening
// (or heightening) a window smaller than its controls need.
QScrollArea* ScrollWhenLargerThanScreen(QWidget& window, QWidget& content);
