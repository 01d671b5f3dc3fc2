// The program's version information, read back from the executable for the title, the about
// pages, the diagnostics and the extension protocol.
#include "VersionSection.h"

CORVANE_VERSION_INFO("1.0.0.0", "1.0.0.0",
                     CORVANE_VERSION_STRING("FileDescription", "Corvane radio control")
                         CORVANE_VERSION_STRING("FileVersion", "1.0.0.0")
                             CORVANE_VERSION_STRING("ProductVersion", "1.0.0.0")
                                 CORVANE_VERSION_STRING("ProductName", "Corvane")
                                     CORVANE_VERSION_STRING("CompanyName", "Dravik"))
