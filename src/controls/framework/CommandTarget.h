// How controls tell their dialog about clicks, changes and mouse events: the control calls
// NotifyParent(this, code), and the nearest enclosing command target (a dialog, a tab page or a
// tab control) receives OnCommand(control id, code).
#pragma once

class QWidget;

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // True when the command was handled.
    virtual bool DispatchCommand(int id, int code) = 0;
};

namespace framework {
// Sends (ControlId(control), code) to the first command target among the control's ancestors.
// False when none handled it.
bool NotifyParent(QWidget* control, int code);
// The same with an explicit id, starting at `from` itself when it is a command target.
bool SendCommand(QWidget* from, int id, int code);
}  // namespace framework
