// The time from the squelch opening to the first tone sample in the file, with "Record only if
// SQL OFF", the real main window and recorder against Drivers/SimRadio.so in process.
#pragma once

#include <string>

// The median of `openings` openings in milliseconds, or a negative value when it could not run.
// `binDir` holds SimRadio.so, English.lng and tolvash; `firstRun` is the first-run INI.
double MeasureSqlToRecordMs(const std::string& binDir, const std::string& firstRun, int openings);
