// How the program's windows stack. A dialog or message box comes above every window of the
// program, those kept in front (the TX/RX window) included; a box asked for by a window opens
// over that window, so showing it does not push the window behind the main window.
#pragma once

#include <QPointer>

class QWidget;

namespace framework {

// While it lives, boxes opened without an owner open over `window` (the window a command or a
// question is about). Scopes nest; the innermost visible one counts.
class WorkWindowScope {
public:
    explicit WorkWindowScope(QWidget* window);
    ~WorkWindowScope();
    WorkWindowScope(const WorkWindowScope&) = delete;
    WorkWindowScope& operator=(const WorkWindowScope&) = delete;

private:
    QPointer<QWidget> previous_;
};

// The window of the innermost scope when it is shown; null otherwise.
QWidget* WorkWindow();

// Shows `window`, raises it above the program's other windows and gives it the focus: a window
// the program asks the user to work in.
void BringToWork(QWidget* window);

// Installs, once, the rule that a modal window shown while a window of the program is kept in
// front is kept in front as well.
void KeepDialogsAbove();

}  // namespace framework
