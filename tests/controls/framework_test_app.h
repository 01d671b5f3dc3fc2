// Shared by the dialog framework tests: one QApplication for the test program, and helpers that
// drive modal dialogs from inside their own event loop.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace fwtest {

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "framework_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Runs `step` once the modal loop that is about to start is running.
inline void WhenModal(std::function<void()> step)
{
    QTimer::singleShot(0, &App(), std::move(step));
}

// Calls `onBox` with the next message box as soon as it is the active modal widget, then closes
// the box. Gives up (onBox gets null) after `tries` polls so a missing box fails the test
// instead of hanging it.
inline void WhenMessageBox(std::function<void(QMessageBox*)> onBox, int tries = 500)
{
    QTimer::singleShot(10, &App(), [onBox = std::move(onBox), tries]() mutable {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            onBox(box);
            if (box->isVisible())
                box->done(0);
        } else if (tries > 0) {
            WhenMessageBox(std::move(onBox), tries - 1);
        } else {
            onBox(nullptr);
        }
    });
}

}  // namespace fwtest
