// The skeds part of the main window: the skeds page, its file, and the firing of due skeds.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeSkedsPart(IMainWindowServices& services);
