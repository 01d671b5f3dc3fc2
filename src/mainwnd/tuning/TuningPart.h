// The tuning part of the main window: the band table and stacking, the tuning controls, the band
// scale page, the band menu and the choose-VFO dialog.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeTuningPart(IMainWindowServices& services);
