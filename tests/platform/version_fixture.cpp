// A shared library that carries version information, for the reader's tests.
#include "VersionSection.h"

CORVANE_VERSION_INFO("1.2.0.5", "4.7.0.1",
                     CORVANE_VERSION_STRING("FileDescription", "Version fixture")
                         CORVANE_VERSION_STRING("FileVersion", "1.2.0.5")
                             CORVANE_VERSION_STRING("ProductVersion", "4.7.0.1")
                                 CORVANE_VERSION_STRING("CompanyName", "Dravik")
                                     CORVANE_VERSION_STRING("ProductName", "Corvane")
                                         CORVANE_VERSION_STRING("LegalCopyright", "(c) Dravik")
                                             CORVANE_VERSION_STRING("Comments", "")
                                                 CORVANE_VERSION_STRING("Formula", "a=b+c"))

extern "C" int version_fixture_answer()
{
    return 42;
}
