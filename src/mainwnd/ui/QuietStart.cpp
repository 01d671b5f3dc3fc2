#include "QuietStart.h"

#include "WindowIconic.h"

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <QWindow>

namespace {

constexpr Qt::WindowType kNoFocus = Qt::WindowDoesNotAcceptFocus;

}  // namespace

CQuietStart::CQuietStart(QWidget& mainWindow) : main_(&mainWindow)
{
    // Minimised from its first moment: whenever its window is made, it is made iconic.
    mainWindow.setWindowState(mainWindow.windowState() | Qt::WindowMinimized);
    mainWindow.setWindowFlag(kNoFocus, true);
    if (qApp != nullptr)
        qApp->installEventFilter(this);
}

CQuietStart::~CQuietStart()
{
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
    // On the window only: changing the widget's flags would hide it.
    if (main_ != nullptr) {
        if (QWindow* handle = main_->windowHandle())
            handle->setFlag(kNoFocus, false);
        else
            main_->setWindowFlag(kNoFocus, false);
    }
    for (QWidget* w : quieted_)
        if (w != nullptr && w->windowHandle() != nullptr)
            w->windowHandle()->setFlag(kNoFocus, false);
}

void CQuietStart::Minimise(QWidget& w)
{
    // Qt may take the window for minimised while the window manager mapped it normally.
    if (!w.isMinimized())
        w.showMinimized();
    else if (QWindow* handle = w.windowHandle(); handle != nullptr && w.isVisible())
        AskWindowManagerToIconify(*handle);
}

bool CQuietStart::eventFilter(QObject* watched, QEvent* event)
{
    // Shown, or restored by the window manager (beside a tool window): minimised again once the
    // event is over.
    if (watched == main_
        && (event->type() == QEvent::Show
            || (event->type() == QEvent::WindowStateChange && !main_->isMinimized()))) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (main_ != nullptr)
                    Minimise(*main_);
            },
            Qt::QueuedConnection);
        return false;
    }
    // The show event comes before the window is mapped: in time for the window manager. What
    // the user opens afterwards takes the focus again.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        QWindow* handle = w->windowHandle();
        if (w->isWindow() && w != main_ && handle != nullptr
            && !handle->flags().testFlag(kNoFocus)) {
            handle->setFlag(kNoFocus, true);
            quieted_.push_back(w);
        }
    }
    return false;
}
