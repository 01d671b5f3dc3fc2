#include "LanguageName.h"

#include "Ini.h"
#include "ProgramFolder.h"
#include "Registry.h"

#include <mutex>
#include <set>

namespace vek {

namespace {

std::string NameFromIni(const std::string& iniPath)
{
    CIni ini;
    ini.SetPath(iniPath.c_str());
    return ini.GetString("Setup", "Language", "");
}

// The registry keeps the language file's full path; the name is its last component.
std::string NameFromRegistry()
{
    CRegistry key;
    std::string value;
    if (key.OpenKey(kSetupKey)) {
        key.ReadString("Language", value);
        key.Close();
    }
    const std::size_t separator = value.find_last_of("\\/");
    if (separator == std::string::npos)
        return {};
    return value.substr(separator + 1);
}

}  // namespace

std::string ReadLanguage()
{
    CRegistry key;
    if (!key.OpenKey(kSetupKey))
        return {};
    key.Close();

    const std::string lastPath = ReadLastPath();
    std::string name;
    const auto ini =
        lastPath.empty() ? std::nullopt : platform::FindInFolder(lastPath, "Corvane.ini");
    if (ini)
        name = NameFromIni(*ini);
    else
        name = NameFromRegistry();

    if (name.size() <= 1 || name.size() > kMaxLanguageName)
        return {};
    // The text ends at a NUL, as a C caller reads it.
    if (const std::size_t nul = name.find('\0'); nul != std::string::npos)
        name.resize(nul);
    return name.size() <= 1 ? std::string() : name;
}

const char* StableLanguageText(const std::string& name)
{
    // Each distinct name is kept once and never changed or freed, so a pointer handed out stays
    // valid and its text stays whole whatever other threads ask meanwhile. Language names are few.
    static std::mutex mutex;
    static std::set<std::string> names;
    std::lock_guard lock(mutex);
    return names.insert(name).first->c_str();
}

}  // namespace vek
