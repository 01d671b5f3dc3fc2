#include "MemoryGroups.h"

#include "AsciiCase.h"
#include "AtomicFile.h"
#include "MemoryListFile.h"
#include "ProgramFolder.h"

#include <algorithm>

namespace lists {

namespace {
constexpr std::string_view kGroupExtension = ".MEM";
}

bool IsGroupName(std::string_view name)
{
    if (name.empty() || name.front() == '.' || name.find('/') != std::string_view::npos)
        return false;
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }))
        return false;
    return platform::IsPlainName(std::string(name) + std::string(kGroupExtension));
}

std::string GroupFileName(std::string_view name)
{
    if (platform::AsciiIEquals(name, kBaseGroup))
        return kPcMemoryFile;
    if (!IsGroupName(name))
        return {};
    return std::string(name) + std::string(kGroupExtension);
}

std::vector<std::string> ListGroups(const std::string& folder)
{
    std::vector<std::string> groups{std::string(kBaseGroup)};
    for (std::string file : platform::GlobFolder(folder, "*.mem")) {
        file.erase(file.rfind('.'));
        if (IsGroupName(file))
            groups.push_back(file);
    }
    return groups;
}

bool CopyGroupFile(const std::string& folder, std::string_view from, std::string_view to,
                   std::string* error)
{
    const std::string source = platform::ResolveInFolder(folder, from);
    const std::string target = platform::ResolveInFolder(folder, to);
    if (source.empty() || target.empty()) {
        if (error)
            *error = "not a file of the folder";
        return false;
    }
    std::string text;
    bool missing = false;
    if (!platform::ReadWholeFile(source, text, error, &missing) && !missing)
        return false;
    return platform::WriteFileAtomic(target, text, error);
}

}  // namespace lists
