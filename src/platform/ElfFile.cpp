#include "ElfFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::elf {

bool ByteSource::Read(std::uint64_t offset, std::uint64_t length, std::string& out) const
{
    if (length > Size() || offset > Size() - length)
        return false;
    out.resize(static_cast<std::size_t>(length));
    return length == 0 || ReadRaw(offset, out.data(), static_cast<std::size_t>(length));
}

bool MemorySource::ReadRaw(std::uint64_t offset, char* dst, std::size_t length) const
{
    std::memcpy(dst, data_ + offset, length);
    return true;
}

FileSource::FileSource(const std::string& path)
{
    // Non-blocking, so a FIFO in place of a binary is not waited on; only regular files are read.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
        openError_ = errno;
        return;
    }
    regular_ = S_ISREG(st.st_mode);
    if (regular_)
        size_ = static_cast<std::uint64_t>(st.st_size);
}

FileSource::~FileSource()
{
    if (fd_ >= 0)
        ::close(fd_);
}

// A file that shrinks under us gives a short read: that is a failure, not garbage.
bool FileSource::ReadRaw(std::uint64_t offset, char* dst, std::size_t length) const
{
    while (length > 0) {
        ssize_t n = ::pread(fd_, dst, length, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        dst += n;
        length -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

std::uint64_t Layout::Get(const std::string& bytes, std::size_t offset, std::size_t width) const
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        auto byte = static_cast<unsigned char>(bytes[offset + (bigEndian ? i : width - 1 - i)]);
        value = value << 8 | byte;
    }
    return value;
}

std::optional<Header> ReadHeader(const ByteSource& src)
{
    std::string ident;
    if (!src.Read(0, 16, ident)
        || std::memcmp(ident.data(),
                       "\x7f"
                       "ELF",
                       4)
               != 0)
        return std::nullopt;
    if (ident[4] != 1 && ident[4] != 2)
        return std::nullopt;
    if (ident[5] != 1 && ident[5] != 2)
        return std::nullopt;
    Header header;
    header.layout.is64 = ident[4] == 2;
    header.layout.bigEndian = ident[5] == 2;
    if (!src.Read(0, header.layout.HeaderSize(), header.bytes))
        return std::nullopt;
    return header;
}

std::optional<SectionTable> LocateSections(const ByteSource& src, const Header& header)
{
    const Layout& elf = header.layout;
    SectionTable table;
    table.offset = elf.SectionTableOffset(header.bytes);
    table.entrySize = elf.SectionHeaderSize(header.bytes);
    table.count = elf.SectionCount(header.bytes);
    table.namesIndex = elf.NamesIndex(header.bytes);
    if (table.offset == 0 || (table.count != 0 && table.namesIndex != kShnXindex))
        return table;
    // Large counts and indexes live in section 0 (count 0, index SHN_XINDEX).
    std::string first;
    if (table.entrySize < elf.MinSectionHeaderSize()
        || !src.Read(table.offset, table.entrySize, first))
        return std::nullopt;
    if (table.count == 0)
        table.count = elf.Size(first, 0);
    if (table.namesIndex == kShnXindex)
        table.namesIndex = elf.Link(first, 0);
    return table;
}

}  // namespace platform::elf
