// The scans part of the main window: the radio-scan page (141) and its settings.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeScansPart(IMainWindowServices& services);
