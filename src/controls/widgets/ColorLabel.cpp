#include "ColorLabel.h"

#include "CommandCodes.h"
#include "CommandTarget.h"
#include "QtColor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

CColorLabel::CColorLabel(QWidget* parent) : QLabel(parent) {}

CColorLabel::CColorLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

COLORREF CColorLabel::Resolve(const std::optional<COLORREF>& c, bool text) const
{
    if (c)
        return *c;
    return FromQColor(SystemColor(palette(), text ? SysColor::BtnText : SysColor::BtnFace));
}

void CColorLabel::SetTextColor(COLORREF color)
{
    textColor_ = color == kSystemColor ? std::nullopt : std::optional<COLORREF>(color);
    update();
}

void CColorLabel::SetBkColor(COLORREF color)
{
    bkColor_ = color == kSystemColor ? std::nullopt : std::optional<COLORREF>(color);
    update();
}

void CColorLabel::SetBlinkTextColors()
{
    blinkTextColors_ = {COLORREF{0x0000FF}, COLORREF{0}};
}

void CColorLabel::SetBlinkBkColors(COLORREF first, COLORREF second)
{
    blinkBkColors_ = {first, second};
}

void CColorLabel::Restart()
{
    if (textBlink_ == 1 || bkBlink_ == 1)
        timer_.start(1000, this);
    else
        timer_.stop();
    update();
}

void CColorLabel::SetBlinkText(int mode)
{
    timer_.stop();
    textBlink_ = mode;
    textBlinkPhase_ = 0;
    Restart();
}

void CColorLabel::SetBlinkBk(int mode)
{
    timer_.stop();
    bkBlink_ = mode;
    bkBlinkPhase_ = 0;
    Restart();
}

COLORREF CColorLabel::CurrentTextColor() const
{
    return textBlink_ == 1
               ? Resolve(blinkTextColors_[static_cast<std::size_t>(textBlinkPhase_)], true)
               : Resolve(textColor_, true);
}

COLORREF CColorLabel::CurrentBkColor() const
{
    return bkBlink_ == 1 ? Resolve(blinkBkColors_[static_cast<std::size_t>(bkBlinkPhase_)], false)
                         : Resolve(bkColor_, false);
}

void CColorLabel::SetBlankWhenEmpty(bool on)
{
    blankWhenEmpty_ = on;
    update();
}

bool CColorLabel::IsBlank() const
{
    return blankWhenEmpty_ && bkBlink_ != 1 && text().isEmpty();
}

void CColorLabel::timerEvent(QTimerEvent* e)
{
    if (e->timerId() != timer_.timerId())
        return QLabel::timerEvent(e);
    if (textBlink_ == 1)
        textBlinkPhase_ ^= 1;
    if (bkBlink_ == 1)
        bkBlinkPhase_ ^= 1;
    update();
}

void CColorLabel::paintEvent(QPaintEvent*)
{
    if (IsBlank())
        return;
    QPainter p(this);
    p.fillRect(rect(), ToQColor(CurrentBkColor()));
    p.setPen(ToQColor(CurrentTextColor()));
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int flags = static_cast<int>(alignment());
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    p.drawText(r, flags, text());
}

void CColorLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton)
        framework::NotifyParent(this, ctl::kRButtonUp);
    QLabel::mouseReleaseEvent(e);
}
