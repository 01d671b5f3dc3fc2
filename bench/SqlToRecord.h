// The time from the squelch opening to the first tone sample in the file, with "Record only if
// SQL OFF", the real main window and recorder against Drivers/SimRadio.so in process.
#pragma once

#include <optional>
#include <string>

// Milliseconds from the opening until the program knew the squelch was open, until the recorder
// resumed, and until the first sample was in the file.
struct SqlOpening {
    double heardMs = 0;
    double resumedMs = 0;
    double writtenMs = 0;
};

// The medians of `openings` openings, or nothing when it could not run.
// `binDir` holds SimRadio.so, English.lng and tolvash; `firstRun` is the first-run INI.
std::optional<SqlOpening> MeasureSqlToRecordMs(const std::string& binDir,
                                               const std::string& firstRun, int openings);
