#include "StartupLauncher.h"

#include "CommandLine.h"
#include "ProgramFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace startup_programs {

bool IsRunnableFile(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)
           && ::access(path.c_str(), X_OK) == 0;
}

std::vector<std::string> LaunchArguments(const StartupEntry& entry)
{
    std::vector<std::string> argv{entry.program};
    for (std::string& word : SplitCommandLine(entry.commandLine))
        argv.push_back(std::move(word));
    return argv;
}

std::vector<LaunchResult> LaunchAll(const std::string& folder)
{
    std::vector<LaunchResult> results;
    for (const StartupEntry& entry : ReadFile(folder)) {
        // A bare name would be looked up in PATH; only a path names a program of the list.
        platform::SpawnResult spawn;
        if (entry.program.find('/') == std::string::npos) {
            spawn.failedStep = platform::SpawnStep::Arguments;
            spawn.error = ENOENT;
        } else {
            spawn =
                platform::SpawnDetached(LaunchArguments(entry), platform::DirName(entry.program));
        }
        results.push_back({entry, spawn});
    }
    return results;
}

}  // namespace startup_programs
