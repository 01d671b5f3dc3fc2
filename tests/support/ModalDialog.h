// Drives a modal dialog from inside its own loop: the dialog is handled once it is up, however
// long a busy machine takes to show it.
#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

namespace testing_support {

// Runs `open`, which shows a modal T, and hands the dialog to `onDialog` once it is the active
// modal widget; `onDialog` must close it. True when the dialog came.
template <typename T>
bool WithModal(const std::function<void()>& open, const std::function<void(T*)>& onDialog)
{
    bool seen = false;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()); dialog && !seen) {
            seen = true;
            watch.stop();
            onDialog(dialog);
        }
    });
    watch.start();
    open();
    watch.stop();
    return seen;
}

}  // namespace testing_support
