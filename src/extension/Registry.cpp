#include "Registry.h"

#include "AsciiCase.h"
#include "PrivateProfile.h"
#include "RegistryProfile.h"

#include <climits>

namespace {
// A folder path longer than this cannot be used anyway.
constexpr std::size_t kMaxValue = PATH_MAX;
}  // namespace

bool CRegistry::OpenKey(const std::string& path)
{
    Close();
    const std::string file = platform::RegistryProfile::DefaultFilePath();
    if (file.empty())
        return false;
    for (const std::string& section : platform::ReadProfileSectionNames(file)) {
        if (platform::AsciiIEquals(section, path)) {
            path_ = path;
            open_ = true;
            return true;
        }
    }
    return false;
}

void CRegistry::Close()
{
    open_ = false;
    path_.clear();
}

bool CRegistry::ReadString(const std::string& name, std::string& out) const
{
    if (!open_)
        return false;
    platform::RegistryProfile registry;
    if (!registry.HasValue(path_, name))
        return false;
    std::string value = registry.GetProfileString(path_, name);
    if (value.size() > kMaxValue)
        return false;
    out = std::move(value);
    return true;
}

namespace vek {

std::string ReadLastPath()
{
    CRegistry key;
    std::string lastPath;
    if (key.OpenKey(kSetupKey)) {
        key.ReadString("LastPath", lastPath);
        key.Close();
    }
    return lastPath;
}

}  // namespace vek
