// The main window's part for its housekeeping: the information page and the About dialog, the
// utility page (backup, restore, start-up programs), the plug-in page, and the start-up
// programs launched at the end of the start-up.
#pragma once

#include "MainWindowPart.h"

#include <memory>

std::unique_ptr<IMainWindowPart> MakeUtilityPart(IMainWindowServices& services);
