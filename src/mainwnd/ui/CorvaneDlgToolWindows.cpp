// The tool windows' places: the list windows where they were left, the recorder bar under the
// main window, and the TX/RX window beside it.
#include "CorvaneDlg.h"

#include "Ini.h"
#include "Profile.h"
#include "RadioLink.h"
#include "StoredFrame.h"
#include "ToolWindowPlace.h"

#include <QEvent>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {
constexpr int kTxRxId = 249;
constexpr int kRecorderId = 252;
}  // namespace

void CCorvaneDlg::PlaceMemoryWindow(int show)
{
    PlaceListWindow(230, settings::reg::MemorieRect, toolWindowShownOnce_[0], show);
}

void CCorvaneDlg::PlaceMemoryRadioWindow(int show)
{
    PlaceListWindow(4002, settings::reg::MemorieRadioRect, toolWindowShownOnce_[1], show);
}

// The first showing takes the stored place (kept on a visible screen); later ones keep where the
// user left the window.
void CCorvaneDlg::PlaceListWindow(int id, const settings::RegRect& place, bool& shownOnce, int show)
{
    QWidget* w = ToolWindow(id);
    if (w == nullptr)
        return;
    if (show != 1) {
        w->hide();
        return;
    }
    if (!shownOnce) {
        shownOnce = true;
        const auto r = profile_.GetRect(place);
        if (r && (r->bottom != 0 || r->top != 0)) {
            // The stored rectangle is the frame's; the window manager frames it as it framed
            // the main window.
            const QPoint at = OnScreen(QPoint(r->left, r->top));
            CStoredFrame::Restore(*w, QRect(at.x(), at.y(), r->right - r->left, r->bottom - r->top),
                                  isVisible() ? FrameMargins() : QMargins());
        } else {
            w->move(0, 0);
        }
    }
    if (!IsPlaceholder(w))
        w->show();
}

bool CCorvaneDlg::TxRxInUse() const
{
    return link_->Settings().pttPort != 0 || link_->DriverSupportsPtt();
}

void CCorvaneDlg::PlaceTxRxWindow()
{
    QWidget* w = ToolWindow(kTxRxId);
    if (w == nullptr)
        return;
    txRxShowPending_ = false;
    if (!TxRxInUse()) {
        w->hide();
        return;
    }
    const bool front = ini_.GetInt(settings::setup::PTTFront) != 0;
    // Changing the flag hides a shown window: only when it changes.
    if (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != front)
        w->setWindowFlag(Qt::WindowStaysOnTopHint, front);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    if (!txRxWatched_) {
        // Its frame comes from the window manager after it is shown: placed again then.
        w->installEventFilter(this);
        txRxWatched_ = true;
    }
    // Once beside the main window it stays there: the place it stores on the way is its own.
    if (!txRxFollow_.followsMain) {
        const auto r = profile_.GetRect(settings::reg::TxRxRect);
        if (r && (r->bottom != 0 || r->top != 0)) {
            w->move(OnScreen(QPoint(r->left, r->top)));
        } else {
            txRxFollow_.followsMain = true;
            txRxFollow_.placed = QRect();
        }
    }
    // Before the main window is shown it has no place to stand beside: shown with it.
    if (isVisible())
        ShowTxRxWindow();
    else
        txRxShowPending_ = true;
}

void CCorvaneDlg::ShowTxRxWindow()
{
    QWidget* w = ToolWindow(kTxRxId);
    if (w == nullptr || IsPlaceholder(w))
        return;
    // Where the main window has no stored place either, it makes room as at a first start.
    if (ClearOfMain(*w, txRxFollow_) && !placeStored_)
        MakeRoomForToolWindows();
    w->show();
    PlaceTxRxBesideMain();
}

bool CCorvaneDlg::ClearOfMain(const QWidget& w, ToolFollow& follow, const QWidget* other) const
{
    if (follow.followsMain || !isVisible())
        return false;
    const QRect stored(w.pos(), WholeFrame(w));
    const bool onOther =
        other != nullptr && other->isVisible() && stored.intersects(other->frameGeometry());
    if (!stored.intersects(frameGeometry()) && !onOther)
        return false;
    follow.followsMain = true;
    follow.placed = QRect();
    return true;
}

void CCorvaneDlg::PlaceTxRxBesideMain()
{
    FollowMain(ToolWindow(kTxRxId), txRxFollow_,
               [](const QRect& main, QSize tool, const QRect& screen) {
                   return mainwnd::ToolFrameBeside(main, tool, screen);
               });
    FollowMain(ToolWindow(kRecorderId), recorderFollow_, &mainwnd::ToolFrameBelow);
}

void CCorvaneDlg::FollowMain(QWidget* w, ToolFollow& follow,
                             QPoint (*place)(const QRect&, QSize, const QRect&))
{
    if (!follow.followsMain || w == nullptr || !w->isVisible() || !isVisible() || isMinimized())
        return;
    const QRect frame = w->frameGeometry();
    // Moved by the user (same frame, another place): it stays where it was put.
    if (follow.placed.isValid() && frame.size() == follow.placed.size()
        && frame.topLeft() != follow.placed.topLeft()) {
        follow.followsMain = false;
        return;
    }
    const QScreen* s = screen();
    if (s == nullptr)
        return;
    const QPoint at = place(frameGeometry(), WholeFrame(*w), s->availableGeometry());
    follow.placed = QRect(at, frame.size());
    if (frame.topLeft() != at)
        w->move(at);
}

QSize CCorvaneDlg::WholeFrame(const QWidget& w) const
{
    // Not framed yet: the window manager will frame it as it framed the main window.
    const QRect frame = w.frameGeometry();
    return frame == w.geometry() ? w.size().grownBy(FrameMargins()) : frame.size();
}

void CCorvaneDlg::MakeRoomForToolWindows()
{
    QWindow* handle = windowHandle();
    const QScreen* s = screen();
    if (handle == nullptr || s == nullptr)
        return;
    const QRect screenRoom = s->availableGeometry();
    // Where the fit to the screen has just put the frame.
    const QRect main(handle->framePosition(), frameGeometry().size());
    // The TX/RX window stands beside the main window, the recorder bar too where it has no room
    // below; both on the left, the bar at the top and the TX/RX window at the bottom.
    const QWidget* txRx = ToolWindow(kTxRxId);
    const QWidget* bar = ToolWindow(kRecorderId);
    QSize room;
    if (txRxFollow_.followsMain && txRx != nullptr && !IsPlaceholder(txRx))
        room = WholeFrame(*txRx);
    if (recorderFollow_.followsMain && bar != nullptr && !IsPlaceholder(bar)
        && !mainwnd::RoomBelow(main, WholeFrame(*bar), screenRoom))
        room = room.expandedTo(WholeFrame(*bar));
    if (room.isEmpty())
        return;
    const QPoint at = mainwnd::MainCornerWithRoomFor(main, room, screenRoom);
    if (at != main.topLeft())
        handle->setFramePosition(at);
}

bool CCorvaneDlg::IsTxRxPlaceEvent(QObject* watched, const QEvent* event) const
{
    const QEvent::Type type = event->type();
    return (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)
           && (watched == ToolWindow(kTxRxId) || watched == ToolWindow(kRecorderId));
}

void CCorvaneDlg::PlaceAudioRecorderWindow()
{
    QWidget* w = ToolWindow(kRecorderId);
    if (w == nullptr)
        return;
    // The recorder bar is in use only once the audio part provides it.
    // Without audio support for this run the bar is not in use either.
    if (IsPlaceholder(w) || link_->Settings().recorderEnabled == 0) {
        w->hide();
        return;
    }
    const bool front = ini_.GetInt(settings::audiorecorder::Front) != 0;
    w->setWindowFlag(Qt::WindowStaysOnTopHint, front);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    // Where the user put it, else below the main window as long as the user leaves it there.
    const auto r = profile_.GetRect(settings::reg::AudioRecorderRect);
    recorderFollow_ = {};
    if (r && (r->bottom != 0 || r->top != 0))
        w->move(OnScreen(QPoint(r->left, r->top)));
    else
        recorderFollow_.followsMain = true;
    if (!recorderWatched_) {
        // Its frame comes from the window manager after it is shown: placed again then.
        w->installEventFilter(this);
        recorderWatched_ = true;
    }
    // Before the main window is shown it has no place to stand by: shown with it.
    if (!isVisible()) {
        recorderShowPending_ = true;
        return;
    }
    ShowRecorderBar();
}

void CCorvaneDlg::ShowRecorderBar()
{
    QWidget* w = ToolWindow(kRecorderId);
    if (w == nullptr)
        return;
    ClearOfMain(*w, recorderFollow_, ToolWindow(kTxRxId));
    if (recorderFollow_.followsMain)
        if (const QScreen* s = screen())
            w->move(
                mainwnd::ToolFrameBelow(frameGeometry(), WholeFrame(*w), s->availableGeometry()));
    w->show();
    PlaceTxRxBesideMain();
}
