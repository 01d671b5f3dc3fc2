#include "RecorderNames.h"

#include "ProgramFolder.h"

#include <strings.h>
#include <sys/stat.h>

namespace audio {

bool IsAutoName(const std::string& name)
{
    return ::strcasecmp(name.c_str(), kAutoName) == 0;
}

std::string AutoFileName(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "Vek%y%m%d%H%M%S.WAV", &local);
    return text;
}

std::string FreshAutoFileName(const std::string& folder, std::time_t when)
{
    const std::string base = AutoFileName(when);
    std::string name = base;
    struct stat st {};
    for (int n = 2; n < 1000 && ::stat((folder + name).c_str(), &st) == 0; ++n)
        name = base.substr(0, base.size() - 4) + "-" + std::to_string(n) + ".WAV";
    return name;
}

std::string NormalizeFileField(const std::string& text)
{
    if (text.empty())
        return kAutoName;
    if (IsAutoName(text) || text.find(".wav") != std::string::npos
        || text.find(".WAV") != std::string::npos)
        return text;
    return text + ".WAV";
}

std::string FolderOrProgramFolder(const std::string& folder)
{
    std::string result = folder.empty() ? platform::ProgramFolder() : folder;
    if (result.empty() || result.back() != '/')
        result += '/';
    return result;
}

}  // namespace audio
