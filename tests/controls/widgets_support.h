// Shared by the custom control tests: one QApplication, a dialog stand-in that records what its
// controls report, and small input helpers.
#pragma once

#include "CommandTarget.h"
#include "ControlFactory.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <utility>
#include <vector>

namespace ctltest {

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "controls_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A parent window that takes OnCommand like a dialog.
class Recorder : public QWidget, public ICommandTarget {
public:
    Recorder() { resize(400, 300); }
    bool DispatchCommand(int id, int code) override
    {
        commands.emplace_back(id, code);
        return true;
    }
    std::vector<std::pair<int, int>> commands;
};

inline void Key(QWidget* w, int key, const QString& text = {},
                Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

inline void Type(QWidget* w, const QString& text)
{
    for (QChar c : text)
        Key(w, c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_unknown, QString(c));
}

inline void Mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void Click(QWidget* w, Qt::MouseButton button = Qt::LeftButton, QPoint at = {5, 5})
{
    Mouse(w, QEvent::MouseButtonPress, button, at);
    Mouse(w, QEvent::MouseButtonRelease, button, at);
}

}  // namespace ctltest
