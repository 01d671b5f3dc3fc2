#include "StoredFrame.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

CStoredFrame::CStoredFrame(QWidget& window, const QRect& frame) : window_(window), frame_(frame)
{
    // Not a child of the window: the window's own code walks its children.
    connect(&window, &QObject::destroyed, this, [this] { delete this; });
}

void CStoredFrame::Restore(QWidget& window, const QRect& frame, const QMargins& margins)
{
    const QSize inner = frame.size().shrunkBy(margins);
    window.resize(std::max(1, inner.width()), std::max(1, inner.height()));
    window.move(frame.topLeft());
    window.installEventFilter(new CStoredFrame(window, frame));
}

void CStoredFrame::RestorePlace(QWidget& window, QPoint frameCorner)
{
    window.move(frameCorner);
    window.installEventFilter(new CStoredFrame(window, QRect(frameCorner, QSize())));
}

bool CStoredFrame::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched != &window_
        || (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize))
        return false;
    const QRect outer = window_.frameGeometry();
    const QRect inner = window_.geometry();
    // Not framed yet (or never: no window manager, where the guess was no frame at all).
    if (!window_.isVisible() || outer == inner)
        return false;
    const QSize wrong = outer.size() - frame_.size();
    if (frame_.size().isValid() && !wrong.isNull())
        window_.resize(std::max(1, inner.width() - wrong.width()),
                       std::max(1, inner.height() - wrong.height()));
    // Placed before it was framed, the window itself went where its frame should be (or was
    // pushed back onto the screen, too large once framed). A window given only a place and
    // moved on since (making way for others) stays where it was moved.
    if (outer.topLeft() != frame_.topLeft()
        && (frame_.size().isValid() || inner.topLeft() == frame_.topLeft()))
        window_.move(frame_.topLeft());
    Done();
    return false;
}

void CStoredFrame::Done()
{
    window_.removeEventFilter(this);
    deleteLater();
}
