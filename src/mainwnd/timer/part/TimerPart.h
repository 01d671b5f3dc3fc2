// The timer part of the main window: the one-second timer's work and the clocks.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeTimerPart(IMainWindowServices& services);
