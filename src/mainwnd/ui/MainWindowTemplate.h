// The dialog templates of the main window (102) and of its no-port dialog (304).
#pragma once

#include "DialogTemplate.h"

namespace mainwnd {

DialogTemplate MainWindowTemplate();
DialogTemplate NoPortTemplate();
// Registers both (again), so they exist before the first window opens.
void RegisterMainWindowTemplates();

}  // namespace mainwnd
