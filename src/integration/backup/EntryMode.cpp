#include "EntryMode.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace backup {

namespace {

constexpr unsigned long kUnixHost = 3;

// The process's umask, read where reading it changes nothing (umask() sets it as it reads).
mode_t CurrentUmask()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
    return 022;
}

}  // namespace

unsigned long ExternalAttributes(mode_t mode)
{
    return static_cast<unsigned long>(mode & 0xFFFF) << 16;
}

std::optional<mode_t> RecordedMode(unsigned long madeBy, unsigned long externalAttributes)
{
    const auto mode = static_cast<mode_t>((externalAttributes >> 16) & 0xFFFF);
    if ((madeBy >> 8) != kUnixHost || mode == 0)
        return std::nullopt;
    return mode;
}

mode_t RestoredPermissions(std::optional<mode_t> recorded)
{
    if (recorded && (*recorded & 0777) != 0)
        return *recorded & 0777;
    return 0666 & ~CurrentUmask();
}

}  // namespace backup
