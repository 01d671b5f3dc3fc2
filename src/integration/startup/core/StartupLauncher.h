// Starts every program of "Startup.dat": argv is the program, then the words of its command
// line; the working directory is the program's folder, set in the started program only.
#pragma once

#include "Process.h"
#include "StartupFile.h"

#include <string>
#include <vector>

namespace startup_programs {

struct LaunchResult {
    StartupEntry entry;
    platform::SpawnResult spawn;
};

// A regular file this user may run: what the editors accept as a program.
bool IsRunnableFile(const std::string& path);

std::vector<std::string> LaunchArguments(const StartupEntry& entry);

// One result per accepted line, in file order.
std::vector<LaunchResult> LaunchAll(const std::string& folder);

}  // namespace startup_programs
