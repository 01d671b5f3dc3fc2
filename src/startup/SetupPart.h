// The configuration dialog as the main window's setup runner: message 104 at start-up and the
// window's "Setup" open it. The audio settings dialog reaches it through `audioDialog`.
#pragma once

#include "MainWindowPart.h"

#include <functional>

using AudioDialogRunner = std::function<void(bool driverMode)>;

MainWindowPartFactory SetupPartFactory(AudioDialogRunner audioDialog = {});
