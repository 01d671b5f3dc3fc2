// The parts of the program's main window, in the order the window creates them.
#pragma once

#include "MainWindowPart.h"

MainWindowPartList ProgramParts();
