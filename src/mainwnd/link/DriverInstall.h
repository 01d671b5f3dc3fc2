// Installing the chosen radio driver: the entry of Setup/"Driver" names a file of the program's
// "Drivers" folder, which is copied to "VekDriver.so" in the program folder unless that already
// holds the same bytes. The copy goes to a temporary file that replaces the old library only
// when complete, so a failed copy keeps the old library.
#pragma once

#include <string>

enum class DriverInstallResult {
    kNotADriver,  // a COM port entry (or an empty one): nothing to install
    kUpToDate,    // the installed library is the chosen file
    kCopied,
    kFailed,  // the reason is in `error`; the installed library is unchanged
};

// "COM" followed by a digit 1..9.
bool IsComPortEntry(const std::string& entry);
// The file name of a driver entry "Name.so - Description - Ver. 1.2.5": the text before " - "
// (an entry without one is all name).
std::string DriverEntryFileName(const std::string& entry);
// "Ver. %s.%d": the product version's major text and the number made of the digits of its minor
// text; a file without version information gives "Ver. .0".
std::string DriverVersionText(const std::string& path);

DriverInstallResult InstallDriver(const std::string& programFolder, const std::string& entry,
                                  std::string* error);
