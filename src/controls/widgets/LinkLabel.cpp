#include "LinkLabel.h"

#include "FrameworkContext.h"
#include "Language.h"
#include "LinkErrors.h"
#include "MessageBoxRequest.h"
#include "QtColor.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QUrl>

namespace {
constexpr int kHoverTimerMs = 100;

int DesktopOpen(const QString& link)
{
    const QUrl url = QUrl::fromUserInput(link);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return linkerror::kFileNotFound;
    return QDesktopServices::openUrl(url) ? 33 : linkerror::kNoAssociation;
}

CLinkLabel::Opener& CurrentOpener()
{
    static CLinkLabel::Opener opener;
    return opener;
}
}  // namespace

void CLinkLabel::SetOpener(Opener opener)
{
    CurrentOpener() = std::move(opener);
}

CLinkLabel::CLinkLabel(QWidget* parent) : QLabel(parent)
{
    Init();
}

CLinkLabel::CLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    Init();
}

void CLinkLabel::Init()
{
    setMouseTracking(true);
    if (url_.isEmpty())
        url_ = text();
    if (text().isEmpty())
        setText(url_);
    setCursor(Qt::PointingHandCursor);
    setToolTip(url_);
    ApplyUnderline();
    Resize();
}

void CLinkLabel::SetURL(const QString& url)
{
    url_ = url;
    if (text().isEmpty())
        setText(url);
    setToolTip(url_);
    Resize();
}

void CLinkLabel::SetVisited()
{
    visited_ = true;
    update();
}

void CLinkLabel::SetUnderline(int mode)
{
    if (mode == underlineMode_)
        return;
    underlineMode_ = mode;
    ApplyUnderline();
}

void CLinkLabel::ApplyUnderline()
{
    QFont f = font();
    f.setUnderline(underlineMode_ == 1 || (underlineMode_ == -1 && overControl_));
    setFont(f);
    update();
}

void CLinkLabel::Resize()
{
    if (!adjustToFit_)
        return;
    QFont f = font();
    f.setUnderline(true);
    const QFontMetrics fm(f);
    const QSize want =
        fm.size(Qt::TextSingleLine, text()) + QSize(2 * frameWidth(), 2 * frameWidth());
    const QRect old = geometry();
    QRect r(old.topLeft(), want);
    if (alignment() & Qt::AlignHCenter)
        r.moveLeft(old.center().x() - want.width() / 2);
    else if (alignment() & Qt::AlignRight)
        r.moveRight(old.right());
    if (alignment() & Qt::AlignVCenter)
        r.moveTop(old.center().y() - want.height() / 2);
    setMinimumSize(want);
    setGeometry(r);
}

COLORREF CLinkLabel::CurrentColor() const
{
    if (overControl_)
        return hoverColor_;
    return visited_ ? visitedColor_ : linkColor_;
}

void CLinkLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), SystemColor(palette(), SysColor::BtnFace));
    p.setFont(font());
    p.setPen(ToQColor(CurrentColor()));
    p.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}

void CLinkLabel::enterEvent(QEnterEvent* e)
{
    QLabel::enterEvent(e);
    if (overControl_)
        return;
    overControl_ = true;
    ApplyUnderline();
    hoverTimer_.start(kHoverTimerMs, this);
}

void CLinkLabel::mouseMoveEvent(QMouseEvent* e)
{
    QLabel::mouseMoveEvent(e);
    if (overControl_ || !rect().contains(e->position().toPoint()))
        return;
    overControl_ = true;
    ApplyUnderline();
    hoverTimer_.start(kHoverTimerMs, this);
}

void CLinkLabel::EndHover()
{
    hoverTimer_.stop();
    if (!overControl_)
        return;
    overControl_ = false;
    ApplyUnderline();
}

void CLinkLabel::timerEvent(QTimerEvent* e)
{
    if (e->timerId() != hoverTimer_.timerId())
        return QLabel::timerEvent(e);
    if (!rect().contains(mapFromGlobal(QCursor::pos())))
        EndHover();
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        OpenLink();
}

void CLinkLabel::OpenLink()
{
    EndHover();
    const Opener& opener = CurrentOpener();
    const int result = opener ? opener(url_) : DesktopOpen(url_);
    if (result > 32) {
        SetVisited();
        return;
    }
    QApplication::beep();
    MessageBoxRequest box;
    box.text = linkerror::Message(result);
    box.style = mb::kIconExclamation;
    framework::Language().ShowMessage(box);
}
