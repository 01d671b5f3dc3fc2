// The driver's version information, read by the program from the file.
#include "VersionSection.h"

CORVANE_VERSION_INFO(
    "1.2.0.5", "1.2.0.5",
    CORVANE_VERSION_STRING("FileDescription", "Simulated CI-V radio")
        CORVANE_VERSION_STRING("FileVersion", "1.2.0.5") CORVANE_VERSION_STRING("ProductVersion",
                                                                                "1.2.0.5")
            CORVANE_VERSION_STRING("ProductName", "Corvane simulated radio")
                CORVANE_VERSION_STRING("CompanyName", "Dravik")
                    CORVANE_VERSION_STRING("Comments",
                                           "Stands in for an IC-706-family radio on the CI-V bus"))
