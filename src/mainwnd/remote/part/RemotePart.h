// The remote-control part of the main window: the remote handler, its server and auxiliary port.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeRemotePart(IMainWindowServices& services);
