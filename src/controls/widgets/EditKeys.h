// The keys a masked or numeric field leaves to the line edit underneath: caret movement and the
// dialog's own keys (Enter, Esc, Tab).
#pragma once

#include <Qt>

inline bool IsCaretOrDialogKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}
