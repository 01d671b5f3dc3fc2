// The memories part of the main window: the PC memories window (230), the radio memories window
// (4002), the memory groups page (146), and the main window's "Store" and "Store R." buttons,
// which store the radio's state in the editor of either window.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeMemoriesPart(IMainWindowServices& services);
