#include "LevelMeter.h"

#include "ControlFactory.h"
#include "QtColor.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

CLevelMeter::CLevelMeter(QWidget* parent) : QWidget(parent)
{
    config_.bkColor = FromQColor(SystemColor(palette(), SysColor::BtnFace));
    // The bars cover the whole widget.
    setAttribute(Qt::WA_OpaquePaintEvent);
    ResetControl();
}

bool CLevelMeter::Create(const QRect& rect, QWidget* parent)
{
    if (!parent)
        return false;
    setParent(parent);
    setGeometry(rect);
    SetControlId(this, kControlId);
    show();
    return true;
}

void CLevelMeter::SetBackgroundColor(COLORREF color)
{
    config_.bkColor = color;
}

void CLevelMeter::SetMeterBands(int bands, int leds)
{
    config_.numBands = std::max(bands, 1);
    config_.numLeds = leds;
    ResetControl();
}

void CLevelMeter::SetRangeValue(int medium, int high, int max)
{
    config_.mediumThreshold = medium;
    config_.highThreshold = high;
    config_.maxValue = max;
}

void CLevelMeter::ShowGrid()
{
    if (config_.showGrid)
        return;
    config_.showGrid = true;
    update();
}

bool CLevelMeter::SetData(const int* value)
{
    if (!value || bands_.empty())
        return false;
    Band& b = bands_.front();
    b.value = *value;
    if (b.peak < *value) {
        b.peak = *value;
        b.hold = falloffHold_;
    }
    update();
    return true;
}

void CLevelMeter::ResetControl()
{
    bands_.assign(static_cast<std::size_t>(std::max(config_.numBands, 1)),
                  Band{config_.maxValue, config_.maxValue, falloffHold_});
    update();
}

void CLevelMeter::paintEvent(QPaintEvent*)
{
    // Painted off-screen first, then copied, so a fast series of readings does not flicker.
    QPixmap off(size());
    off.fill(ToQColor(config_.bkColor));
    {
        QPainter p(&off);
        p.setPen(QPen(ToQColor(DarkenColor(config_.bkColor, 15)), 1));
        for (std::size_t i = 0; i < bands_.size(); ++i) {
            const auto segs =
                meter::LayoutBand(config_, static_cast<int>(i), bands_[i].value, width(), height());
            for (const auto& s : segs) {
                const QRect r(QPoint(s.rect.left, s.rect.top),
                              QPoint(s.rect.right - 1, s.rect.bottom - 1));
                p.fillRect(r, ToQColor(s.color));
                if (s.gridLine) {
                    const int y = (s.rect.top + s.rect.bottom) / 2;
                    p.drawLine(s.rect.left, y, s.rect.right - 1, y);
                }
            }
        }
    }
    QPainter(this).drawPixmap(0, 0, off);
}
