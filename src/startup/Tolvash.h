// Starting tolvash, the helper program in the program folder: the two write-test calls, which
// start-up waits for, and the update check, which it does not.
#pragma once

#include "Process.h"

#include <string>
#include <vector>

namespace tolvash_call {

inline constexpr const char* kProgramName = "tolvash";
// A helper that hangs must not hold start-up forever.
inline constexpr int kWaitMs = 30000;

// Full path of tolvash in `folder` (case-insensitive), or folder/tolvash when it is not there.
std::string ProgramPath(const std::string& folder);

// Argument lists after the program path.
std::vector<std::string> TestFileArgs(const std::string& testFile);
std::vector<std::string> TestIniArgs(const std::string& iniPath, int number);
std::vector<std::string> UpdateArgs(const std::string& iniPath);

// Runs tolvash and waits; true only when it ran and reported success.
bool RunAndWait(const std::string& folder, const std::vector<std::string>& args,
                platform::RunResult* result = nullptr);

// The updater (the main window's update button and its periodic check): starts tolvash without
// waiting and reads no result. False when it could not be started.
bool RunUpdateCheck(bool run, const std::string& folder, const std::string& iniPath);

}  // namespace tolvash_call
