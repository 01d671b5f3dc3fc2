#include "VersionInfo.h"

#include "AsciiCase.h"
#include "ElfFile.h"
#include "VersionSection.h"

namespace platform {
namespace {

constexpr std::uint64_t kMaxSectionSize = 1 << 20;    // version text is a few hundred bytes
constexpr std::uint64_t kMaxTableSize = 64ull << 20;  // section headers, section names
constexpr std::uint64_t kMaxSections = 1 << 20;

// The bytes of the version section, or nullopt.
std::optional<std::string> FindVersionSection(const elf::ByteSource& src)
{
    const std::optional<elf::Header> header = elf::ReadHeader(src);
    if (!header)
        return std::nullopt;
    const elf::Layout& elf = header->layout;
    const std::optional<elf::SectionTable> sections = elf::LocateSections(src, *header);
    if (!sections || sections->offset == 0)
        return std::nullopt;
    const std::uint64_t entrySize = sections->entrySize;
    const std::uint64_t count = sections->count;
    const std::uint64_t namesIndex = sections->namesIndex;
    if (entrySize < elf.MinSectionHeaderSize())
        return std::nullopt;
    if (count == 0 || count > kMaxSections || namesIndex >= count)
        return std::nullopt;
    const std::uint64_t tableSize = count * entrySize;
    if (tableSize > kMaxTableSize)
        return std::nullopt;
    std::string table;
    if (!src.Read(sections->offset, tableSize, table))
        return std::nullopt;

    const auto at = [&](std::uint64_t index) {
        return static_cast<std::size_t>(index * entrySize);
    };
    const std::size_t namesHeader = at(namesIndex);
    if (elf.Type(table, namesHeader) == elf::kShtNobits)
        return std::nullopt;
    const std::uint64_t namesSize = elf.Size(table, namesHeader);
    if (namesSize > kMaxTableSize)
        return std::nullopt;
    std::string names;
    if (!src.Read(elf.Offset(table, namesHeader), namesSize, names))
        return std::nullopt;

    const std::string_view wanted = CORVANE_VERSION_SECTION_NAME;
    for (std::uint64_t i = 1; i < count; ++i) {
        const std::size_t sh = at(i);
        const std::uint64_t name = elf.Name(table, sh);
        if (name >= names.size() || names.size() - name < wanted.size() + 1)
            continue;
        if (names.compare(static_cast<std::size_t>(name), wanted.size() + 1, wanted.data(),
                          wanted.size() + 1)
            != 0)  // the name and its '\0'
            continue;
        if (elf.Type(table, sh) == elf::kShtNobits)
            return std::nullopt;
        const std::uint64_t size = elf.Size(table, sh);
        if (size > kMaxSectionSize)
            return std::nullopt;
        std::string bytes;
        if (!src.Read(elf.Offset(table, sh), size, bytes))
            return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

// "1.2.0.5": one to four decimal parts of 0..65535; nullopt for anything else.
std::optional<FixedVersion> ParseFixedVersion(std::string_view text)
{
    FixedVersion v;
    std::size_t part = 0;
    std::size_t i = 0;
    for (;;) {
        if (part == 4 || i >= text.size())
            return std::nullopt;
        std::uint32_t value = 0;
        std::size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            value = value * 10 + static_cast<std::uint32_t>(text[i++] - '0');
            if (++digits > 5 || value > 0xffff)
                return std::nullopt;
        }
        if (digits == 0)
            return std::nullopt;
        v.parts[part++] = static_cast<std::uint16_t>(value);
        if (i == text.size())
            return v;
        if (text[i++] != '.')
            return std::nullopt;
    }
}

std::string HalvesText(std::uint32_t word)
{
    return std::to_string(word >> 16) + "." + std::to_string(word & 0xffff);
}

}  // namespace

const std::string* VersionInfo::Find(std::string_view key) const
{
    for (const auto& [k, v] : strings)
        if (AsciiIEquals(k, key))
            return &v;
    return nullptr;
}

std::optional<VersionInfo> ParseVersionText(std::string_view section)
{
    // Only the first record counts (a binary linked with two would hold both, one after the other).
    const std::size_t end = section.find('\0');
    if (end != std::string_view::npos)
        section = section.substr(0, end);
    const std::string_view magic = CORVANE_VERSION_MAGIC;
    if (section.substr(0, magic.size()) != magic)
        return std::nullopt;
    section.remove_prefix(magic.size());

    VersionInfo info;
    while (!section.empty()) {
        std::size_t nl = section.find('\n');
        std::string_view line = section.substr(0, nl);
        section.remove_prefix(nl == std::string_view::npos ? section.size() : nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0)
            continue;
        const std::string_view key = line.substr(0, eq);
        const std::string_view value = line.substr(eq + 1);
        if (key == "FixedFileVersion") {
            info.fileVersion = ParseFixedVersion(value).value_or(FixedVersion{});
        } else if (key == "FixedProductVersion") {
            info.productVersion = ParseFixedVersion(value).value_or(FixedVersion{});
        } else {
            info.strings.emplace_back(std::string(key), std::string(value));
        }
    }
    return info;
}

std::optional<VersionInfo> ParseVersionInfoImage(const void* data, std::size_t size)
{
    if (!data)
        return std::nullopt;
    elf::MemorySource src(data, size);
    std::optional<std::string> section = FindVersionSection(src);
    return section ? ParseVersionText(*section) : std::nullopt;
}

std::optional<VersionInfo> ReadVersionInfo(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    elf::FileSource src(path);
    std::optional<std::string> section = FindVersionSection(src);
    return section ? ParseVersionText(*section) : std::nullopt;
}

CVersionInfoReader::CVersionInfoReader(const std::string& path)
{
    if (!path.empty())
        Open(path);
}

bool CVersionInfoReader::Open(const std::string& path)
{
    Clear();
    info_ = ReadVersionInfo(path);
    if (info_)
        path_ = path;
    return info_.has_value();
}

void CVersionInfoReader::Clear()
{
    path_.clear();
    info_.reset();
}

std::string CVersionInfoReader::GetString(std::string_view key) const
{
    const std::string* value = info_ ? info_->Find(key) : nullptr;
    return value ? *value : std::string();
}

bool CVersionInfoReader::HasDescription() const
{
    return info_ && info_->Find("FileDescription") != nullptr;
}

std::string CVersionInfoReader::GetVersionMSText() const
{
    return info_ ? HalvesText(info_->productVersion.MS()) : std::string();
}

std::string CVersionInfoReader::GetVersionLSText() const
{
    return info_ ? HalvesText(info_->productVersion.LS()) : std::string();
}

FixedVersion CVersionInfoReader::GetFileVersion() const
{
    return info_ ? info_->fileVersion : FixedVersion{};
}

FixedVersion CVersionInfoReader::GetProductVersion() const
{
    return info_ ? info_->productVersion : FixedVersion{};
}

}  // namespace platform
