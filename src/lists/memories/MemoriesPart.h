// The PC memories part of the main window: the memories window (230) and the main window's
// "Store" button, which stores the radio's state in the window's editor.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeMemoriesPart(IMainWindowServices& services);
