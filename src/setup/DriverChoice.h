// Installing the driver chosen in the dialogs, and what a driver says it does itself.
#pragma once

#include <string>

#include "SetupContext.h"
#include "SetupSummary.h"

namespace setup {

// Stops and unloads the window's driver, then copies the entry's library to VekDriver.so with
// the link's copy routine. A failure is shown and keeps the old library. True when the chosen
// library is installed now (copied, or already the same version). A "VekClient" driver turns
// polling off.
bool InstallChosenDriver(const SetupContext& context, const std::string& entry);

// Asks the entry's library in the Drivers folder (loaded on its own, then unloaded); a library
// that cannot be loaded does nothing itself.
DriverSupport QueryDriverSupport(const SetupContext& context, const std::string& entry);

// Loads the installed VekDriver.so into the window's binding and opens the driver's own setup
// dialog; false when the library cannot be loaded (the reason is shown).
bool RunDriverSetup(const SetupContext& context);

}  // namespace setup
