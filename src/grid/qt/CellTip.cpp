#include "CellTip.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

CCellTip::CCellTip(QWidget* grid)
    : QWidget(grid, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), m_grid(grid) {
    setObjectName(QStringLiteral("CellTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
}

void CCellTip::Show(const QRect& textRect, const QString& text, const QRect& hoverRect, const QFont& font,
                    const QColor& textColor, const QColor& backColor) {
    if (textRect.isEmpty() || isVisible()) return;
    // Only for the window the user works in.
    if (!QApplication::activeWindow() && !QApplication::focusWidget()) return;
    const QRect hover = hoverRect.isEmpty() ? textRect : hoverRect;
    m_hover = QRect(m_grid->mapToGlobal(hover.topLeft()), hover.size() + QSize(1, 1));
    setFont(font);
    const int need = QFontMetrics(font).horizontalAdvance(QLatin1Char(' ') + text + QLatin1Char(' ')) + 2;
    if (textRect.width() >= need) return;  // it fits: no tip
    m_text = text;
    m_textColor = textColor;
    m_backColor = backColor;
    setGeometry(QRect(m_grid->mapToGlobal(textRect.topLeft()), QSize(need, textRect.height())));
    show();
    raise();
}

void CCellTip::Hide() {
    if (isVisible()) hide();
}

void CCellTip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_backColor.isValid() ? m_backColor : palette().color(QPalette::ToolTipBase));
    p.setPen(palette().color(QPalette::ToolTipText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(m_textColor.isValid() ? m_textColor : palette().color(QPalette::ToolTipText));
    p.drawText(rect().adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QLatin1Char(' ') + m_text);
}

void CCellTip::Forward(QEvent::Type type, const QMouseEvent& event) {
    const QPointF global = event.globalPosition();
    const QPointF local = m_grid->mapFromGlobal(global);
    QMouseEvent copy(type, local, global, event.button(), event.buttons(), event.modifiers());
    QApplication::sendEvent(m_grid, &copy);
}

void CCellTip::mouseMoveEvent(QMouseEvent* event) {
    if (m_hover.contains(event->globalPosition().toPoint())) return;
    Hide();
    Forward(QEvent::MouseMove, *event);
}

void CCellTip::mousePressEvent(QMouseEvent* event) {
    bool doubleClick = false;
    if (event->button() == Qt::LeftButton) {
        doubleClick = m_lastClick.isValid() && m_lastClick.elapsed() <= QApplication::doubleClickInterval();
        m_lastClick.start();
    }
    Hide();
    Forward(doubleClick ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, *event);
}

void CCellTip::mouseReleaseEvent(QMouseEvent* event) { Forward(QEvent::MouseButtonRelease, *event); }

void CCellTip::mouseDoubleClickEvent(QMouseEvent* event) {
    Hide();
    Forward(QEvent::MouseButtonDblClick, *event);
}

void CCellTip::wheelEvent(QWheelEvent* event) {
    Hide();
    QWheelEvent copy(m_grid->mapFromGlobal(event->globalPosition()), event->globalPosition(), event->pixelDelta(),
                     event->angleDelta(), event->buttons(), event->modifiers(), event->phase(), event->inverted());
    QApplication::sendEvent(m_grid, &copy);
}

void CCellTip::leaveEvent(QEvent*) {
    // Left straight out of the grid: nothing else would hide it.
    if (!m_hover.contains(QCursor::pos())) Hide();
}
