// The main window on the screen: it fits the screen it is shown on, comes back where it was left
// (a stored place off every screen comes back onto one), and the frequency digits grow with
// the window.
#include "CorvaneDlg.h"

#include "NumEdit.h"
#include "Profile.h"
#include "QuietStart.h"
#include "ScreenFit.h"

#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <algorithm>

namespace {
namespace rc = radio::ctl;
// The digits grow up to twice their size with the window, no further.
constexpr double kMaxDisplayGrowth = 2.0;
}  // namespace

void CCorvaneDlg::RestoreWindowPosition()
{
    const auto rect = profile_.GetRect(settings::reg::MainWindowRect);
    if (!rect || rect->bottom == rect->top || rect->right == rect->left)
        return;
    placeStored_ = true;
    const QPoint stored(rect->left, rect->top);
    const QPoint at = OnScreen(stored);
    // A place on the screen is kept; the frame's corner goes there once the frame is known.
    if (at == stored)
        storedCorner_ = stored;
    move(at);
    ShowAtStart();
}

void CCorvaneDlg::StartMinimised()
{
    startMinimised_ = true;
    quietStart_ = std::make_unique<CQuietStart>(*this);
}

void CCorvaneDlg::ShowAtStart()
{
    if (startMinimised_ && !isVisible())
        showMinimized();
    else
        show();
}

QPoint CCorvaneDlg::OnScreen(QPoint at)
{
    // A place stored for another screen layout stays reachable.
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return at;
    const QRect avail = screen->availableGeometry();
    at.setX(std::clamp(at.x(), avail.left(), std::max(avail.left(), avail.right() - 100)));
    at.setY(std::clamp(at.y(), avail.top(), std::max(avail.top(), avail.bottom() - 100)));
    return at;
}

QMargins CCorvaneDlg::FrameMargins() const
{
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void CCorvaneDlg::FitToScreen()
{
    const QScreen* s = screen();
    if (s == nullptr || !isVisible() || isMinimized() || isMaximized() || isFullScreen())
        return;
    const QRect avail = s->availableGeometry();
    const QMargins frame = FrameMargins();
    fittedFrame_ = frame;
    // At a stored place the window keeps its place and gets smaller to fit from there; else it
    // keeps its size and moves. Never larger than the free part of the screen (the tab pages
    // scroll), never below the minimum its layout needs.
    const QPoint corner = storedCorner_.value_or(frameGeometry().topLeft());
    QRect room = avail;
    if (storedCorner_)
        room.setTopLeft(
            QPoint(std::max(corner.x(), avail.left()), std::max(corner.y(), avail.top())));
    const QSize fitted = size()
                             .boundedTo(ClientRoom(
                                 *this, room.size(),
                                 QSize(frame.left() + frame.right(), frame.top() + frame.bottom())))
                             .expandedTo(minimumSize());
    if (fitted != size())
        resize(fitted);
    const QSize whole = fitted.grownBy(frame);
    QPoint at = corner;
    at.setX(std::clamp(at.x(), avail.left(),
                       std::max(avail.left(), avail.right() + 1 - whole.width())));
    at.setY(std::clamp(at.y(), avail.top(),
                       std::max(avail.top(), avail.bottom() + 1 - whole.height())));
    if (at == frameGeometry().topLeft())
        return;
    // The corner of the frame, where the window manager has one.
    if (QWindow* handle = windowHandle())
        handle->setFramePosition(at);
    else
        move(at);
}

void CCorvaneDlg::RefitWhenFramed()
{
    // The window manager adds its frame after the window is shown, and its size may come
    // later still: fit again once it is known.
    if (!isVisible() || FrameMargins() == fittedFrame_)
        return;
    // Only the frame may make the window too tall for the screen: then it scrolls.
    ScrollWhenLarger();
    FitToScreen();
    if (FrameMargins() != QMargins())
        storedCorner_.reset();
}

void CCorvaneDlg::showEvent(QShowEvent* event)
{
    CMyFontDialog::showEvent(event);
    const bool first = displayWidth_ <= 0;
    if (first) {
        // The first time: as large as the window wants to be (the pages whole), which Qt
        // limits to two thirds of the screen; FitToScreen keeps it on the screen.
        displayWidth_ = sizeHint().width();
        resize(sizeHint().expandedTo(minimumSize()));
    }
    FitToScreen();
    if (first && !placeStored_)
        MakeRoomForToolWindows();
    // Once the window system has the main window: a tool window mapped before it would not
    // be taken for its transient.
    QMetaObject::invokeMethod(
        this,
        [this] {
            // In their order: each keeps clear of those placed before it.
            for (int index = 0; index < static_cast<int>(std::size(kToolOrder)); ++index)
                if (showPending_[index] && isVisible())
                    ShowPlacedToolWindow(kToolOrder[index]);
            PlaceToolWindowsByMain();
        },
        Qt::QueuedConnection);
}

void CCorvaneDlg::resizeEvent(QResizeEvent* event)
{
    CMyFontDialog::resizeEvent(event);
    ScaleDisplay();
    // A window grown by its own layout stays on the screen as well.
    FitToScreen();
    PlaceToolWindowsByMain();
}

void CCorvaneDlg::ScaleDisplay()
{
    CNumEdit* freq = NumField(rc::kFrequency);
    // A window that scrolls has no room to spare.
    if (freq == nullptr || displayPoints_ <= 0 || displayWidth_ <= 0 || ScrollsOnScreen())
        return;
    // As much as the window is wider than it needs to be, up to twice the size...
    const double wide = static_cast<double>(width()) / displayWidth_;
    int points = static_cast<int>(displayPoints_ * std::clamp(wide, 1.0, kMaxDisplayGrowth));
    const int current = freq->font().pointSize();
    // ...as long as the taller field finds room in the window's present height: growing never
    // pushes the window's own buttons away.
    const int spare = height() - minimumSizeHint().height();
    const int padding = freq->sizeHint().height() - freq->fontMetrics().height();
    const auto heightAt = [&](int pt) {
        QFont f = freq->font();
        f.setPointSize(pt);
        return QFontMetrics(f).height() + padding;
    };
    while (points > current && heightAt(points) - freq->sizeHint().height() > spare)
        --points;
    if (points == current)
        return;
    freq->SetPointFont(points, GetFontFace());
    AlignDigitButtons(*freq);
}
