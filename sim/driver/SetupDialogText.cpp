#include "SetupDialog.h"

namespace simdriver {

// Built without Qt Widgets: there is no dialog to show.
bool ShowSetupDialog(void*, const std::string&)
{
    return false;
}

}  // namespace simdriver
