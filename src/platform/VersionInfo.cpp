#include "VersionInfo.h"

#include "AsciiCase.h"
#include "VersionSection.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::uint64_t kMaxSectionSize = 1 << 20;         // version text is a few hundred bytes
constexpr std::uint64_t kMaxTableSize = 64ull << 20;       // section headers, section names
constexpr std::uint64_t kMaxSections = 1 << 20;

// Random access to the bytes of a file or an image; every read is bounds-checked here.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    bool Read(std::uint64_t offset, std::uint64_t length, std::string& out) const {
        if (length > Size() || offset > Size() - length) return false;
        out.resize(static_cast<std::size_t>(length));
        return length == 0 || ReadRaw(offset, out.data(), static_cast<std::size_t>(length));
    }

private:
    virtual bool ReadRaw(std::uint64_t offset, char* dst, std::size_t length) const = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const void* data, std::size_t size) : data_(static_cast<const char*>(data)), size_(size) {}
    std::uint64_t Size() const override { return size_; }

private:
    bool ReadRaw(std::uint64_t offset, char* dst, std::size_t length) const override {
        std::memcpy(dst, data_ + offset, length);
        return true;
    }
    const char* data_;
    std::size_t size_;
};

class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path) {
        // Non-blocking, so a FIFO in place of a binary is not waited on; only regular files are read.
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        struct stat st {};
        if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = static_cast<std::uint64_t>(st.st_size);
    }
    ~FileSource() override {
        if (fd_ >= 0) ::close(fd_);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    std::uint64_t Size() const override { return size_; }

private:
    // A file that shrinks under us gives a short read: that is a failure, not garbage.
    bool ReadRaw(std::uint64_t offset, char* dst, std::size_t length) const override {
        while (length > 0) {
            ssize_t n = ::pread(fd_, dst, length, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            dst += n;
            length -= static_cast<std::size_t>(n);
            offset += static_cast<std::uint64_t>(n);
        }
        return true;
    }
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Field reader for one ELF flavour (32/64 bit, little/big endian).
struct ElfLayout {
    bool is64 = false;
    bool bigEndian = false;

    std::uint64_t Get(const std::string& bytes, std::size_t offset, std::size_t width) const {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            auto byte = static_cast<unsigned char>(bytes[offset + (bigEndian ? i : width - 1 - i)]);
            value = value << 8 | byte;
        }
        return value;
    }
    std::size_t HeaderSize() const { return is64 ? 64 : 52; }
    std::size_t MinSectionHeaderSize() const { return is64 ? 64 : 40; }
    std::uint64_t SectionTableOffset(const std::string& h) const { return is64 ? Get(h, 0x28, 8) : Get(h, 0x20, 4); }
    std::uint64_t SectionHeaderSize(const std::string& h) const { return Get(h, is64 ? 0x3A : 0x2E, 2); }
    std::uint64_t SectionCount(const std::string& h) const { return Get(h, is64 ? 0x3C : 0x30, 2); }
    std::uint64_t NamesIndex(const std::string& h) const { return Get(h, is64 ? 0x3E : 0x32, 2); }

    // Section header fields, sh at its offset in the table.
    std::uint64_t Name(const std::string& t, std::size_t sh) const { return Get(t, sh, 4); }
    std::uint64_t Type(const std::string& t, std::size_t sh) const { return Get(t, sh + 4, 4); }
    std::uint64_t Offset(const std::string& t, std::size_t sh) const { return is64 ? Get(t, sh + 24, 8) : Get(t, sh + 16, 4); }
    std::uint64_t Size(const std::string& t, std::size_t sh) const { return is64 ? Get(t, sh + 32, 8) : Get(t, sh + 20, 4); }
    std::uint64_t Link(const std::string& t, std::size_t sh) const { return is64 ? Get(t, sh + 40, 4) : Get(t, sh + 24, 4); }
};

constexpr std::uint64_t kShtNobits = 8;
constexpr std::uint64_t kShnXindex = 0xffff;

// The bytes of the version section, or nullopt.
std::optional<std::string> FindVersionSection(const ByteSource& src) {
    std::string ident;
    if (!src.Read(0, 16, ident) || std::memcmp(ident.data(), "\x7f" "ELF", 4) != 0) return std::nullopt;
    ElfLayout elf;
    if (ident[4] != 1 && ident[4] != 2) return std::nullopt;
    if (ident[5] != 1 && ident[5] != 2) return std::nullopt;
    elf.is64 = ident[4] == 2;
    elf.bigEndian = ident[5] == 2;

    std::string header;
    if (!src.Read(0, elf.HeaderSize(), header)) return std::nullopt;
    const std::uint64_t tableOffset = elf.SectionTableOffset(header);
    const std::uint64_t entrySize = elf.SectionHeaderSize(header);
    std::uint64_t count = elf.SectionCount(header);
    std::uint64_t namesIndex = elf.NamesIndex(header);
    if (tableOffset == 0 || entrySize < elf.MinSectionHeaderSize()) return std::nullopt;

    // Large counts and indexes live in section 0 (count 0, index SHN_XINDEX).
    if (count == 0 || namesIndex == kShnXindex) {
        std::string first;
        if (!src.Read(tableOffset, entrySize, first)) return std::nullopt;
        if (count == 0) count = elf.Size(first, 0);
        if (namesIndex == kShnXindex) namesIndex = elf.Link(first, 0);
    }
    if (count == 0 || count > kMaxSections || namesIndex >= count) return std::nullopt;
    const std::uint64_t tableSize = count * entrySize;
    if (tableSize > kMaxTableSize) return std::nullopt;
    std::string table;
    if (!src.Read(tableOffset, tableSize, table)) return std::nullopt;

    const auto at = [&](std::uint64_t index) { return static_cast<std::size_t>(index * entrySize); };
    const std::size_t namesHeader = at(namesIndex);
    if (elf.Type(table, namesHeader) == kShtNobits) return std::nullopt;
    const std::uint64_t namesSize = elf.Size(table, namesHeader);
    if (namesSize > kMaxTableSize) return std::nullopt;
    std::string names;
    if (!src.Read(elf.Offset(table, namesHeader), namesSize, names)) return std::nullopt;

    const std::string_view wanted = CORVANE_VERSION_SECTION_NAME;
    for (std::uint64_t i = 1; i < count; ++i) {
        const std::size_t sh = at(i);
        const std::uint64_t name = elf.Name(table, sh);
        if (name >= names.size() || names.size() - name < wanted.size() + 1) continue;
        if (names.compare(static_cast<std::size_t>(name), wanted.size() + 1,
                          wanted.data(), wanted.size() + 1) != 0)  // the name and its '\0'
            continue;
        if (elf.Type(table, sh) == kShtNobits) return std::nullopt;
        const std::uint64_t size = elf.Size(table, sh);
        if (size > kMaxSectionSize) return std::nullopt;
        std::string bytes;
        if (!src.Read(elf.Offset(table, sh), size, bytes)) return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

// "1.2.0.5": one to four decimal parts of 0..65535; nullopt for anything else.
std::optional<FixedVersion> ParseFixedVersion(std::string_view text) {
    FixedVersion v;
    std::size_t part = 0;
    std::size_t i = 0;
    for (;;) {
        if (part == 4 || i >= text.size()) return std::nullopt;
        std::uint32_t value = 0;
        std::size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            value = value * 10 + static_cast<std::uint32_t>(text[i++] - '0');
            if (++digits > 5 || value > 0xffff) return std::nullopt;
        }
        if (digits == 0) return std::nullopt;
        v.parts[part++] = static_cast<std::uint16_t>(value);
        if (i == text.size()) return v;
        if (text[i++] != '.') return std::nullopt;
    }
}

std::string HalvesText(std::uint32_t word) {
    return std::to_string(word >> 16) + "." + std::to_string(word & 0xffff);
}

}  // namespace

const std::string* VersionInfo::Find(std::string_view key) const {
    for (const auto& [k, v] : strings)
        if (AsciiIEquals(k, key)) return &v;
    return nullptr;
}

std::optional<VersionInfo> ParseVersionText(std::string_view section) {
    // Only the first record counts (a binary linked with two would hold both, one after the other).
    const std::size_t end = section.find('\0');
    if (end != std::string_view::npos) section = section.substr(0, end);
    const std::string_view magic = CORVANE_VERSION_MAGIC;
    if (section.substr(0, magic.size()) != magic) return std::nullopt;
    section.remove_prefix(magic.size());

    VersionInfo info;
    while (!section.empty()) {
        std::size_t nl = section.find('\n');
        std::string_view line = section.substr(0, nl);
        section.remove_prefix(nl == std::string_view::npos ? section.size() : nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0) continue;
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

std::optional<VersionInfo> ParseVersionInfoImage(const void* data, std::size_t size) {
    if (!data) return std::nullopt;
    MemorySource src(data, size);
    std::optional<std::string> section = FindVersionSection(src);
    return section ? ParseVersionText(*section) : std::nullopt;
}

std::optional<VersionInfo> ReadVersionInfo(const std::string& path) {
    if (path.empty()) return std::nullopt;
    FileSource src(path);
    std::optional<std::string> section = FindVersionSection(src);
    return section ? ParseVersionText(*section) : std::nullopt;
}

CVersionInfoReader::CVersionInfoReader(const std::string& path) {
    if (!path.empty()) Open(path);
}

bool CVersionInfoReader::Open(const std::string& path) {
    Clear();
    info_ = ReadVersionInfo(path);
    if (info_) path_ = path;
    return info_.has_value();
}

void CVersionInfoReader::Clear() {
    path_.clear();
    info_.reset();
}

std::string CVersionInfoReader::GetString(std::string_view key) const {
    const std::string* value = info_ ? info_->Find(key) : nullptr;
    return value ? *value : std::string();
}

bool CVersionInfoReader::HasDescription() const {
    return info_ && info_->Find("FileDescription") != nullptr;
}

std::string CVersionInfoReader::GetVersionMSText() const {
    return info_ ? HalvesText(info_->productVersion.MS()) : std::string();
}

std::string CVersionInfoReader::GetVersionLSText() const {
    return info_ ? HalvesText(info_->productVersion.LS()) : std::string();
}

FixedVersion CVersionInfoReader::GetFileVersion() const {
    return info_ ? info_->fileVersion : FixedVersion{};
}

FixedVersion CVersionInfoReader::GetProductVersion() const {
    return info_ ? info_->productVersion : FixedVersion{};
}

}  // namespace platform
