// Input that the masked and numeric fields treat alike.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QString>
#include <Qt>

// The keys the field leaves to the line edit underneath: caret movement and the dialog's own
// keys (Enter, Esc, Tab).
inline bool IsCaretOrDialogKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return true;
    default: return false;
    }
}

// The primary selection a middle click pastes; empty where the platform has none.
inline QString PrimarySelectionText()
{
    const QClipboard* clipboard = QApplication::clipboard();
    return clipboard->supportsSelection() ? clipboard->text(QClipboard::Selection) : QString();
}
