#include "SharedObject.h"

#include "ElfFile.h"
#include "ProgramFolder.h"

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

constexpr std::uint64_t kTypeShared = 3;   // ET_DYN
constexpr std::uint64_t kSegmentLoad = 1;  // PT_LOAD
constexpr std::uint64_t kCurrentVersion = 1;
constexpr std::uint64_t kExtendedProgramCount = 0xffff;  // PN_XNUM: not used by shared objects

constexpr bool kThis64 = sizeof(void*) == 8;
constexpr bool kThisBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

// The machine this program was built for, from its own file; nullopt when that cannot be read
// (dlopen still refuses a foreign machine then, it only cannot crash on it).
std::optional<std::uint64_t> ThisMachine()
{
    static const std::optional<std::uint64_t> machine = []() -> std::optional<std::uint64_t> {
        const elf::FileSource self("/proc/self/exe");
        const std::optional<elf::Header> header = elf::ReadHeader(self);
        if (!header)
            return std::nullopt;
        return header->layout.Machine(header->bytes);
    }();
    return machine;
}

// offset + length, or nullopt when that overflows.
std::optional<std::uint64_t> End(std::uint64_t offset, std::uint64_t length)
{
    if (length > UINT64_MAX - offset)
        return std::nullopt;
    return offset + length;
}

std::optional<std::string> CutShort(const char* what, std::optional<std::uint64_t> end,
                                    std::uint64_t size)
{
    if (end && *end <= size)
        return std::nullopt;
    const std::string at = end ? "ends at byte " + std::to_string(*end) : "lies beyond every byte";
    return "cut short or damaged: " + std::string(what) + " " + at + ", the file has "
           + std::to_string(size) + " bytes";
}

std::optional<std::string> ProblemOf(const elf::ByteSource& src)
{
    std::string magic;
    if (!src.Read(0, 4, magic)
        || std::memcmp(magic.data(),
                       "\x7f"
                       "ELF",
                       4)
               != 0)
        return "not an ELF file";
    const std::optional<elf::Header> header = elf::ReadHeader(src);
    if (!header)
        return "cut short or damaged in its ELF header";
    const elf::Layout& elf = header->layout;
    const std::string& h = header->bytes;
    if (elf.is64 != kThis64)
        return std::string("a ") + (elf.is64 ? "64" : "32") + "-bit file, this program is "
               + (kThis64 ? "64" : "32") + "-bit";
    if (elf.bigEndian != kThisBigEndian)
        return "the wrong byte order for this machine";
    if (elf.Version(h) != kCurrentVersion)
        return "an unknown ELF version";
    const std::optional<std::uint64_t> machine = ThisMachine();
    if (machine && elf.Machine(h) != *machine)
        return "built for another machine (ELF machine " + std::to_string(elf.Machine(h))
               + ", this program: " + std::to_string(*machine) + ")";
    if (elf.FileType(h) != kTypeShared)
        return "not a shared library (ELF type " + std::to_string(elf.FileType(h)) + ")";

    const std::uint64_t size = src.Size();
    const std::uint64_t entry = elf.ProgramEntrySize(h);
    const std::uint64_t count = elf.ProgramCount(h);
    if (elf.ProgramTableOffset(h) == 0 || count == 0 || count == kExtendedProgramCount
        || entry != elf.ProgramHeaderSize())
        return "no usable program header table";
    const std::optional<std::uint64_t> programEnd = End(elf.ProgramTableOffset(h), count * entry);
    if (auto cut = CutShort("its program header table", programEnd, size))
        return cut;

    const std::optional<elf::SectionTable> sections = elf::LocateSections(src, *header);
    if (!sections)
        return CutShort("its section header table", std::nullopt, size);
    if (sections->offset != 0) {
        if (sections->entrySize < elf.MinSectionHeaderSize())
            return "a damaged section header table";
        std::optional<std::uint64_t> sectionEnd;
        if (sections->count <= UINT64_MAX / sections->entrySize)
            sectionEnd = End(sections->offset, sections->count * sections->entrySize);
        if (auto cut = CutShort("its section header table", sectionEnd, size))
            return cut;
    }

    std::string table;
    if (!src.Read(elf.ProgramTableOffset(h), count * entry, table))
        return "unreadable";
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::size_t ph = static_cast<std::size_t>(i * entry);
        if (elf.SegmentType(table, ph) != kSegmentLoad)
            continue;
        const std::optional<std::uint64_t> end =
            End(elf.SegmentOffset(table, ph), elf.SegmentFileSize(table, ph));
        if (auto cut = CutShort("a loadable segment", end, size))
            return cut;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> SharedObjectProblem(const std::string& path)
{
    const elf::FileSource src(path);
    if (src.OpenError() != 0)
        return "cannot be opened: " + ErrorText(src.OpenError());
    if (!src.IsRegular())
        return "not a regular file";
    return ProblemOf(src);
}

std::optional<std::string> SharedObjectImageProblem(const void* data, std::size_t size)
{
    if (!data)
        return "no data";
    return ProblemOf(elf::MemorySource(data, size));
}

}  // namespace platform
