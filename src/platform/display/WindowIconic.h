// Asks the window manager to minimise a mapped window, as ICCCM has clients do. Qt asks only
// when it takes its own state to change, and may take a window for minimised that the window
// manager mapped normally. Nothing happens off X11 or for a window not yet made.
#pragma once

class QWindow;

void AskWindowManagerToIconify(QWindow& window);
