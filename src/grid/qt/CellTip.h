// The title tip: a borderless pop-up showing the whole text of a truncated cell over it. It
// stays while the mouse is inside the cell and hands every click, and the move that leaves the
// cell, back to the grid (a quick second click as a double click).
#pragma once

#include <QElapsedTimer>
#include <QEvent>
#include <QFont>
#include <QWidget>

class CCellTip : public QWidget {
    Q_OBJECT
public:
    explicit CCellTip(QWidget* grid);

    // textRect and hoverRect in grid coordinates; an invalid colour takes the palette's.
    void Show(const QRect& textRect, const QString& text, const QRect& hoverRect, const QFont& font,
              const QColor& textColor, const QColor& backColor);
    void Hide();
    QString Text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Forward(QEvent::Type type, const QMouseEvent& event);

    QWidget* grid_;
    QRect hover_;  // global coordinates
    QString text_;
    QColor textColor_, backColor_;
    QElapsedTimer lastClick_;
};
