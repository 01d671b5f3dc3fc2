#include "MaskEdit.h"

#include "EditInput.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

CMaskEdit::CMaskEdit(QWidget* parent) : QLineEdit(parent)
{
    setDragEnabled(false);
    setAcceptDrops(false);
    // A text set with setText from outside counts as set by the program.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (useMask_ && t.toStdString() != model_.Text())
            model_.SetText(t.toStdString());
    });
}

void CMaskEdit::SetMask(const std::string& mask, const std::string& literal)
{
    useMask_ = true;
    const std::string text = model_.Text();
    model_ = MaskEditModel(mask, literal);
    model_.SetText(text);
    setMaxLength(static_cast<int>(mask.size()));
}

void CMaskEdit::SetMaskedText(const QString& text)
{
    model_.SetText(text.toStdString());
    Show();
}

void CMaskEdit::Show()
{
    const QString t = QString::fromStdString(model_.Text());
    if (text() != t)
        setText(t);
    setCursorPosition(model_.Caret());
}

void CMaskEdit::PasteClipboard()
{
    PasteText(QApplication::clipboard()->text());
}

void CMaskEdit::PasteText(const QString& text)
{
    model_.SetCaret(TypingPosition());
    if (model_.Paste(text.toStdString()))
        Show();
    else
        QApplication::beep();
}

int CMaskEdit::TypingPosition() const
{
    // What is typed over a selection takes its place from its start: a field selected whole
    // (as Tab leaves it) is typed anew, not refused at its end.
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

QString CMaskEdit::SelectionText() const
{
    return PrimarySelectionText();
}

void CMaskEdit::mouseReleaseEvent(QMouseEvent* e)
{
    if (!useMask_ || e->button() != Qt::MiddleButton)
        return QLineEdit::mouseReleaseEvent(e);
    // The primary selection is a paste like any other, never the line edit's own insert.
    const QString text = isReadOnly() ? QString() : SelectionText();
    if (!text.isEmpty())
        PasteText(text);
    e->accept();
}

void CMaskEdit::keyPressEvent(QKeyEvent* e)
{
    if (!useMask_)
        return QLineEdit::keyPressEvent(e);
    if (e->matches(QKeySequence::Paste))
        return PasteClipboard();
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::SelectAll)
        || IsCaretOrDialogKey(e->key()))
        return QLineEdit::keyPressEvent(e);
    switch (e->key()) {
    case Qt::Key_Insert:
    case Qt::Key_Delete: return;
    case Qt::Key_Backspace:
        if (hasSelectedText()) {
            QApplication::beep();
            return;
        }
        model_.SetCaret(cursorPosition());
        if (model_.Backspace())
            Show();
        else
            QApplication::beep();
        return;
    default: break;
    }
    if (e->key() >= Qt::Key_F1 && e->key() <= Qt::Key_F35) {
        e->ignore();
        return;
    }
    const QString t = e->text();
    if (t.size() != 1 || !t.at(0).isPrint()
        || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return;
    model_.SetCaret(TypingPosition());
    if (model_.TypeChar(t.at(0).toLatin1()))
        Show();
    else
        QApplication::beep();
}

void CMaskEdit::inputMethodEvent(QInputMethodEvent* e)
{
    if (useMask_)
        e->ignore();
    else
        QLineEdit::inputMethodEvent(e);
}

void CMaskEdit::dropEvent(QDropEvent* e)
{
    if (useMask_)
        e->ignore();
    else
        QLineEdit::dropEvent(e);
}

void CMaskEdit::contextMenuEvent(QContextMenuEvent* e)
{
    if (!useMask_)
        return QLineEdit::contextMenuEvent(e);
    // No parent: the field may be destroyed inside the menu's event loop, and a child menu
    // would then be deleted twice. The menu closes with the field.
    QMenu menu;
    connect(this, &QObject::destroyed, &menu, &QMenu::close);
    menu.addAction(tr("&Copy"), this, &QLineEdit::copy)->setEnabled(hasSelectedText());
    menu.addAction(tr("&Paste"), this, &CMaskEdit::PasteClipboard);
    menu.exec(e->globalPos());
}

CTimeEdit::CTimeEdit(QWidget* parent) : CMaskEdit(parent)
{
    SetMask("00:00", "__:__");
}

void DDX_TimeEditSet(const QDateTime& value, CTimeEdit& control)
{
    control.SetMaskedText(
        value.isValid() && !value.isNull() ? value.toString(QStringLiteral("HH:mm")) : QString());
}

bool DDX_TimeEditGet(QDateTime& value, const CTimeEdit& control)
{
    const auto t = ParseTimeText(control.text().toStdString());
    if (!t)
        return false;
    const QDate date = value.isValid() ? value.date() : QDate::currentDate();
    value = QDateTime(date, QTime(t->hour, t->minute));
    return true;
}
