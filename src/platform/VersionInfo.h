// Version information of a program or library file: the ".corvane_version" section that
// VersionSection.h embeds. It is read from the file (ELF32/ELF64, either byte order) without
// loading it; a missing, truncated or damaged file simply has no version information.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// A fixed version: four 16-bit parts, most significant first (1.2.0.5). MS and LS are the packed
// 32-bit words (1.2 -> 0x00010002, 0.5 -> 0x00000005).
struct FixedVersion {
    std::array<std::uint16_t, 4> parts{};

    std::uint32_t MS() const { return std::uint32_t{parts[0]} << 16 | parts[1]; }
    std::uint32_t LS() const { return std::uint32_t{parts[2]} << 16 | parts[3]; }
    bool operator==(const FixedVersion&) const = default;
};

struct VersionInfo {
    FixedVersion fileVersion;
    FixedVersion productVersion;
    std::vector<std::pair<std::string, std::string>> strings;  // key, value; in file order

    // The value of a key, compared without regard to ASCII case; the first one wins.
    const std::string* Find(std::string_view key) const;
};

// nullopt: no version information (no such file, not ELF, no section, damaged or truncated).
std::optional<VersionInfo> ReadVersionInfo(const std::string& path);
// The same for a file image already in memory.
std::optional<VersionInfo> ParseVersionInfoImage(const void* data, std::size_t size);
// The section's contents alone. Missing or malformed fixed versions read as 0.0.0.0.
std::optional<VersionInfo> ParseVersionText(std::string_view section);

// The reader behind the program's version text and the driver list.
class CVersionInfoReader {
public:
    CVersionInfoReader() = default;
    explicit CVersionInfoReader(const std::string& path);  // an empty path gives an empty reader

    bool Open(const std::string& path);  // clears first; false without version information
    void Clear();
    bool IsOpen() const { return info_.has_value(); }
    const std::string& GetPath() const { return path_; }  // empty when nothing is loaded

    std::string GetString(std::string_view key) const;  // empty when missing or not loaded
    bool HasDescription() const;                        // a "FileDescription" value exists

    // "%d.%d" of the halves of the product version's MS and LS words; empty when not loaded.
    std::string GetVersionMSText() const;
    std::string GetVersionLSText() const;

    FixedVersion GetFileVersion() const;  // 0.0.0.0 when not loaded
    FixedVersion GetProductVersion() const;
    const VersionInfo* Info() const { return info_ ? &*info_ : nullptr; }

private:
    std::string path_;
    std::optional<VersionInfo> info_;
};

}  // namespace platform
