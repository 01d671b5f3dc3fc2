#include "PrivateProfile.h"

#include "AtomicFile.h"
#include "ProgramFolder.h"

namespace platform {

namespace {

// Settings files are small; one far larger is not parsed (every line costs memory), so that a
// damaged or planted file cannot stall or exhaust the program. It reads as empty and is not
// rewritten.
constexpr std::size_t kMaxProfileBytes = 2 * 1024 * 1024;

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

}  // namespace

namespace detail {

std::string ReadProfileText(const std::string& file)
{
    std::string text;
    ReadWholeFile(ResolvePathCase(file), text, nullptr, nullptr, kMaxProfileBytes);
    return text;
}

bool EditProfileFile(const std::string& file, bool createIfMissing,
                     std::string (*edit)(std::string_view, void*), void* context,
                     std::string* error)
{
    if (file.empty()) {
        SetError(error, "No file name");
        return false;
    }
    FolderLock lock(DirName(file));
    // Resolved under the lock: another writer may just have created the file.
    std::string path = ResolvePathCase(file);
    std::string text;
    bool missing = false;
    std::string readError;
    if (!ReadWholeFile(path, text, &readError, &missing, kMaxProfileBytes)) {
        if (!missing) {
            SetError(error, readError);
            return false;
        }
        text.clear();
    }
    if (missing && !createIfMissing)
        return true;
    std::string updated = edit(text, context);
    if (!missing && updated == text)
        return true;
    return WriteFileAtomic(path, updated, error);
}

}  // namespace detail

std::optional<std::string> ReadProfileValue(const std::string& file, std::string_view section,
                                            std::string_view key, bool keepQuotes)
{
    return ProfileFind(detail::ReadProfileText(file), section, key, keepQuotes);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view def, const std::string& file)
{
    auto v = ReadProfileValue(file, section, key);
    return v ? *v : std::string(def);
}

bool ProfileReadable(const std::string& file, std::string* error)
{
    std::string text;
    bool missing = false;
    return ReadWholeFile(ResolvePathCase(file), text, error, &missing, kMaxProfileBytes) || missing;
}

std::vector<std::string> ReadProfileSectionNames(const std::string& file)
{
    return ProfileSections(detail::ReadProfileText(file));
}

std::vector<std::string> ReadProfileKeyNames(const std::string& file, std::string_view section)
{
    return ProfileKeys(detail::ReadProfileText(file), section);
}

bool WriteProfileValue(const std::string& file, std::string_view section, std::string_view key,
                       std::string_view value, std::string* error)
{
    if (!ProfileEntryValid(section, key, value, error))
        return false;
    struct Args {
        std::string_view section, key, value;
    } args{section, key, value};
    auto edit = [](std::string_view text, void* ctx) {
        auto* a = static_cast<Args*>(ctx);
        return ProfileSet(text, a->section, a->key, a->value);
    };
    return detail::EditProfileFile(file, true, edit, &args, error);
}

bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key,
                      std::string* error)
{
    struct Args {
        std::string_view section, key;
    } args{section, key};
    auto edit = [](std::string_view text, void* ctx) {
        auto* a = static_cast<Args*>(ctx);
        return ProfileRemoveKey(text, a->section, a->key);
    };
    return detail::EditProfileFile(file, false, edit, &args, error);
}

bool DeleteProfileSection(const std::string& file, std::string_view section, std::string* error)
{
    auto edit = [](std::string_view text, void* ctx) {
        return ProfileRemoveSection(text, *static_cast<std::string_view*>(ctx));
    };
    return detail::EditProfileFile(file, false, edit, &section, error);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& file, std::string* error)
{
    if (!section) {
        SetError(error, "No section");
        return false;
    }
    if (!key)
        return DeleteProfileSection(file, section, error);
    if (!value)
        return DeleteProfileKey(file, section, key, error);
    return WriteProfileValue(file, section, key, value, error);
}

}  // namespace platform
