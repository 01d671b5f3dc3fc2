#include "SkinSlider.h"

#include "CommandCodes.h"
#include "CommandTarget.h"
#include "ControlResources.h"
#include "QtColor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

CSkinSlider::CSkinSlider(QWidget* parent) : CSkinSlider(Qt::Horizontal, parent) {}

CSkinSlider::CSkinSlider(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSkinSlider::InitSkin(int channelBitmapId)
{
    vertical_ = orientation() == Qt::Vertical;
    dragging_ = false;
    channelBitmapId_ = channelBitmapId;
    thumbActive_.Load(res::kBitmapThumbActive);
    thumb_.Load(res::kBitmapThumb);
    skinned_ = true;
    RenderBackground();
    lastThumb_ = ThumbRect();
    update();
}

int CSkinSlider::LoadHandCursor()
{
    const auto c = res::LoadCursor(res::kCursorHand);
    if (!c)
        return 1;
    setCursor(*c);
    return 0;
}

void CSkinSlider::SetShowLabels(bool on)
{
    showLabels_ = on;
    update();
}

void CSkinSlider::RenderBackground()
{
    if (!skinned_)
        return;
    background_.Render(size(), res::LoadBitmap(channelBitmapId_), thumb_.Width(),
                       SystemColor(palette(), SysColor::BtnFace));
}

SliderRect CSkinSlider::Channel() const
{
    return {0, 0, width(), height()};
}

QRect CSkinSlider::ThumbRect() const
{
    const SliderRect r = slider::ThumbRect(Channel(), thumb_.Width(), thumb_.Height(), value(),
                                           minimum(), maximum(), vertical_);
    return QRect(r.left, r.top, r.Width(), r.Height());
}

void CSkinSlider::SetPosRedraw(int pos)
{
    setValue(pos);
}

std::string CSkinSlider::GetPosText() const
{
    return std::to_string(value());
}

void CSkinSlider::sliderChange(SliderChange change)
{
    if (change != SliderValueChange || !skinned_)
        return QSlider::sliderChange(change);
    // Only where the thumb was and where it is now.
    const QRect now = ThumbRect();
    update(lastThumb_.united(now));
    lastThumb_ = now;
}

void CSkinSlider::resizeEvent(QResizeEvent* e)
{
    QSlider::resizeEvent(e);
    RenderBackground();
    lastThumb_ = ThumbRect();
}

void CSkinSlider::paintEvent(QPaintEvent* e)
{
    if (!skinned_)
        return QSlider::paintEvent(e);
    if (e->rect().isEmpty())
        return;
    QPainter p(this);
    p.drawPixmap(e->rect(), background_.Pixmap(), e->rect());
    const QRect t = ThumbRect();
    const CSkinTransBitmap& bm = (thumbPressed_ && !thumbActive_.IsNull()) ? thumbActive_ : thumb_;
    bm.Draw(p, t.left(), t.top());
    if (showLabels_) {
        p.setPen(SystemColor(palette(), SysColor::BtnText));
        const QFontMetrics fm(font());
        const int baseline = height() - fm.descent();
        const int left = 13 - 6;
        const int right = width() - 13 + 6;
        const QString lo = QString::fromStdString(slider::GroupedNumber(minimum()));
        const QString hi = QString::fromStdString(slider::GroupedNumber(maximum()));
        p.drawText(left, baseline, lo);
        p.drawText(right - fm.horizontalAdvance(hi), baseline, hi);
    }
}

void CSkinSlider::Notify(int code)
{
    if (notify_)
        framework::NotifyParent(this, code);
}

int CSkinSlider::ValueAt(const QPoint& pt) const
{
    return slider::PositionAt(Channel(), pt.x(), pt.y(), minimum(), maximum(), vertical_);
}

void CSkinSlider::mousePressEvent(QMouseEvent* e)
{
    if (!skinned_) {
        QSlider::mousePressEvent(e);
    } else if (e->button() == Qt::LeftButton) {
        const QPoint pt = e->position().toPoint();
        dragging_ = true;
        const QRect t = ThumbRect();
        thumbPressed_ = t.contains(pt);
        update(t);
        Notify(ctl::kLButtonDown);
        if (thumbPressed_) {
            const QPoint centre = t.center();
            dragOffset_ = vertical_ ? pt.y() - centre.y() : pt.x() - centre.x();
            setSliderDown(true);
        } else {
            // A click beside the thumb pages towards the point, as trackbars do.
            const int target = ValueAt(pt);
            triggerAction(target > value() ? SliderPageStepAdd : SliderPageStepSub);
        }
        update(ThumbRect());
    } else if (e->button() == Qt::RightButton) {
        Notify(ctl::kRButtonDown);
    }
    e->accept();
}

void CSkinSlider::mouseMoveEvent(QMouseEvent* e)
{
    if (!skinned_)
        return QSlider::mouseMoveEvent(e);
    if (dragging_ && thumbPressed_) {
        QPoint pt = e->position().toPoint();
        if (vertical_)
            pt.ry() -= dragOffset_;
        else
            pt.rx() -= dragOffset_;
        setSliderPosition(ValueAt(pt));
    }
    Notify(ctl::kMouseMove);
    e->accept();
}

void CSkinSlider::mouseReleaseEvent(QMouseEvent* e)
{
    if (!skinned_)
        return QSlider::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) {
        const bool wasPressed = thumbPressed_;
        dragging_ = false;
        thumbPressed_ = false;
        Notify(ctl::kLButtonUp);
        if (wasPressed)
            setSliderDown(false);
        update(ThumbRect());
    } else if (e->button() == Qt::RightButton) {
        Notify(ctl::kRButtonUp);
    }
    e->accept();
}

void CSkinSlider::keyPressEvent(QKeyEvent* e)
{
    QSlider::keyPressEvent(e);
    update();
}

QSize CSkinSlider::sizeHint() const
{
    const int h = std::max(thumb_.Height(), 22) + QFontMetrics(font()).height();
    return vertical_ ? QSize(h, 160) : QSize(160, h);
}

QSize CSkinSlider::minimumSizeHint() const
{
    return sizeHint().boundedTo(QSize(60, sizeHint().height()));
}

CMySlider::CMySlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    if (const auto c = res::LoadCursor(res::kCursorAvailable))
        setCursor(*c);
}

void CMySlider::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QSlider::mousePressEvent(e);
        return;
    }
    emit leftButtonPressed();
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    const QPoint at = e->position().toPoint();
    if (!handle.contains(at)) {
        // A click on the track puts the thumb there, so the press takes hold of it as of a
        // thumb: the place clicked is the place chosen, and a drag goes on from it.
        const QRect groove =
            style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
        const bool across = orientation() == Qt::Horizontal;
        const int length = across ? handle.width() : handle.height();
        const int from = across ? groove.x() : groove.y();
        const int span = (across ? groove.width() : groove.height()) - length;
        const int pos = (across ? at.x() : at.y()) - from - length / 2;
        setSliderPosition(
            QStyle::sliderValueFromPosition(minimum(), maximum(), pos, span, opt.upsideDown));
    }
    QSlider::mousePressEvent(e);
}

void CMySlider::mouseReleaseEvent(QMouseEvent* e)
{
    QSlider::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton)
        emit leftButtonReleased();
}
