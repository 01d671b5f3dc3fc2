// CSkinSlider: a slider painted with a stretched channel bitmap and a transparent thumb bitmap,
// the range limits written under the channel. With EnableNotify it reports the mouse to its
// dialog (0x200 move, 0x201/0x202 left, 0x204/0x205 right). Moving the thumb repaints only the
// old and new thumb areas.
#pragma once

#include "SkinBitmap.h"
#include "SliderGeometry.h"

#include <QSlider>

#include <string>

class CSkinSlider : public QSlider {
    Q_OBJECT
public:
    explicit CSkinSlider(QWidget* parent = nullptr);
    CSkinSlider(Qt::Orientation orientation, QWidget* parent = nullptr);

    void InitSkin(int channelBitmapId);
    // 1 when the cursor cannot be loaded.
    int LoadHandCursor();
    void EnableNotify() { notify_ = true; }
    void SetShowLabels(bool on);
    void SetPosRedraw(int pos);
    virtual std::string GetPosText() const;

    QRect ThumbRect() const;
    bool IsDragging() const { return dragging_; }
    bool IsThumbPressed() const { return thumbPressed_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void sliderChange(SliderChange change) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    void Notify(int code);
    void RenderBackground();
    SliderRect Channel() const;
    int ValueAt(const QPoint& p) const;

    CSkinTransBitmap thumb_;
    CSkinTransBitmap thumbActive_;
    CSkinBackgroundBitmap background_;
    int channelBitmapId_ = 0;
    bool skinned_ = false;
    bool dragging_ = false;
    bool thumbPressed_ = false;
    bool vertical_ = false;
    bool showLabels_ = true;
    bool notify_ = false;
    int dragOffset_ = 0;
    QRect lastThumb_;
};

// CMySlider: the recorder bar's position slider. Every left-button press is announced first
// (leftButtonPressed), so the owner can tell a user's seek from its own position updates, and
// every release after it (leftButtonReleased), on the thumb or the track alike. A click on the
// track moves the thumb to the place clicked. It shows cursor 207.
class CMySlider : public QSlider {
    Q_OBJECT
public:
    explicit CMySlider(QWidget* parent = nullptr);

signals:
    void leftButtonPressed();
    void leftButtonReleased();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};
