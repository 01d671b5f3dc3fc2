#include "CellTip.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

CCellTip::CCellTip(QWidget* grid)
    : QWidget(grid, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      grid_(grid)
{
    setObjectName(QStringLiteral("CellTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
}

void CCellTip::Show(const QRect& textRect, const QString& text, const QRect& hoverRect,
                    const QFont& font, const QColor& textColor, const QColor& backColor)
{
    if (textRect.isEmpty() || isVisible())
        return;
    // Only for the window the user works in.
    if (!QApplication::activeWindow() && !QApplication::focusWidget())
        return;
    const QRect hover = hoverRect.isEmpty() ? textRect : hoverRect;
    hover_ = QRect(grid_->mapToGlobal(hover.topLeft()), hover.size() + QSize(1, 1));
    setFont(font);
    const int need =
        QFontMetrics(font).horizontalAdvance(QLatin1Char(' ') + text + QLatin1Char(' ')) + 2;
    if (textRect.width() >= need)
        return;  // it fits: no tip
    text_ = text;
    textColor_ = textColor;
    backColor_ = backColor;
    setGeometry(QRect(grid_->mapToGlobal(textRect.topLeft()), QSize(need, textRect.height())));
    show();
    raise();
}

void CCellTip::Hide()
{
    if (isVisible())
        hide();
}

void CCellTip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), backColor_.isValid() ? backColor_ : palette().color(QPalette::ToolTipBase));
    p.setPen(palette().color(QPalette::ToolTipText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(textColor_.isValid() ? textColor_ : palette().color(QPalette::ToolTipText));
    p.drawText(rect().adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QLatin1Char(' ') + text_);
}

void CCellTip::Forward(QEvent::Type type, const QMouseEvent& event)
{
    const QPointF global = event.globalPosition();
    const QPointF local = grid_->mapFromGlobal(global);
    QMouseEvent copy(type, local, global, event.button(), event.buttons(), event.modifiers());
    QApplication::sendEvent(grid_, &copy);
}

void CCellTip::mouseMoveEvent(QMouseEvent* event)
{
    if (hover_.contains(event->globalPosition().toPoint()))
        return;
    Hide();
    Forward(QEvent::MouseMove, *event);
}

void CCellTip::mousePressEvent(QMouseEvent* event)
{
    bool doubleClick = false;
    if (event->button() == Qt::LeftButton) {
        doubleClick =
            lastClick_.isValid() && lastClick_.elapsed() <= QApplication::doubleClickInterval();
        lastClick_.start();
    }
    Hide();
    Forward(doubleClick ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, *event);
}

void CCellTip::mouseReleaseEvent(QMouseEvent* event)
{
    Forward(QEvent::MouseButtonRelease, *event);
}

void CCellTip::mouseDoubleClickEvent(QMouseEvent* event)
{
    Hide();
    Forward(QEvent::MouseButtonDblClick, *event);
}

void CCellTip::wheelEvent(QWheelEvent* event)
{
    Hide();
    QWheelEvent copy(grid_->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                     event->pixelDelta(), event->angleDelta(), event->buttons(), event->modifiers(),
                     event->phase(), event->inverted());
    QApplication::sendEvent(grid_, &copy);
}

void CCellTip::leaveEvent(QEvent*)
{
    // Left straight out of the grid: nothing else would hide it.
    if (!hover_.contains(QCursor::pos()))
        Hide();
}
