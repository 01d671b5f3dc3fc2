#include "NumEdit.h"

#include "CommandCodes.h"
#include "CommandTarget.h"
#include "EditInput.h"
#include "ProgramClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>

#include <algorithm>

CNumEdit::CNumEdit(QWidget* parent) : CColorEdit(parent)
{
    setDragEnabled(false);
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, &CNumEdit::OnTextChanged);
    Show();
}

void CNumEdit::SetFormat(int decimals, char decimalChar, bool showSign, bool signInFront)
{
    TakeSelection();
    model_.SetFormat(decimals, decimalChar, showSign, signInFront);
    Show();
}

void CNumEdit::SetValue(double value)
{
    model_.SetValue(value);
    Show();
}

double CNumEdit::GetValue() const
{
    return model_.GetValue();
}

bool CNumEdit::SetWindowText(const QString& text)
{
    if (!model_.SetText(text.toStdString()))
        return false;
    Show();
    return true;
}

void CNumEdit::TakeSelection()
{
    if (model_.ShowsStatus())
        return;
    if (hasSelectedText())
        model_.SetSelection(selectionStart(), selectionEnd());
    else
        model_.SetSelection(cursorPosition(), cursorPosition());
}

void CNumEdit::Show()
{
    settingText_ = true;
    const QString t = QString::fromStdString(model_.Text());
    if (text() != t)
        setText(t);
    if (model_.SelStart() != model_.SelEnd())
        setSelection(model_.SelStart(), model_.SelEnd() - model_.SelStart());
    else
        setCursorPosition(model_.SelEnd());
    settingText_ = false;
}

void CNumEdit::OnTextChanged(const QString& t)
{
    // setText from outside the control: treated as a text set by the program.
    if (settingText_)
        return;
    model_.SetText(t.toStdString());
    Show();
}

void CNumEdit::Copy()
{
    if (model_.ShowsStatus()) {
        if (hasSelectedText())
            SetProgramClipboardText(selectedText());
        return;
    }
    TakeSelection();
    if (auto clip = model_.Copy())
        SetProgramClipboardText(QString::fromStdString(*clip));
}

void CNumEdit::Cut()
{
    if (!hasSelectedText())
        return;
    const bool status = model_.ShowsStatus();
    const QString statusSelection = selectedText();
    if (status)
        model_.SetSelection(0, static_cast<int>(model_.Text().size()));
    else
        TakeSelection();
    auto clip = model_.Cut();
    if (!clip)
        return;
    // The clipboard gets the text before the field loses it.
    SetProgramClipboardText(status ? statusSelection : QString::fromStdString(*clip));
    Show();
}

void CNumEdit::Paste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return;
    PasteText(data->text());
}

void CNumEdit::PasteText(const QString& text)
{
    TakeSelection();
    if (model_.Paste(text.toStdString()))
        Show();
    else
        QApplication::beep();
}

QString CNumEdit::SelectionText() const
{
    return PrimarySelectionText();
}

void CNumEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Copy))
        return Copy();
    if (e->matches(QKeySequence::Cut))
        return Cut();
    if (e->matches(QKeySequence::Paste))
        return Paste();
    if (IsCaretOrDialogKey(e->key()))
        return CColorEdit::keyPressEvent(e);
    switch (e->key()) {
    case Qt::Key_Backspace:
        TakeSelection();
        if (model_.Backspace())
            Show();
        return;
    case Qt::Key_Delete:
        TakeSelection();
        if (model_.Delete())
            Show();
        return;
    default: break;
    }
    if (e->matches(QKeySequence::SelectAll))
        return CColorEdit::keyPressEvent(e);
    if (e->key() >= Qt::Key_F1 && e->key() <= Qt::Key_F35) {
        e->ignore();
        return;
    }
    const QString t = e->text();
    if (t.size() == 1 && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        TakeSelection();
        if (model_.TypeChar(t.at(0).toLatin1()))
            Show();
    }
    // Anything else is swallowed: separators have fixed places and letters have none.
}

void CNumEdit::focusInEvent(QFocusEvent* e)
{
    TakeSelection();
    model_.Reformat();
    Show();
    CColorEdit::focusInEvent(e);
}

void CNumEdit::paintEvent(QPaintEvent* e)
{
    CColorEdit::paintEvent(e);
    if (!hasFocus() || isReadOnly() || hasSelectedText())
        return;
    // The line edit's own caret is one pixel wide and blinks: easy to miss next to digits
    // several times its height.
    const QRect at = cursorRect();
    const int width = std::max(2, fontMetrics().height() / 12);
    const int centre = at.left() + at.width() / 2;
    const int x = std::clamp(centre - width / 2, 0, std::max(0, this->width() - width));
    QPainter p(this);
    p.fillRect(QRect(x, at.top(), width, at.height()), palette().color(QPalette::Text));
}

void CNumEdit::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton) {
        rButtonIsDown_ = true;
        if (rightClickNotify_) {
            framework::NotifyParent(this, ctl::kRButtonDown);
            return;
        }
    }
    CColorEdit::mousePressEvent(e);
}

void CNumEdit::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::MiddleButton) {
        // The primary selection is a paste like any other, never the line edit's own insert.
        const QString text = isReadOnly() ? QString() : SelectionText();
        if (!text.isEmpty())
            PasteText(text);
        e->accept();
        return;
    }
    if (e->button() == Qt::RightButton) {
        rButtonIsDown_ = false;
        if (rightClickNotify_) {
            framework::NotifyParent(this, ctl::kRButtonUp);
            return;
        }
    }
    CColorEdit::mouseReleaseEvent(e);
}

void CNumEdit::contextMenuEvent(QContextMenuEvent* e)
{
    if (rightClickNotify_) {
        e->accept();
        return;
    }
    // No parent: the field may be destroyed inside the menu's event loop, and a child menu
    // would then be deleted twice. The menu closes with the field.
    QMenu menu;
    connect(this, &QObject::destroyed, &menu, &QMenu::close);
    const bool sel = hasSelectedText();
    menu.addAction(tr("Cu&t"), this, &CNumEdit::Cut)->setEnabled(sel);
    menu.addAction(tr("&Copy"), this, &CNumEdit::Copy)->setEnabled(sel);
    menu.addAction(tr("&Paste"), this, &CNumEdit::Paste);
    menu.addSeparator();
    menu.addAction(tr("Select &All"), this, &QLineEdit::selectAll);
    menu.exec(e->globalPos());
}

void CNumEdit::inputMethodEvent(QInputMethodEvent* e)
{
    e->ignore();
}

void CNumEdit::dropEvent(QDropEvent* e)
{
    e->ignore();
}
