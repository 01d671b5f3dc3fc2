// Widening a narrow dialog so the window manager's title bar shows its whole caption.
#pragma once

class QWidget;

// The width a window needs for its whole caption: its title in a bold face of its own font plus
// room for the title bar's icon and buttons.
int CaptionFitWidth(const QWidget& window);

// Raises the window's minimum width to its title in a bold face of its own font plus room for
// the title bar's icon and buttons. Call once the title is translated.
void FitCaptionWidth(QWidget& window);
