// The DDE service as a part of the main window: it publishes the radio's state to other programs
// and runs their Execute commands through the controller.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeDdePart(IMainWindowServices& services);
