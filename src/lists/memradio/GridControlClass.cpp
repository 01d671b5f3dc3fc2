#include "GridControlClass.h"

#include "ControlFactory.h"
#include "GridWidget.h"

void RegisterGridControlClass()
{
    static const bool registered = [] {
        RegisterControlClass("CGridWidget", [](const ControlSpec&, QWidget* parent) -> QWidget* {
            return new CGridWidget(parent);
        });
        return true;
    }();
    (void)registered;
}
