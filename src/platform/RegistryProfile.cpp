#include "RegistryProfile.h"

#include "AsciiCase.h"
#include "PrivateProfile.h"
#include "ProgramFolder.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::string_view kDword = "dword:";
constexpr std::string_view kHex = "hex:";

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// mkdir -p for the folders of the file; new folders are private to the user.
bool MakeFolders(const std::string& folder, std::string* error)
{
    if (folder.empty() || folder == "/" || folder == ".")
        return true;
    struct stat st {};
    if (stat(folder.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return true;
        SetError(error, ErrorText(ENOTDIR));
        return false;
    }
    if (!MakeFolders(DirName(folder), error))
        return false;
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        SetError(error, ErrorText(errno));
        return false;
    }
    return true;
}

bool NameValid(std::string_view section, std::string_view name, std::string* error)
{
    return ProfileEntryValid(section, name, {}, error);
}

}  // namespace

std::string RegistryProfile::DefaultFilePath()
{
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        std::string homeDir = home && home[0] ? home : "";
        if (homeDir.empty()) {
            struct passwd pw {};
            struct passwd* result = nullptr;
            char buf[4096];
            if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &result) == 0 && result && pw.pw_dir)
                homeDir = pw.pw_dir;
        }
        if (homeDir.empty())
            return {};
        base = JoinPath(homeDir, ".config");
    }
    return JoinPath(base, "Dravik/Corvane/registry.ini");
}

std::string RegistryProfile::FilePath() const
{
    return filePath_.empty() ? DefaultFilePath() : filePath_;
}

std::string RegistryProfile::KeyPath(std::string_view section) const
{
    if (root_.empty())
        return std::string(section);
    if (section.empty())
        return root_;
    return root_ + "\\" + std::string(section);
}

std::string RegistryProfile::EncodeInt(int value)
{
    // Signed, so a window place left of or above the screen reads as what it is.
    return std::string(kDword) + std::to_string(value);
}

std::string RegistryProfile::EncodeString(std::string_view value)
{
    return "\"" + std::string(value) + "\"";
}

std::string RegistryProfile::EncodeBinary(const std::uint8_t* data, std::size_t size)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out(kHex);
    out.reserve(kHex.size() + 2 * size);
    for (std::size_t i = 0; data && i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0x0F];
    }
    return out;
}

std::optional<int> RegistryProfile::DecodeInt(std::string_view raw)
{
    if (!AsciiIStartsWith(raw, kDword))
        return std::nullopt;
    std::string_view digits = raw.substr(kDword.size());
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative)
        digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 10)
        return std::nullopt;
    std::uint64_t v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (negative)
        return v <= 0x80000000ull
                   ? std::optional<int>(static_cast<int>(-static_cast<std::int64_t>(v)))
                   : std::nullopt;
    // Files written before negative values were kept signed hold the unsigned 32-bit form.
    if (v > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<int>(static_cast<std::uint32_t>(v));
}

std::optional<std::string> RegistryProfile::DecodeString(std::string_view raw)
{
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
        return std::string(raw.substr(1, raw.size() - 2));
    if (AsciiIStartsWith(raw, kDword) || AsciiIStartsWith(raw, kHex))
        return std::nullopt;
    return std::string(raw);
}

std::optional<std::vector<std::uint8_t>> RegistryProfile::DecodeBinary(std::string_view raw)
{
    if (!AsciiIStartsWith(raw, kHex))
        return std::nullopt;
    std::string_view digits = raw.substr(kHex.size());
    if (digits.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        int hi = HexDigit(digits[i]), lo = HexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return out;
}

void RegistryProfile::BeginBatch()
{
    batch_.Begin(FilePath());
}

bool RegistryProfile::CommitBatch(std::string* error)
{
    return batch_.End(error);
}

std::optional<std::string> RegistryProfile::Raw(std::string_view section,
                                                std::string_view name) const
{
    if (ProfileBatch* batch = batch_.Get())
        return batch->Read(KeyPath(section), name, /*keepQuotes=*/true);
    std::string file = FilePath();
    if (file.empty())
        return std::nullopt;
    return ReadProfileValue(file, KeyPath(section), name, /*keepQuotes=*/true);
}

bool RegistryProfile::HasValue(std::string_view section, std::string_view name) const
{
    return Raw(section, name).has_value();
}

std::optional<int> RegistryProfile::FindProfileInt(std::string_view section,
                                                   std::string_view name) const
{
    auto raw = Raw(section, name);
    if (!raw)
        return std::nullopt;
    return DecodeInt(*raw);
}

int RegistryProfile::GetProfileInt(std::string_view section, std::string_view name, int def) const
{
    return FindProfileInt(section, name).value_or(def);
}

std::string RegistryProfile::GetProfileString(std::string_view section, std::string_view name,
                                              std::string_view def) const
{
    auto raw = Raw(section, name);
    if (raw)
        if (auto s = DecodeString(*raw))
            return *s;
    return std::string(def);
}

bool RegistryProfile::GetProfileBinary(std::string_view section, std::string_view name,
                                       std::vector<std::uint8_t>& out) const
{
    out.clear();
    auto raw = Raw(section, name);
    if (!raw)
        return false;
    auto bytes = DecodeBinary(*raw);
    if (!bytes)
        return false;
    out = std::move(*bytes);
    return true;
}

bool RegistryProfile::WriteRaw(std::string_view section, std::string_view name,
                               const std::string& raw, std::string* error)
{
    std::string file = FilePath();
    if (file.empty()) {
        SetError(error, "No home folder for the settings file");
        return false;
    }
    std::string keyPath = KeyPath(section);
    if (!ProfileEntryValid(keyPath, name, raw, error))
        return false;
    if (!MakeFolders(DirName(file), error))
        return false;
    if (ProfileBatch* batch = batch_.Get())
        return batch->Write(keyPath, name, raw, error);
    return WriteProfileValue(file, keyPath, name, raw, error);
}

bool RegistryProfile::WriteProfileInt(std::string_view section, std::string_view name, int value,
                                      std::string* error)
{
    return WriteRaw(section, name, EncodeInt(value), error);
}

bool RegistryProfile::WriteProfileString(std::string_view section, std::string_view name,
                                         std::string_view value, std::string* error)
{
    return WriteRaw(section, name, EncodeString(value), error);
}

bool RegistryProfile::WriteProfileBinary(std::string_view section, std::string_view name,
                                         const std::uint8_t* data, std::size_t size,
                                         std::string* error)
{
    if (!data && size > 0) {
        SetError(error, "No data");
        return false;
    }
    return WriteRaw(section, name, EncodeBinary(data, size), error);
}

bool RegistryProfile::DeleteValue(std::string_view section, std::string_view name,
                                  std::string* error)
{
    std::string file = FilePath();
    if (file.empty())
        return true;
    if (!NameValid(KeyPath(section), name, error))
        return false;
    if (ProfileBatch* batch = batch_.Get())
        return batch->DeleteKey(KeyPath(section), name, error);
    return DeleteProfileKey(file, KeyPath(section), name, error);
}

bool RegistryProfile::DeleteKey(std::string_view section, std::string* error)
{
    std::string file = FilePath();
    if (file.empty())
        return true;
    std::string keyPath = KeyPath(section);
    if (!ProfileSectionValid(keyPath, error))
        return false;
    std::string prefix = keyPath + "\\";
    auto drop = [keyPath, prefix](const std::string& name) {
        return AsciiIEquals(name, keyPath) || AsciiIStartsWith(name, prefix);
    };
    if (ProfileBatch* batch = batch_.Get()) {
        batch->DeleteSectionsIf(drop);
        return true;
    }
    return DeleteProfileSectionsIf(file, drop, error);
}

}  // namespace platform
