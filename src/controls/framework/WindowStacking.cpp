#include "WindowStacking.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace framework {
namespace {

QPointer<QWidget>& Current()
{
    static QPointer<QWidget> window;
    return window;
}

bool KeptInFront(const QWidget* w)
{
    return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// Another shown window of the program is kept in front.
bool OtherInFront(const QWidget* self)
{
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != self && w->isVisible() && KeptInFront(w))
            return true;
    return false;
}

class DialogsAbove : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        QWindow* handle = w->windowHandle();
        if (!w->isWindow() || handle == nullptr || !w->isModal() || KeptInFront(w))
            return false;
        // On the window only, not the widget: changing a widget's flags while it is being
        // shown would hide it again. Set each time, as a dialog may be shown again later.
        const bool front = OtherInFront(w);
        if (handle->flags().testFlag(Qt::WindowStaysOnTopHint) != front)
            handle->setFlag(Qt::WindowStaysOnTopHint, front);
        return false;
    }
};

}  // namespace

WorkWindowScope::WorkWindowScope(QWidget* window) : previous_(Current())
{
    Current() = window;
}

WorkWindowScope::~WorkWindowScope()
{
    Current() = previous_;
}

QWidget* WorkWindow()
{
    QWidget* w = Current().data();
    return w != nullptr && w->isVisible() ? w->window() : nullptr;
}

void BringToWork(QWidget* window)
{
    if (window == nullptr)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void KeepDialogsAbove()
{
    static DialogsAbove* filter = nullptr;
    if (filter != nullptr || qApp == nullptr)
        return;
    filter = new DialogsAbove;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
}

}  // namespace framework
