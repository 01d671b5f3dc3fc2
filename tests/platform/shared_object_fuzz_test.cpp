// The check before a driver library is loaded: whole built libraries pass; cut, foreign, damaged
// and random input is refused with a reason, never crashing or reading outside it (the sanitizer
// build checks that).
#include "SharedObject.h"

#include "elf_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <unistd.h>

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Checks an exact-size heap copy, so reading one byte past the end is caught.
std::optional<std::string> Check(const std::string& bytes)
{
    std::unique_ptr<char[]> copy(new char[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return platform::SharedObjectImageProblem(copy.get(), bytes.size());
}

bool Says(const std::optional<std::string>& problem, const char* words)
{
    return problem && problem->find(words) != std::string::npos;
}

std::uint64_t Le(const std::string& b, std::size_t at, std::size_t width)
{
    std::uint64_t v = 0;
    for (std::size_t i = width; i-- > 0;)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

}  // namespace

TEST(SharedObjectCheck, WholeLibrariesPassAndEveryCutIsRefused)
{
    char templ[] = "/tmp/corvane-sofuzz-XXXXXX";
    const std::string folder = ::mkdtemp(templ), file = folder + "/cut.so";
    for (const char* path : {SIM_DRIVER, VERSION_FIXTURE}) {
        const std::string library = FileBytes(path);
        ASSERT_GT(library.size(), 8192u);
        EXPECT_EQ(Check(library), std::nullopt);
        EXPECT_EQ(platform::SharedObjectProblem(path), std::nullopt);
        // Every length of the first 512 bytes and of the last 64, coarse steps between.
        const std::size_t coarse = library.size() / 151;
        for (std::size_t n = 0; n < library.size();
             n += n < 512 || n + 64 > library.size() ? 1 : coarse) {
            const std::optional<std::string> problem = Check(library.substr(0, n));
            ASSERT_TRUE(problem) << n;
            if (n >= 4) {
                EXPECT_TRUE(Says(problem, "cut short")) << n << ": " << *problem;
            }
        }
        std::ofstream(file, std::ios::binary | std::ios::trunc) << library.substr(0, 4096);
        EXPECT_TRUE(Says(platform::SharedObjectProblem(file), "cut short"));
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "#!/bin/sh\nexit 0\n";
    EXPECT_TRUE(Says(platform::SharedObjectProblem(file), "not an ELF file"));
    EXPECT_TRUE(Says(platform::SharedObjectProblem(folder), "not a regular file"));
    ::unlink(file.c_str());
    EXPECT_TRUE(Says(platform::SharedObjectProblem(file), "cannot be opened"));
    ::rmdir(folder.c_str());
}

TEST(SharedObjectCheck, ForeignAndDamagedHeadersAreRefusedWithTheirReason)
{
    const std::string library = FileBytes(SIM_DRIVER);
    if (library[4] != 2 || library[5] != 1)
        GTEST_SKIP() << "written for 64-bit little-endian builds";
    const auto changed = [&](std::size_t at, std::size_t width, std::uint64_t value) {
        std::string copy = library;
        elf_image::Writer(copy, false).Put(at, width, value);
        return Check(copy);
    };
    EXPECT_TRUE(Says(changed(4, 1, 1), "32-bit"));
    EXPECT_TRUE(Says(changed(5, 1, 2), "byte order"));
    EXPECT_TRUE(Says(changed(0x12, 2, Le(library, 0x12, 2) ^ 0x40), "another machine"));
    EXPECT_TRUE(Says(changed(0x10, 2, 2), "not a shared library"));  // an executable
    EXPECT_TRUE(Says(changed(0x14, 4, 0), "ELF version"));
    EXPECT_TRUE(Says(changed(0x36, 2, 32), "program header"));
    EXPECT_TRUE(Says(changed(0x20, 8, library.size()), "program header table"));
    EXPECT_TRUE(Says(changed(0x28, 8, ~0ull), "section header table"));
    // Each loadable segment reaching one byte past the end, or so far that its end overflows.
    int loads = 0;
    for (std::uint64_t i = 0; i < Le(library, 0x38, 2); ++i) {
        const std::size_t ph = static_cast<std::size_t>(Le(library, 0x20, 8) + i * 56);
        if (Le(library, ph, 4) != 1)
            continue;
        ++loads;
        EXPECT_TRUE(Says(changed(ph + 32, 8, library.size() - Le(library, ph + 8, 8) + 1),
                         "loadable segment"));
        EXPECT_TRUE(Says(changed(ph + 8, 8, ~0ull - 5), "loadable segment"));
    }
    EXPECT_GE(loads, 2);
    EXPECT_TRUE(Check(elf_image::Build("no program headers")));
}

TEST(SharedObjectCheck, RandomAndFlippedBytesNeverCrash)
{
    std::mt19937 rng(4711);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(rng() % 400, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng());
        if (bytes.size() >= 6 && round % 2 == 0) {
            bytes.replace(0, 4,
                          "\x7f"
                          "ELF");
            bytes[4] = static_cast<char>(1 + rng() % 2);
            bytes[5] = static_cast<char>(1 + rng() % 2);
        }
        (void)Check(bytes);
    }
    // Flips in the headers and tables of a small real library, where the offsets and sizes live.
    const std::string library = FileBytes(VERSION_FIXTURE);
    const std::size_t tables = static_cast<std::size_t>(Le(library, 0x28, 8));
    int accepted = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string bytes = library;
        for (int f = 1 + static_cast<int>(rng() % 6); f > 0; --f) {
            const std::size_t at =
                rng() % 2 ? rng() % 640 : tables + rng() % (library.size() - tables);
            bytes[at] = static_cast<char>(rng() % 4 == 0 ? 0xff : rng());
        }
        accepted += !Check(bytes);
    }
    EXPECT_GT(accepted, 0);  // some damage misses the parts the check reads
}
