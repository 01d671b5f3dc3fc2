// The per-user registry stand-in: one INI-format file,
// $XDG_CONFIG_HOME/Dravik/Corvane/registry.ini (default ~/.config/Dravik/Corvane/registry.ini),
// read and written with the private-profile engine (PrivateProfile.h), so any Qt-free reader can
// use it. Folders are created on the first write.
//
// A key path is one section: the root key path plus the section name, e.g.
//   [Software\Dravik\Corvane\Setup]
// Each value is one line whose text tells its type:
//   MainTop=dword:-13           integer (DWORD): "dword:" + the signed 32-bit value in decimal
//                               (the unsigned form, dword:4294967283, reads as the same value)
//   LastPath="/opt/corvane/"    string: always in double quotes, kept byte for byte in between
//   Format=hex:0A1BFF           binary: "hex:" + two upper-case hex digits per byte ("hex:" =
//   empty)
// A value without quotes and without one of the prefixes reads as a string (hand-written files).
// Reading a value as another type than it holds gives the default, as the registry does.
// Strings holding CR, LF or NUL cannot be stored in a line and are refused.
// Many writes in a row go into a batch (ProfileBatch.h): one rewrite of the file at the end.
#pragma once

#include "ProfileBatch.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class RegistryProfile {
public:
    // Uses DefaultFilePath() at every call, so a changed XDG_CONFIG_HOME takes effect.
    RegistryProfile() = default;
    explicit RegistryProfile(std::string filePath) : filePath_(std::move(filePath)) {}

    // $XDG_CONFIG_HOME (or $HOME/.config) + "/Dravik/Corvane/registry.ini"; empty when neither
    // is known.
    static std::string DefaultFilePath();

    // An empty path returns to the default file.
    void SetFilePath(std::string path) { filePath_ = std::move(path); }
    std::string FilePath() const;

    // The key path under which the sections live, e.g. "Software\\Dravik\\Corvane".
    void SetRootKey(std::string root) { root_ = std::move(root); }
    const std::string& RootKey() const { return root_; }
    std::string KeyPath(std::string_view section) const;

    int GetProfileInt(std::string_view section, std::string_view name, int def) const;
    // The integer, or nullopt when absent or of another type.
    std::optional<int> FindProfileInt(std::string_view section, std::string_view name) const;
    std::string GetProfileString(std::string_view section, std::string_view name,
                                 std::string_view def = {}) const;
    // False (and `out` emptied) when the value is absent or not binary.
    bool GetProfileBinary(std::string_view section, std::string_view name,
                          std::vector<std::uint8_t>& out) const;
    bool HasValue(std::string_view section, std::string_view name) const;

    bool WriteProfileInt(std::string_view section, std::string_view name, int value,
                         std::string* error = nullptr);
    bool WriteProfileString(std::string_view section, std::string_view name, std::string_view value,
                            std::string* error = nullptr);
    bool WriteProfileBinary(std::string_view section, std::string_view name,
                            const std::uint8_t* data, std::size_t size,
                            std::string* error = nullptr);

    // Deleting what is absent succeeds. DeleteKey also removes the key's sub-keys.
    bool DeleteValue(std::string_view section, std::string_view name, std::string* error = nullptr);
    bool DeleteKey(std::string_view section, std::string* error = nullptr);

    // Batches nest; the outermost CommitBatch writes the file (false and the old file kept when
    // it cannot). The file is the one FilePath() names at the first BeginBatch.
    void BeginBatch();
    bool CommitBatch(std::string* error = nullptr);

    // Value encodings, exposed for tests and for readers of the raw file.
    static std::string EncodeInt(int value);
    static std::string EncodeString(std::string_view value);
    static std::string EncodeBinary(const std::uint8_t* data, std::size_t size);
    static std::optional<int> DecodeInt(std::string_view raw);
    static std::optional<std::string> DecodeString(std::string_view raw);
    static std::optional<std::vector<std::uint8_t>> DecodeBinary(std::string_view raw);

private:
    std::optional<std::string> Raw(std::string_view section, std::string_view name) const;
    bool WriteRaw(std::string_view section, std::string_view name, const std::string& raw,
                  std::string* error);

    std::string filePath_;
    std::string root_;
    NestedProfileBatch batch_;
};

}  // namespace platform
