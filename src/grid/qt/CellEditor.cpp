// Only the grid creates it; it reports its end once and is then destroyed by the grid.
#include "CellEditor.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

CCellEditor::CCellEditor(QWidget* grid, const CellEditorRequest& request, const QFont& font,
                         int maxRight, EndHandler onEnd)
    : QLineEdit(grid),
      row_(request.row),
      col_(request.col),
      initial_(QString::fromStdString(request.originalText)),
      exitOnArrows_(request.exitOnArrows),
      maxRight_(maxRight),
      onEnd_(std::move(onEnd))
{
    setObjectName(QStringLiteral("CellEditor"));
    setFont(font);
    setFrame(true);
    setAlignment(request.alignment == DT_RIGHT    ? Qt::AlignRight | Qt::AlignVCenter
                 : request.alignment == DT_CENTER ? Qt::AlignHCenter | Qt::AlignVCenter
                                                  : Qt::AlignLeft | Qt::AlignVCenter);
    if (request.digitsOnly)
        setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    const GridRect& r = request.rect;
    setGeometry(r.left, r.top, r.Width() + 1, r.Height() + 1);
    setText(QString::fromStdString(request.text));
    if (request.selectAll)
        selectAll();
    else
        end(false);
    connect(this, &QLineEdit::textEdited, this, [this] { Widen(); });
    show();
    setFocus(Qt::OtherFocusReason);
}

void CCellEditor::AddChar(char32_t ch)
{
    if (ch == U'\b') {
        backspace();
    } else if (ch >= 0x20 && ch != 0x7F) {
        insert(QString::fromUcs4(&ch, 1));
    }
    Widen();
}

void CCellEditor::Widen()
{
    constexpr int kFrameAndMargins = 8;
    const int need =
        fontMetrics().horizontalAdvance(text() + QStringLiteral("  ")) + kFrameAndMargins;
    if (need <= width())
        return;
    const int right = std::min(x() + need, maxRight_);
    if (right > x() + width())
        resize(right - x(), height());
}

bool CCellEditor::event(QEvent* event)
{
    // Tab belongs to the editor, not to the dialog's focus chain.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CCellEditor::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool arrowsEnd = exitOnArrows_ || ctrl;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: End(EditEndKey::Enter); return;
    case Qt::Key_Tab:
        End((event->modifiers() & Qt::ShiftModifier) ? EditEndKey::ShiftTab : EditEndKey::Tab);
        return;
    case Qt::Key_Backtab: End(EditEndKey::ShiftTab); return;
    case Qt::Key_Escape:
        setText(initial_);
        End(EditEndKey::Escape);
        return;
    case Qt::Key_PageUp:
        if (arrowsEnd) {
            End(EditEndKey::PageUp);
            return;
        }
        break;
    case Qt::Key_PageDown:
        if (arrowsEnd) {
            End(EditEndKey::PageDown);
            return;
        }
        break;
    case Qt::Key_Left:
        if (arrowsEnd) {
            End(EditEndKey::Left);
            return;
        }
        break;
    case Qt::Key_Right:
        if (arrowsEnd) {
            End(EditEndKey::Right);
            return;
        }
        break;
    case Qt::Key_Up:
        if (arrowsEnd) {
            End(EditEndKey::Up);
            return;
        }
        break;
    case Qt::Key_Down:
        if (arrowsEnd) {
            End(EditEndKey::Down);
            return;
        }
        break;
    default: break;
    }
    QLineEdit::keyPressEvent(event);
}

void CCellEditor::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A pop-up (the context menu) takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason)
        End(EditEndKey::None);
}

void CCellEditor::End(EditEndKey key)
{
    if (ended_)
        return;
    ended_ = true;
    if (onEnd_)
        onEnd_(*this, key);
}
