#include "BackupNames.h"

#include "AsciiCase.h"
#include "ProgramFolder.h"

namespace backup {

namespace {

struct Kind {
    const char* pattern;
    const char* extension;    // of the data file
    const char* replacement;  // of its entry
};
constexpr Kind kKinds[] = {{"*.dat", "dat", "da_"},
                           {"*.mem", "mem", "me_"},
                           {"*.wav", "wav", "wa_"},
                           {"*.ini", "ini", "bkp"}};

}  // namespace

std::string EntryName(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return {};
    const std::string_view extension = fileName.substr(dot + 1);
    for (const Kind& kind : kKinds)
        if (platform::AsciiIEquals(extension, kind.extension))
            return std::string(fileName.substr(0, dot + 1)) + kind.replacement;
    return {};
}

bool IsRestorableName(std::string_view name)
{
    if (!platform::IsPlainName(name))
        return false;
    for (const unsigned char c : name)
        if (c == '\\' || c == ':' || c < 0x20 || c == 0x7F)
            return false;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return false;
    const std::string_view extension = name.substr(dot + 1);
    for (const Kind& kind : kKinds)
        if (platform::AsciiIEquals(extension, kind.replacement))
            return true;
    return false;
}

std::vector<BackupFile> CollectFiles(const std::string& dataFolder)
{
    std::vector<BackupFile> files;
    for (const Kind& kind : kKinds)
        for (std::string& name : platform::GlobFolder(dataFolder, kind.pattern)) {
            std::string entry = EntryName(name);
            if (!entry.empty())
                files.push_back({std::move(name), std::move(entry)});
        }
    return files;
}

}  // namespace backup
