// Bounds-checked reading of ELF files and file images without loading them: the byte sources and
// the header fields that the version reader and the shared-object check share (either class,
// either byte order).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform::elf {

// Random access to the bytes of a file or an image; every read is bounds-checked here.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    bool Read(std::uint64_t offset, std::uint64_t length, std::string& out) const;

private:
    virtual bool ReadRaw(std::uint64_t offset, char* dst, std::size_t length) const = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const void* data, std::size_t size)
        : data_(static_cast<const char*>(data)), size_(size)
    {
    }
    std::uint64_t Size() const override { return size_; }

private:
    bool ReadRaw(std::uint64_t offset, char* dst, std::size_t length) const override;
    const char* data_;
    std::size_t size_;
};

// Only a regular file has bytes; anything else reads as empty.
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    std::uint64_t Size() const override { return size_; }
    int OpenError() const { return openError_; }  // errno of open or fstat, 0 when opened
    bool IsRegular() const { return regular_; }

private:
    bool ReadRaw(std::uint64_t offset, char* dst, std::size_t length) const override;
    int fd_ = -1;
    int openError_ = 0;
    bool regular_ = false;
    std::uint64_t size_ = 0;
};

// Field reader for one ELF flavour; `bytes` holds the file header or a table read from the file.
struct Layout {
    bool is64 = false;
    bool bigEndian = false;

    std::uint64_t Get(const std::string& bytes, std::size_t offset, std::size_t width) const;

    std::size_t HeaderSize() const { return is64 ? 64 : 52; }
    std::size_t ProgramHeaderSize() const { return is64 ? 56 : 32; }
    std::size_t MinSectionHeaderSize() const { return is64 ? 64 : 40; }

    // File header.
    std::uint64_t FileType(const std::string& h) const { return Get(h, 0x10, 2); }
    std::uint64_t Machine(const std::string& h) const { return Get(h, 0x12, 2); }
    std::uint64_t Version(const std::string& h) const { return Get(h, 0x14, 4); }
    std::uint64_t ProgramTableOffset(const std::string& h) const
    {
        return is64 ? Get(h, 0x20, 8) : Get(h, 0x1C, 4);
    }
    std::uint64_t ProgramEntrySize(const std::string& h) const
    {
        return Get(h, is64 ? 0x36 : 0x2A, 2);
    }
    std::uint64_t ProgramCount(const std::string& h) const { return Get(h, is64 ? 0x38 : 0x2C, 2); }
    std::uint64_t SectionTableOffset(const std::string& h) const
    {
        return is64 ? Get(h, 0x28, 8) : Get(h, 0x20, 4);
    }
    std::uint64_t SectionHeaderSize(const std::string& h) const
    {
        return Get(h, is64 ? 0x3A : 0x2E, 2);
    }
    std::uint64_t SectionCount(const std::string& h) const { return Get(h, is64 ? 0x3C : 0x30, 2); }
    std::uint64_t NamesIndex(const std::string& h) const { return Get(h, is64 ? 0x3E : 0x32, 2); }

    // Program header fields, ph at its offset in the table.
    std::uint64_t SegmentType(const std::string& t, std::size_t ph) const { return Get(t, ph, 4); }
    std::uint64_t SegmentOffset(const std::string& t, std::size_t ph) const
    {
        return is64 ? Get(t, ph + 8, 8) : Get(t, ph + 4, 4);
    }
    std::uint64_t SegmentFileSize(const std::string& t, std::size_t ph) const
    {
        return is64 ? Get(t, ph + 32, 8) : Get(t, ph + 16, 4);
    }

    // Section header fields, sh at its offset in the table.
    std::uint64_t Name(const std::string& t, std::size_t sh) const { return Get(t, sh, 4); }
    std::uint64_t Type(const std::string& t, std::size_t sh) const { return Get(t, sh + 4, 4); }
    std::uint64_t Offset(const std::string& t, std::size_t sh) const
    {
        return is64 ? Get(t, sh + 24, 8) : Get(t, sh + 16, 4);
    }
    std::uint64_t Size(const std::string& t, std::size_t sh) const
    {
        return is64 ? Get(t, sh + 32, 8) : Get(t, sh + 20, 4);
    }
    std::uint64_t Link(const std::string& t, std::size_t sh) const
    {
        return is64 ? Get(t, sh + 40, 4) : Get(t, sh + 24, 4);
    }
};

inline constexpr std::uint64_t kShtNobits = 8;
inline constexpr std::uint64_t kShnXindex = 0xffff;

// The ELF magic, a known class and byte order, and the whole file header: the layout and the
// header's bytes. nullopt for anything else.
struct Header {
    Layout layout;
    std::string bytes;
};
std::optional<Header> ReadHeader(const ByteSource& src);

// The section header table as the header places it; a count or names index too large for the
// header is taken from section 0. nullopt when section 0 is needed but cannot be read.
struct SectionTable {
    std::uint64_t offset = 0;  // 0: no table
    std::uint64_t entrySize = 0;
    std::uint64_t count = 0;
    std::uint64_t namesIndex = 0;
};
std::optional<SectionTable> LocateSections(const ByteSource& src, const Header& header);

}  // namespace platform::elf
