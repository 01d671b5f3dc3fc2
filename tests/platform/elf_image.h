// Builds small ELF images by hand (either class, either byte order) for the version reader's tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace elf_image {

struct Options {
    bool is64 = true;
    bool bigEndian = false;
    bool extendedNumbering = false;  // section count and name index kept in section 0
    bool versionIsNobits = false;
};

class Writer {
public:
    Writer(std::string& out, bool bigEndian) : out_(out), big_(bigEndian) {}
    void Put(std::size_t offset, std::size_t width, std::uint64_t value)
    {
        if (out_.size() < offset + width)
            out_.resize(offset + width, '\0');
        for (std::size_t i = 0; i < width; ++i) {
            std::size_t shift = 8 * (big_ ? width - 1 - i : i);
            out_[offset + i] = static_cast<char>((value >> shift) & 0xff);
        }
    }

private:
    std::string& out_;
    bool big_;
};

// Sections: 0 null, 1 ".text", 2 ".shstrtab", 3 ".corvane_version" holding `section`.
inline std::string Build(std::string_view section, const Options& o = {})
{
    const std::string names = std::string("\0.text\0.shstrtab\0.corvane_version\0", 35);
    const std::size_t nameText = 1, nameStrtab = 7, nameVersion = 17;
    const std::size_t headerSize = o.is64 ? 64 : 52;
    const std::size_t entrySize = o.is64 ? 64 : 40;
    const std::size_t namesOffset = headerSize;
    const std::size_t textOffset = namesOffset + names.size();
    const std::string text = "\x90\x90\xc3";
    const std::size_t versionOffset = textOffset + text.size();
    std::size_t tableOffset = versionOffset + section.size();
    tableOffset = (tableOffset + 7) & ~std::size_t{7};

    std::string image(tableOffset + 4 * entrySize, '\0');
    image.replace(namesOffset, names.size(), names);
    image.replace(textOffset, text.size(), text);
    image.replace(versionOffset, section.size(), section);
    Writer w(image, o.bigEndian);
    image[0] = 0x7f, image[1] = 'E', image[2] = 'L', image[3] = 'F';
    image[4] = o.is64 ? 2 : 1;
    image[5] = o.bigEndian ? 2 : 1;
    image[6] = 1;
    w.Put(0x10, 2, 3);  // shared object
    w.Put(0x14, 4, 1);
    const std::size_t shoff = o.is64 ? 0x28 : 0x20, shoffWidth = o.is64 ? 8 : 4;
    const std::size_t tail =
        o.is64 ? 0x34 : 0x28;  // e_ehsize, then phentsize, phnum, shentsize ...
    w.Put(shoff, shoffWidth, tableOffset);
    w.Put(tail, 2, headerSize);
    w.Put(tail + 6, 2, entrySize);
    w.Put(tail + 8, 2, o.extendedNumbering ? 0 : 4);
    w.Put(tail + 10, 2, o.extendedNumbering ? 0xffff : 2);

    auto section_header = [&](int index, std::size_t name, std::uint32_t type, std::size_t offset,
                              std::size_t size, std::uint32_t link) {
        const std::size_t at = tableOffset + index * entrySize;
        w.Put(at, 4, name);
        w.Put(at + 4, 4, type);
        if (o.is64) {
            w.Put(at + 24, 8, offset);
            w.Put(at + 32, 8, size);
            w.Put(at + 40, 4, link);
        } else {
            w.Put(at + 16, 4, offset);
            w.Put(at + 20, 4, size);
            w.Put(at + 24, 4, link);
        }
    };
    if (o.extendedNumbering)
        section_header(0, 0, 0, 0, 4, 2);
    section_header(1, nameText, 1, textOffset, text.size(), 0);
    section_header(2, nameStrtab, 3, namesOffset, names.size(), 0);
    section_header(3, nameVersion, o.versionIsNobits ? 8 : 1, versionOffset, section.size(), 0);
    return image;
}

}  // namespace elf_image
