// The tool windows' places: the list windows where they were left, else by the main window like
// the recorder bar (below it) and the TX/RX window (beside it); where the screen has no room
// by the main window, over its tab page, never over the readout and the operating controls.
#include "CorvaneDlg.h"

#include "Ini.h"
#include "PageTabCtrl.h"
#include "Profile.h"
#include "RadioLink.h"
#include "ScreenFit.h"
#include "StoredFrame.h"
#include "ToolWindowPlace.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGroupBox>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTabBar>
#include <QWindow>

#include <algorithm>
#include <chrono>

namespace {
namespace rc = radio::ctl;
constexpr int kTxRxId = 249;
constexpr int kRecorderId = 252;
constexpr int kMemoriesId = 230;
constexpr int kRadioMemoriesId = 4002;
// How often a tool window is sent again where a window manager put it elsewhere.
constexpr int kMoveRequests = 3;
// Frames that overlap by this much or less only touch.
constexpr int kTouching = 3;
// How long a window manager's answer to a move may take; a move after that is the user's.
constexpr std::chrono::seconds kAnswerTime(2);

constexpr mainwnd::ToolKind KindOf(int index)
{
    return index == 0 ? mainwnd::ToolKind::Beside
                      : (index == 1 ? mainwnd::ToolKind::Below : mainwnd::ToolKind::Free);
}

QRect OnScreenRect(const QWidget* w)
{
    return w == nullptr ? QRect() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// The controls of the group holding `w`, without its title and margins.
QRect GroupControls(QWidget* w)
{
    while (w != nullptr && qobject_cast<QGroupBox*>(w) == nullptr)
        w = w->parentWidget();
    QRect controls;
    if (w != nullptr && w->isVisible())
        for (const QWidget* c : w->findChildren<QWidget*>())
            if (c->isVisible())
                controls |= OnScreenRect(c);
    return controls;
}
}  // namespace

int CCorvaneDlg::ToolIndex(int id)
{
    const auto* at = std::find(std::begin(kToolOrder), std::end(kToolOrder), id);
    return static_cast<int>(at - std::begin(kToolOrder));
}

void CCorvaneDlg::PlaceMemoryWindow(int show)
{
    PlaceListWindow(kMemoriesId, settings::reg::MemorieRect, toolWindowShownOnce_[0], show);
}

void CCorvaneDlg::PlaceMemoryRadioWindow(int show)
{
    PlaceListWindow(kRadioMemoriesId, settings::reg::MemorieRadioRect, toolWindowShownOnce_[1],
                    show);
}

// The first showing takes the stored place (kept on a visible screen), else one by the main
// window; later ones keep where the user left the window.
void CCorvaneDlg::PlaceListWindow(int id, const settings::RegRect& place, bool& shownOnce, int show)
{
    QWidget* w = ToolWindow(id);
    if (w == nullptr)
        return;
    if (show != 1) {
        w->hide();
        return;
    }
    ToolFollow& follow = follow_[ToolIndex(id)];
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
            follow = ToolFollow::ByMain();
        }
    }
    if (IsPlaceholder(w))
        return;
    // By the main window only once it is shown.
    if (follow.followsMain && !isVisible())
        showPending_[ToolIndex(id)] = true;
    else
        ShowPlacedToolWindow(id);
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
    showPending_[0] = false;
    if (!TxRxInUse()) {
        w->hide();
        return;
    }
    const bool front = ini_.GetInt(settings::setup::PTTFront) != 0;
    // Changing the flag hides a shown window: only when it changes.
    if (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != front)
        w->setWindowFlag(Qt::WindowStaysOnTopHint, front);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    // Once beside the main window it stays there: the place it stores on the way is its own.
    ToolFollow& follow = follow_[0];
    if (!follow.followsMain) {
        const auto r = profile_.GetRect(settings::reg::TxRxRect);
        if (r && (r->bottom != 0 || r->top != 0)) {
            follow = ToolFollow::AtStored(OnScreen(QPoint(r->left, r->top)));
            CStoredFrame::RestorePlace(*w, follow.storedCorner);
        } else {
            follow = ToolFollow::ByMain();
        }
    }
    // Before the main window is shown it has no place to stand beside: shown with it.
    if (isVisible())
        ShowPlacedToolWindow(kTxRxId);
    else
        showPending_[0] = true;
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
    if (r && (r->bottom != 0 || r->top != 0)) {
        follow_[1] = ToolFollow::AtStored(OnScreen(QPoint(r->left, r->top)));
        CStoredFrame::RestorePlace(*w, follow_[1].storedCorner);
    } else {
        follow_[1] = ToolFollow::ByMain();
    }
    // Before the main window is shown it has no place to stand by: shown with it.
    if (isVisible())
        ShowPlacedToolWindow(kRecorderId);
    else
        showPending_[1] = true;
}

void CCorvaneDlg::ShowPlacedToolWindow(int id)
{
    QWidget* w = ToolWindow(id);
    const int index = ToolIndex(id);
    if (w == nullptr || IsPlaceholder(w))
        return;
    showPending_[index] = false;
    ToolFollow& follow = follow_[index];
    // A stored place on the main window gives way; where the main window has no stored place
    // either, it makes room as at a first start.
    if (follow.stored && isVisible()
        && StoredPlaceGivesWay(index, QRect(w->pos(), WholeFrame(*w)))) {
        follow = ToolFollow::ByMain();
        if (!placeStored_)
            MakeRoomForToolWindows();
    }
    // A list window larger than the screen (a scaled screen) is made to fit it.
    const QScreen* s = screen();
    if (follow.followsMain && s != nullptr) {
        const QSize frame = WholeFrame(*w) - w->size();
        const QSize room = ClientRoom(*w, s->availableGeometry().size(), frame);
        if (!room.isEmpty() && (w->width() > room.width() || w->height() > room.height()))
            w->resize(w->size().boundedTo(room));
    }
    if (follow.followsMain && isVisible()) {
        const QPoint at =
            mainwnd::PlaceToolFrame(KindOf(index), WholeFrame(*w), PlaceContextFor(index));
        // Not framed yet, it is put there again once it is.
        if (w->isVisible())
            w->move(at);
        else
            CStoredFrame::RestorePlace(*w, at);
    }
    w->show();
    PlaceToolWindowsByMain();
}

bool CCorvaneDlg::StoredPlaceGivesWay(int index, const QRect& frame) const
{
    const mainwnd::PlaceContext c = PlaceContextFor(index);
    const auto covers = [](const QRect& r, const std::vector<QRect>& parts) {
        return std::any_of(parts.begin(), parts.end(),
                           [&](const QRect& p) { return r.intersects(p); });
    };
    const auto onOthers = [&](const QRect& r) {
        return r.intersects(c.main) || covers(r, c.others);
    };
    // Frames that only touch at an edge (a pixel's rounding) cover nothing.
    const QRect inner = frame.adjusted(kTouching, kTouching, -kTouching, -kTouching);
    if (!onOthers(inner))
        return false;
    const QRect fresh(mainwnd::PlaceToolFrame(KindOf(index), frame.size(), c), frame.size());
    return !onOthers(fresh)
           || (KindOf(index) != mainwnd::ToolKind::Free && covers(inner, c.keep)
               && !covers(fresh, c.keep));
}

mainwnd::PlaceContext CCorvaneDlg::PlaceContextFor(int index) const
{
    mainwnd::PlaceContext c;
    if (const QScreen* s = screen()) {
        const QRect free = s->availableGeometry();
        c.screen = QRect(free.topLeft(), ClientRoom(*this, free.size(), QSize(0, 0)));
    }
    c.main = frameGeometry();
    // Only what shows of the window's parts counts: the window may scroll.
    const QRect client = OnScreenRect(this);
    // The readout: the digits with their step buttons; the field is wider than its digits.
    const QRect field = OnScreenRect(Item(rc::kFrequency));
    QRect digits;
    for (const int* ids : {mainwnd::kPlusIds, mainwnd::kMinusIds})
        for (int i = 0; i < 9; ++i)
            if (const QWidget* digit = Item(ids[i]); digit != nullptr && digit->isVisible())
                digits |= OnScreenRect(digit);
    const QRect readout =
        digits.isEmpty()
            ? field
            : digits | (field & QRect(digits.left(), field.top(), digits.width(), field.height()));
    c.keep.push_back(readout & client);
    for (const QWidget* part : {Item(mainwnd::kMode), Item(rc::kFilter)})
        if (part != nullptr && part->isVisible())
            c.keep.push_back(OnScreenRect(part) & client);
    for (QWidget* member : {Item(rc::kVfoA), Item(mainwnd::kBand), Item(rc::kDupPlus)})
        c.keep.push_back(GroupControls(member) & client);
    // The tabs stay in reach; the page below them is the least used part.
    if (const CPageTabCtrl* tabs = Tabs()) {
        const QRect bar = OnScreenRect(tabs->TabBar());
        c.keep.push_back(bar & client);
        QRect page = OnScreenRect(tabs);
        page.setTop(bar.bottom() + 1);
        c.spare = page & client;
    }
    // The TX/RX window and the recorder bar, which may be kept in front, leave the list
    // windows' buttons in sight.
    for (int id : {kMemoriesId, kRadioMemoriesId})
        if (const QWidget* list = ToolWindow(id);
            index < ToolIndex(kMemoriesId) && list != nullptr && list->isVisible())
            for (const QAbstractButton* b : list->findChildren<QAbstractButton*>())
                if (b->isVisible())
                    c.keep.push_back(OnScreenRect(b));
    // A pixel's gap: on a screen scaled by a fraction the edges round either way.
    for (QRect& part : c.keep)
        if (!part.isEmpty())
            part.adjust(-1, -1, 1, 1);
    for (int j = 0; j < static_cast<int>(std::size(kToolOrder)); ++j) {
        const QWidget* other = ToolWindow(kToolOrder[j]);
        if (j != index && other != nullptr && other->isVisible() && !IsPlaceholder(other)
            && (j < index || !follow_[j].followsMain))
            c.others.push_back(QRect(other->frameGeometry().topLeft(), WholeFrame(*other)));
    }
    return c;
}

void CCorvaneDlg::PlaceToolWindowsByMain(const QObject* answered)
{
    for (int index = 0; index < static_cast<int>(std::size(kToolOrder)); ++index)
        FollowMain(index, answered == ToolWindow(kToolOrder[index]));
}

void CCorvaneDlg::FollowMain(int index, bool answered)
{
    QWidget* w = ToolWindow(kToolOrder[index]);
    ToolFollow& follow = follow_[index];
    if ((!follow.followsMain && !follow.stored) || w == nullptr || !w->isVisible() || !isVisible()
        || isMinimized())
        return;
    const QRect frame = w->frameGeometry();
    // Where the window system says it went (Qt takes a move for done before it is, and hears
    // nothing more when it arrives there): at the place it was sent, it has arrived; at another
    // with the same frame, the user moved it and it stays there. Only a window manager's
    // answer to a move just asked for puts it elsewhere; it is asked again, a few times.
    // One at its stored place counts as moved by the user only once it had arrived there: on
    // its way it stands a frame's width off.
    if (answered && follow.placed.isValid() && frame.size() == follow.placed.size()) {
        const bool arrived = !follow.stored || follow.placed.topLeft() == follow.storedCorner;
        if (frame.topLeft() == follow.placed.topLeft()) {
            follow.requests = 0;
        } else if (arrived
                   && (follow.requests == 0
                       || std::chrono::steady_clock::now() - follow.asked > kAnswerTime)) {
            follow = {};
            return;
        } else if (follow.requests > 0) {
            --follow.requests;
        }
    }
    if (follow.stored) {
        follow.placed = frame;
        // Stored at another scale or for another screen: on the main window it gives way. Judged
        // where it was stored: until it is framed it may stand a frame's width off.
        if (!StoredPlaceGivesWay(index, QRect(follow.storedCorner, WholeFrame(*w))))
            return;
        follow = ToolFollow::ByMain();
    }
    const QPoint at =
        mainwnd::PlaceToolFrame(KindOf(index), WholeFrame(*w), PlaceContextFor(index));
    const bool send =
        frame.topLeft() != at && (follow.requests > 0 || at != follow.placed.topLeft());
    if (at != follow.placed.topLeft())
        follow.requests = kMoveRequests;
    follow.placed = QRect(at, frame.size());
    if (send) {
        follow.asked = std::chrono::steady_clock::now();
        const QScopedValueRollback<bool> moving(movingTool_, true);
        w->move(at);
    }
}

void CCorvaneDlg::StandAboveMain(QWidget& w) const
{
    // Not kept in front, a tool window is a transient of the main window: the window manager
    // keeps it above the main window, which a click never raises over it. One kept in front
    // stands above every window already, and stays when the main window is minimised.
    if (QWindow* handle = w.windowHandle())
        handle->setTransientParent(
            w.windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? nullptr : windowHandle());
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
    // below; both on the left, the bar at the top and the TX/RX window at the bottom. Where
    // both cannot, the TX/RX window alone.
    const QWidget* txRx = ToolWindow(kTxRxId);
    const QWidget* bar = ToolWindow(kRecorderId);
    QSize room;
    if (follow_[0].followsMain && txRx != nullptr && !IsPlaceholder(txRx))
        room = WholeFrame(*txRx);
    if (follow_[1].followsMain && bar != nullptr && !IsPlaceholder(bar)
        && !mainwnd::RoomBelow(main, WholeFrame(*bar), screenRoom)) {
        const QSize both = room.expandedTo(WholeFrame(*bar));
        if (room.isEmpty()
            || mainwnd::MainCornerWithRoomFor(main, both, screenRoom) != main.topLeft())
            room = both;
    }
    if (room.isEmpty())
        return;
    const QPoint at = mainwnd::MainCornerWithRoomFor(main, room, screenRoom);
    if (at != main.topLeft())
        handle->setFramePosition(at);
}

bool CCorvaneDlg::IsToolPlaceEvent(QObject* watched, const QEvent* event) const
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show)
        return false;
    return std::any_of(std::begin(kToolOrder), std::end(kToolOrder),
                       [&](int id) { return watched == ToolWindow(id); });
}
