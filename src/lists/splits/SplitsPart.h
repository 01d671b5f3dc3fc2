// The split part of the main window: the split page and its file.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeSplitsPart(IMainWindowServices& services);
