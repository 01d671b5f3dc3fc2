// A window put back where its frame was stored: the stored rectangle is the frame's (title bar
// and borders included), so the window's own size is that less the frame, which is known only
// once the window manager has framed the window; until then a place given is the window's own, so
// it is given again then.
#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

class CStoredFrame : public QObject {
public:
    // Places `window` so that its frame covers `frame`, guessing the frame from `margins` (those
    // of a window already framed alike); corrected once the window's own frame is known. Call
    // once per window.
    static void Restore(QWidget& window, const QRect& frame, const QMargins& margins);
    // Places `window` so that its frame's corner is `frameCorner`, once the frame is known too,
    // unless it was moved meanwhile.
    static void RestorePlace(QWidget& window, QPoint frameCorner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CStoredFrame(QWidget& window, const QRect& frame);
    void Done();

    QWidget& window_;
    QRect frame_;
};
