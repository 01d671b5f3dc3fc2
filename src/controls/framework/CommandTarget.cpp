#include "CommandTarget.h"

#include "ControlFactory.h"
#include "WindowStacking.h"

#include <QWidget>

namespace framework {

bool SendCommand(QWidget* from, int id, int code)
{
    for (QWidget* w = from; w; w = w->parentWidget()) {
        if (auto* target = dynamic_cast<ICommandTarget*>(w)) {
            // A box the command asks opens over the window it came from.
            WorkWindowScope scope(w->window());
            return target->DispatchCommand(id, code);
        }
    }
    return false;
}

bool NotifyParent(QWidget* control, int code)
{
    if (!control)
        return false;
    return SendCommand(control->parentWidget(), ControlId(control), code);
}

}  // namespace framework
