// The software scan part of the main window: the scan page (154), its log file and recording.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeScanSoftPart(IMainWindowServices& services);
