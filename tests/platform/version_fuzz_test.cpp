// Damaged, truncated and random input for the version reader: it answers "no version information"
// or something, never crashes, hangs or reads outside the input (the sanitizer build checks that).
#include "VersionInfo.h"

#include "VersionSection.h"
#include "elf_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::string kSection = std::string(CORVANE_VERSION_MAGIC
                                         "FixedFileVersion=1.2.0.5\n"
                                         "FixedProductVersion=1.2.0.5\n"
                                         "FileDescription=x\n")
                             + '\0';

// Parses from an exact-size heap copy, so reading one byte past the end is caught.
std::optional<platform::VersionInfo> Parse(const std::string& bytes)
{
    std::unique_ptr<char[]> copy(new char[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return platform::ParseVersionInfoImage(copy.get(), bytes.size());
}

}  // namespace

TEST(VersionFuzz, TruncatedImagesNeverCrash)
{
    for (bool is64 : {false, true})
        for (bool big : {false, true}) {
            const std::string image = elf_image::Build(kSection, {is64, big, false, false});
            ASSERT_TRUE(Parse(image));
            for (std::size_t n = 0; n < image.size(); ++n) {
                auto info = Parse(image.substr(0, n));
                // The section header table is last: any cut loses it.
                EXPECT_FALSE(info) << n;
            }
        }
    // Real library files cut short, read from files.
    const std::string library = FileBytes(VERSION_FIXTURE);
    ASSERT_FALSE(library.empty());
    char templ[] = "/tmp/corvane-vfuzz-XXXXXX";
    const fs::path dir = mkdtemp(templ);
    std::mt19937 rng(7);
    for (int i = 0; i < 40; ++i) {
        const std::size_t n = i < 20 ? static_cast<std::size_t>(i) * 7 : rng() % library.size();
        const fs::path file = dir / "cut.so";
        std::ofstream(file, std::ios::binary | std::ios::trunc) << library.substr(0, n);
        platform::CVersionInfoReader reader;
        reader.Open(file.string());
        (void)reader.GetString("FileDescription");
    }
    fs::remove_all(dir);
}

TEST(VersionFuzz, CorruptedBytesNeverCrash)
{
    std::mt19937 rng(12345);
    std::vector<std::string> seeds = {FileBytes(VERSION_FIXTURE)};
    for (bool is64 : {false, true})
        for (bool big : {false, true})
            for (bool ext : {false, true})
                seeds.push_back(elf_image::Build(kSection, {is64, big, ext, false}));
    int found = 0;
    for (const std::string& seed : seeds) {
        ASSERT_TRUE(Parse(seed));
        // The header and section table are where the offsets live: hit them hardest.
        const std::size_t table = seed.size() > 4096 ? 0 : seed.size() / 2;
        for (int round = 0; round < 3000; ++round) {
            std::string bytes = seed;
            const int flips = 1 + static_cast<int>(rng() % 8);
            for (int f = 0; f < flips; ++f) {
                std::size_t at;
                switch (rng() % 3) {
                case 0: at = rng() % 64; break;
                case 1: at = table + rng() % (seed.size() - table); break;
                default: at = rng() % seed.size(); break;
                }
                bytes[at] = static_cast<char>(rng() % 4 == 0 ? 0xff : rng());
            }
            if (auto info = Parse(bytes)) {
                ++found;
                for (const auto& [k, v] : info->strings)
                    EXPECT_EQ(k.find('\n'), std::string::npos);
            }
        }
    }
    EXPECT_GT(found, 0);  // some damage misses the parts that matter
}

TEST(VersionFuzz, RandomAndHostileHeaders)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(rng() % 300, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng());
        if (bytes.size() >= 6 && round % 2 == 0) {
            bytes.replace(0, 4,
                          "\x7f"
                          "ELF");
            bytes[4] = static_cast<char>(1 + rng() % 2);
            bytes[5] = static_cast<char>(1 + rng() % 2);
        }
        (void)Parse(bytes);
    }
    // Counts, sizes and offsets at their limits.
    std::string image = elf_image::Build(kSection, {true, false, false, false});
    for (std::uint64_t value :
         {0ull, 1ull, 0xffffull, 0xffffffffull, 0x7fffffffffffffffull, ~0ull}) {
        for (std::size_t field : {0x28u, 0x3Au, 0x3Cu, 0x3Eu}) {
            std::string copy = image;
            elf_image::Writer(copy, false).Put(field, field == 0x28 ? 8 : 2, value);
            (void)Parse(copy);
        }
    }
    (void)platform::ParseVersionInfoImage(nullptr, 100);
    (void)platform::ParseVersionText(std::string(1 << 16, '='));
}
