#include "FlatButton.h"

#include "ButtonLook.h"
#include "CommandCodes.h"
#include "CommandTarget.h"
#include "ControlResources.h"
#include "FrameworkContext.h"
#include "Language.h"
#include "QtColor.h"

#include <QApplication>
#include <QBitmap>
#include <QEnterEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>

namespace {
constexpr int kTransmitReceiveTip = 1240;

QPixmap Transformed(const QPixmap& src, COLORREF (*pixel)(COLORREF), COLORREF keep)
{
    QImage img = src.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb px = img.pixel(x, y);
            const COLORREF c = RgbColor(qRed(px), qGreen(px), qBlue(px));
            if (c == keep)
                continue;
            const COLORREF t = pixel(c);
            img.setPixel(x, y, qRgba(RedOf(t), GreenOf(t), BlueOf(t), qAlpha(px)));
        }
    }
    return QPixmap::fromImage(img);
}

QPixmap OutLook(const QPixmap& in, int code, COLORREF keep)
{
    switch (code) {
    case CFlatButton::kDarkerImage: return Transformed(in, buttonlook::DarkerPixel, keep);
    case CFlatButton::kGreyImage: return Transformed(in, buttonlook::GreyPixel, keep);
    default: return {};
    }
}

// The bitmap with its transparent-colour pixels cleared, as the mask drawing leaves them.
QPixmap Masked(const QPixmap& pm, COLORREF transparent)
{
    if (pm.isNull())
        return pm;
    QPixmap out = pm;
    out.setMask(pm.createMaskFromColor(ToQColor(transparent), Qt::MaskInColor));
    return out;
}
}  // namespace

CFlatButton::CFlatButton(QWidget* parent) : QPushButton(parent)
{
    Init();
}

CFlatButton::CFlatButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    Init();
}

CFlatButton::~CFlatButton() = default;

void CFlatButton::Init()
{
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    connect(this, &QPushButton::clicked, this, &CFlatButton::OnClicked);
}

void CFlatButton::SetButtonType(int type)
{
    isCheckBox_ = type == kCheckBox;
    isDefault_ = type == kDefPushButton;
    if (isDefault_)
        setDefault(true);
    update();
}

void CFlatButton::FreeImages()
{
    iconIn_ = iconOut_ = bitmapIn_ = bitmapOut_ = QPixmap();
}

int CFlatButton::SetIcon(int in, int out)
{
    const QPixmap inPm = res::LoadIcon(in);
    if (inPm.isNull())
        return 1;
    if (out > 0) {
        const QPixmap outPm = res::LoadIcon(out);
        if (outPm.isNull())
            return 1;
        return SetIcon(inPm, outPm);
    }
    return SetIcon(inPm, out);
}

int CFlatButton::SetIcon(const QPixmap& in, const QPixmap& out)
{
    FreeImages();
    iconIn_ = in;
    iconOut_ = out;
    update();
    return in.isNull() ? 1 : 0;
}

int CFlatButton::SetIcon(const QPixmap& in, int outCode)
{
    // Icons keep their black pixels black.
    return SetIcon(in, OutLook(in, outCode, 0));
}

int CFlatButton::SetBitmaps(int in, int out)
{
    const QPixmap inPm = res::LoadBitmap(in);
    if (inPm.isNull())
        return 1;
    FreeImages();
    bitmapIn_ = inPm;
    if (out > 0) {
        bitmapOut_ = res::LoadBitmap(out);
        if (bitmapOut_.isNull())
            return 1;
    } else {
        bitmapOut_ = OutLook(inPm, out, transparentColor_);
    }
    update();
    return 0;
}

int CFlatButton::SetBitmaps(const QPixmap& in, int outCode)
{
    if (in.isNull())
        return 1;
    FreeImages();
    bitmapIn_ = in;
    bitmapOut_ = OutLook(in, outCode, transparentColor_);
    update();
    return 0;
}

void CFlatButton::SetFlat()
{
    isFlat_ = false;
    update();
}

int CFlatButton::SetAlign(int align)
{
    if (align < 0 || align > 3)
        return 4;
    align_ = align;
    update();
    return 0;
}

void CFlatButton::SetDrawBorder(bool on)
{
    drawBorder_ = on;
    update();
}

void CFlatButton::SetDrawTransparent(bool on)
{
    drawTransparent_ = on;
    if (!on)
        background_ = QPixmap();
    update();
}

void CFlatButton::SetColor(int index, COLORREF color, bool repaint)
{
    if (index < 0 || index >= static_cast<int>(colors_.size()))
        return;
    colors_[static_cast<std::size_t>(index)] = color;
    if (repaint)
        update();
}

bool CFlatButton::HasOwnColor(int index) const
{
    return index >= 0 && index < static_cast<int>(colors_.size())
           && colors_[static_cast<std::size_t>(index)].has_value();
}

QColor CFlatButton::Color(int index) const
{
    if (HasOwnColor(index))
        return ToQColor(*colors_[static_cast<std::size_t>(index)]);
    return SystemColor(palette(), index % 2 == 0 ? SysColor::BtnFace : SysColor::BtnText);
}

COLORREF CFlatButton::GetColor(int index) const
{
    return FromQColor(Color(index));
}

void CFlatButton::SetDefaultColors(bool repaint)
{
    colors_.fill(std::nullopt);
    if (repaint)
        update();
}

void CFlatButton::LightenColor()
{
    SetColor(kBkIn, buttonlook::LightenColor(GetColor(kBkIn)));
}

void CFlatButton::SetCheck(int check)
{
    if (!isCheckBox_)
        return;
    checked_ = check != 0;
    update();
}

int CFlatButton::SetCursor(int cursorId)
{
    if (cursorId == 0) {
        unsetCursor();
        return 0;
    }
    const auto cursor = res::LoadCursor(cursorId);
    if (!cursor)
        return 1;
    setCursor(*cursor);
    return 0;
}

void CFlatButton::SetTooltipText(const std::string& text)
{
    setToolTip(QString::fromStdString(text));
}

void CFlatButton::SetTooltipText(const char* text)
{
    if (text)
        SetTooltipText(std::string(text));
}

void CFlatButton::SetTooltipTextId()
{
    SetTooltipText(framework::Language().LoadString(kTransmitReceiveTip));
}

int CFlatButton::SetMenu(QMenu* menu, QWidget* owner)
{
    menu_.reset(menu);
    menuOwner_ = owner;
    return 0;
}

QAction* CFlatButton::AddMenuCommand(QMenu* menu, int id, const QString& text)
{
    QAction* a = menu->addAction(text);
    a->setData(id);
    return a;
}

void CFlatButton::SizeToContent()
{
    const QPixmap& img = !iconIn_.isNull() ? iconIn_ : bitmapIn_;
    if (img.isNull())
        return;
    resize(img.size());
    imageMargin_ = QPoint(0, 0);
}

int CFlatButton::CaptureBackground(QWidget* parent)
{
    if (!drawTransparent_ || !parent)
        return 5;
    background_ = parent->grab(geometry());
    return 0;
}

void CFlatButton::OnClicked()
{
    setFocus(Qt::MouseFocusReason);
    if (isCheckBox_) {
        checked_ = !checked_;
        update();
    }
    if (!menu_)
        return;
    menuShown_ = true;
    repaint();
    // The menu runs its own event loop, in which the window holding this button may go.
    QPointer<CFlatButton> self(this);
    QAction* chosen = menu_->exec(mapToGlobal(rect().bottomLeft()));
    if (!self)
        return;
    menuShown_ = false;
    update();
    if (chosen && menuOwner_) {
        const int id = chosen->data().toInt();
        QPointer<QWidget> owner = menuOwner_;
        // Posted, as the owner may close the window that holds this button.
        QTimer::singleShot(0, owner, [owner, id] {
            if (owner)
                framework::SendCommand(owner, id, ctl::kBnClicked);
        });
    }
}

void CFlatButton::Hover(bool on)
{
    if (mouseOnButton_ == on)
        return;
    mouseOnButton_ = on;
    update();
}

void CFlatButton::enterEvent(QEnterEvent* e)
{
    QPushButton::enterEvent(e);
    if (!isFlat_)
        return;
    if ((e->buttons() & Qt::LeftButton) && !mouseOnButton_)
        return;
    if (alwaysTrack_ || QApplication::activeWindow())
        Hover(true);
}

void CFlatButton::mouseMoveEvent(QMouseEvent* e)
{
    QPushButton::mouseMoveEvent(e);
    if (!isFlat_)
        return;
    if ((e->buttons() & Qt::LeftButton) && !mouseOnButton_)
        return;
    const bool inside = rect().contains(e->position().toPoint());
    Hover(inside && (alwaysTrack_ || QApplication::activeWindow()));
}

void CFlatButton::leaveEvent(QEvent* e)
{
    QPushButton::leaveEvent(e);
    Hover(false);
}

void CFlatButton::focusOutEvent(QFocusEvent* e)
{
    QPushButton::focusOutEvent(e);
    Hover(false);
}

void CFlatButton::changeEvent(QEvent* e)
{
    QPushButton::changeEvent(e);
    if (e->type() == QEvent::EnabledChange && !isEnabled())
        Hover(false);
    if (e->type() == QEvent::ActivationChange && !isActiveWindow())
        Hover(false);
    if (e->type() == QEvent::PaletteChange) {
        // Only the colours left to the system follow it; colours set by the program stay.
        background_ = QPixmap();
        update();
    }
}

bool CFlatButton::event(QEvent* e)
{
    if (e->type() == QEvent::ApplicationPaletteChange) {
        background_ = QPixmap();
        update();
    }
    return QPushButton::event(e);
}

QSize CFlatButton::sizeHint() const
{
    QSize s = QPushButton::sizeHint();
    const QPixmap& img = !iconIn_.isNull() ? iconIn_ : bitmapIn_;
    if (!img.isNull()) {
        if (align_ == 1)
            s = QSize(std::max(s.width(), img.width() + 2 * imageMargin_.x()),
                      s.height() + img.height());
        else
            s = QSize(s.width() + img.width() + imageMargin_.x(),
                      std::max(s.height(), img.height() + 2 * imageMargin_.y()));
    }
    return s;
}

bool CFlatButton::IsCheckedLook() const
{
    return isCheckBox_ && checked_;
}

bool CFlatButton::IsPressedLook() const
{
    if (isCheckBox_)
        return isDown() || checked_;
    return isDown() || (menuShown_ && menu_);
}

void CFlatButton::OnDrawBackground(QPainter& p, QRect& r)
{
    const bool focused = hasFocus();
    if (!isFlat_ && (focused || isDefault_)) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    QColor fill = (mouseOnButton_ || IsPressedLook()) ? Color(kBkIn)
                  : focused                           ? Color(kBkFocus)
                                                      : Color(kBkOut);
    // A check that is on sits a shade deeper than one merely hovered.
    if (IsCheckedLook()) {
        const QColor shade = SystemColor(palette(), SysColor::BtnShadow);
        fill = QColor((3 * fill.red() + shade.red()) / 4, (3 * fill.green() + shade.green()) / 4,
                      (3 * fill.blue() + shade.blue()) / 4);
    }
    p.fillRect(r, fill);
}

void CFlatButton::OnDrawBorder(QPainter& p, const QRect& r)
{
    const QPalette& pal = palette();
    const bool pressed = IsPressedLook();
    auto thin = [&](const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    };
    if (IsCheckedLook()) {
        // Sunken two pixels deep, border or not: a check that is on never looks like one off.
        thin(SystemColor(pal, SysColor::DkShadow3D), SystemColor(pal, SysColor::BtnHighlight));
        const QRect in = r.adjusted(1, 1, -1, -1);
        p.setPen(SystemColor(pal, SysColor::BtnShadow));
        p.drawLine(in.topLeft(), in.topRight());
        p.drawLine(in.topLeft(), in.bottomLeft());
        p.setPen(SystemColor(pal, SysColor::Light3D));
        p.drawLine(in.bottomLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomRight());
        return;
    }
    if (pressed) {
        if (isFlat_) {
            if (drawBorder_)
                thin(SystemColor(pal, SysColor::BtnShadow),
                     SystemColor(pal, SysColor::BtnHighlight));
        } else {
            p.setPen(SystemColor(pal, SysColor::BtnShadow));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        return;
    }
    if (!isFlat_) {
        thin(SystemColor(pal, SysColor::BtnHighlight), SystemColor(pal, SysColor::DkShadow3D));
        const QRect in = r.adjusted(1, 1, -1, -1);
        p.setPen(SystemColor(pal, SysColor::Light3D));
        p.drawLine(in.topLeft(), in.topRight());
        p.drawLine(in.topLeft(), in.bottomLeft());
        p.setPen(SystemColor(pal, SysColor::BtnShadow));
        p.drawLine(in.bottomLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomRight());
    } else if (mouseOnButton_ && drawBorder_) {
        thin(SystemColor(pal, SysColor::BtnHighlight), SystemColor(pal, SysColor::BtnShadow));
    }
}

QRect CFlatButton::ImageRect(const QSize& size, bool hasCaption, const QRect& item, QRect& caption,
                             bool pressed) const
{
    const buttonlook::Rect it{item.left(), item.top(), item.right() + 1, item.bottom() + 1};
    const auto lay = buttonlook::LayoutImage(it, size.width(), size.height(), imageMargin_.x(),
                                             imageMargin_.y(), align_, hasCaption);
    caption = QRect(QPoint(lay.caption.left, lay.caption.top),
                    QPoint(lay.caption.right - 1, lay.caption.bottom - 1));
    QRect r(lay.image.left, lay.image.top, size.width(), size.height());
    if (pressed && !isCheckBox_)
        r.translate(pressedOffset_);
    return r;
}

void CFlatButton::DrawIcon(QPainter& p, bool hasCaption, const QRect& item, QRect& caption,
                           bool pressed, bool disabled)
{
    const bool outLook = isCheckBox_ ? !checked_ : (!pressed && !mouseOnButton_);
    DrawImage(p, (outLook && !iconOut_.isNull()) ? iconOut_ : iconIn_, hasCaption, item, caption,
              pressed, disabled);
}

void CFlatButton::DrawBitmap(QPainter& p, bool hasCaption, const QRect& item, QRect& caption,
                             bool pressed, bool disabled)
{
    const bool outLook = isCheckBox_ ? !checked_ : (!pressed && !mouseOnButton_);
    const QPixmap pm =
        Masked((outLook && !bitmapOut_.isNull()) ? bitmapOut_ : bitmapIn_, transparentColor_);
    DrawImage(p, pm, hasCaption, item, caption, pressed, disabled);
}

void CFlatButton::DrawImage(QPainter& p, const QPixmap& pm, bool hasCaption, const QRect& item,
                            QRect& caption, bool pressed, bool disabled)
{
    const QRect r = ImageRect(pm.size(), hasCaption, item, caption, pressed);
    if (disabled) {
        QStyleOption opt;
        opt.initFrom(this);
        p.drawPixmap(r.topLeft(), style()->generatedIconPixmap(QIcon::Disabled, pm, &opt));
    } else {
        p.drawPixmap(r.topLeft(), pm);
    }
}

void CFlatButton::DrawText(QPainter& p, const QString& text, const QRect&, const QRect& caption,
                           bool pressed, bool disabled)
{
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    QRect r = caption;
    if (pressed)
        r.translate(pressedOffset_);
    if (disabled && !HasOwnColor(kFgOut) && !HasOwnColor(kBkOut)) {
        // The system's embossed look belongs to the system's button face.
        p.setPen(SystemColor(palette(), SysColor::BtnHighlight));
        p.drawText(r.translated(1, 1), flags, text);
        p.setPen(SystemColor(palette(), SysColor::BtnShadow));
        p.drawText(r, flags, text);
        return;
    }
    if (disabled) {
        // Own colours (a dark scheme): white embossing would outshine the enabled caption, so the
        // caption fades halfway into the face instead.
        const QColor fg = Color(kFgOut);
        const QColor bk = Color(kBkOut);
        p.setPen(QColor((fg.red() + bk.red()) / 2, (fg.green() + bk.green()) / 2,
                        (fg.blue() + bk.blue()) / 2));
        p.drawText(r, flags, text);
        return;
    }
    p.setPen((mouseOnButton_ || pressed) ? Color(kFgIn)
             : hasFocus()                ? Color(kFgFocus)
                                         : Color(kFgOut));
    p.drawText(r, flags, text);
}

void CFlatButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const bool pressed = IsPressedLook();
    const bool disabled = !isEnabled();
    QRect item = rect();
    if (drawTransparent_) {
        if (!background_.isNull())
            p.drawPixmap(0, 0, background_);
    } else {
        OnDrawBackground(p, item);
    }
    OnDrawBorder(p, item);
    const QString caption = text();
    const bool hasCaption = !caption.isEmpty();
    QRect captionRect = item;
    if (!iconIn_.isNull())
        DrawIcon(p, hasCaption, item, captionRect, pressed, disabled);
    else if (!bitmapIn_.isNull())
        DrawBitmap(p, hasCaption, item, captionRect, pressed, disabled);
    if (hasCaption)
        DrawText(p, caption, item, captionRect, pressed, disabled);
    if (hasFocus() && (!isFlat_ || drawFlatFocus_)) {
        QStyleOptionFocusRect fo;
        fo.initFrom(this);
        fo.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fo, &p, this);
    }
}

void COnOffButton::SetOnOffColors(COLORREF on, COLORREF off)
{
    onColor_ = on;
    offColor_ = off;
}

void COnOffButton::SetOn(bool on)
{
    isOn_ = on ? 1 : 0;
    const COLORREF c = on ? onColor_ : offColor_;
    SetColor(kFgIn, c);
    SetColor(kFgOut, c);
    SetColor(kFgFocus, c);
}

QAction* COnOffButton::FindMenuItem(int commandId) const
{
    if (!Menu())
        return nullptr;
    for (QAction* a : Menu()->actions())
        if (!a->isSeparator() && a->data().isValid() && a->data().toInt() == commandId)
            return a;
    return nullptr;
}

void COnOffButton::ModifyMenuItem(int commandId, int newId, const QString& text)
{
    if (QAction* a = FindMenuItem(commandId)) {
        a->setData(newId);
        a->setText(text);
    }
}

void COnOffButton::RemoveMenuItem(int commandId)
{
    if (QAction* a = FindMenuItem(commandId)) {
        Menu()->removeAction(a);
        delete a;
    }
}

QString COnOffButton::GetMenuItemText(int commandId) const
{
    QAction* a = FindMenuItem(commandId);
    return a ? a->text() : QString();
}

void ApplyColourScheme(COnOffButton& b, const ColourScheme& s)
{
    b.SetCursor(res::kCursorAvailable);
    b.SetFlat();
    for (int i : {CFlatButton::kBkIn, CFlatButton::kBkOut, CFlatButton::kBkFocus})
        b.SetColor(i, s.bkgLight, false);
    b.SetColor(CFlatButton::kFgIn, s.textLight, false);
    b.SetColor(CFlatButton::kFgOut, s.text, false);
    b.SetColor(CFlatButton::kFgFocus, s.text, false);
    b.SetOnOffColors(s.checkOn, s.text);
    // A button that is on keeps showing it.
    b.SetOn(b.IsOn());
}
