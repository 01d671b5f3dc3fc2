// The check that runs before a driver library is loaded: whole built libraries pass; cut,
// foreign, damaged and random files are refused with a reason, and the check itself never
// crashes or reads outside its input (the sanitizer build checks that).
#include "SharedObject.h"

#include "VersionSection.h"
#include "elf_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Checks an exact-size heap copy, so reading one byte past the end is caught.
std::optional<std::string> Check(const std::string& bytes) {
    std::unique_ptr<char[]> copy(new char[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return platform::SharedObjectImageProblem(copy.get(), bytes.size());
}

std::uint64_t Le(const std::string& b, std::size_t at, std::size_t width) {
    std::uint64_t v = 0;
    for (std::size_t i = width; i-- > 0;) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

struct TempFolder {
    fs::path path;
    TempFolder() {
        char templ[] = "/tmp/corvane-sofuzz-XXXXXX";
        path = ::mkdtemp(templ);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string Put(const std::string& name, const std::string& bytes) const {
        const fs::path file = path / name;
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        return file.string();
    }
};

const std::vector<std::string>& Libraries() {
    static const std::vector<std::string> libraries = {FileBytes(SIM_DRIVER), FileBytes(VERSION_FIXTURE)};
    return libraries;
}

bool Says(const std::optional<std::string>& problem, const std::string& words) {
    return problem && problem->find(words) != std::string::npos;
}

}  // namespace

TEST(SharedObjectCheck, WholeLibrariesPassAndEveryCutIsRefused) {
    TempFolder folder;
    for (const std::string& library : Libraries()) {
        ASSERT_GT(library.size(), 8192u);
        EXPECT_EQ(Check(library), std::nullopt);
        EXPECT_EQ(platform::SharedObjectProblem(folder.Put("whole.so", library)), std::nullopt);

        // Every length of the first 512 bytes and of the last 64, and coarse steps between.
        std::vector<std::size_t> cuts;
        for (std::size_t n = 0; n < 512; ++n) cuts.push_back(n);
        for (std::size_t n = 512; n < library.size(); n += library.size() / 151) cuts.push_back(n);
        for (std::size_t n = library.size() - 64; n < library.size(); ++n) cuts.push_back(n);
        cuts.push_back(4096);
        for (std::size_t n : cuts) {
            const std::string piece = library.substr(0, n);
            const std::optional<std::string> problem = Check(piece);
            ASSERT_TRUE(problem) << n;
            if (n >= 4) {
                EXPECT_TRUE(Says(problem, "cut short")) << n << ": " << *problem;
            }
        }
        // From files as the driver binding checks them.
        for (std::size_t n : {std::size_t{0}, std::size_t{3}, std::size_t{100}, std::size_t{4096}, library.size() / 2,
                              library.size() - 1}) {
            const std::optional<std::string> problem = platform::SharedObjectProblem(folder.Put("cut.so", library.substr(0, n)));
            EXPECT_TRUE(problem) << n;
        }
    }
}

TEST(SharedObjectCheck, ForeignAndDamagedFilesAreRefusedWithTheirReason) {
    const std::string& library = Libraries().front();
    if (library[4] != 2 || library[5] != 1) GTEST_SKIP() << "written for 64-bit little-endian builds";
    const auto changed = [&](std::size_t at, std::size_t width, std::uint64_t value) {
        std::string copy = library;
        elf_image::Writer(copy, false).Put(at, width, value);
        return copy;
    };
    EXPECT_TRUE(Says(Check(changed(4, 1, 1)), "32-bit"));
    EXPECT_TRUE(Says(Check(changed(5, 1, 2)), "byte order"));
    EXPECT_TRUE(Says(Check(changed(0x12, 2, Le(library, 0x12, 2) ^ 0x40)), "another machine"));
    EXPECT_TRUE(Says(Check(changed(0x10, 2, 2)), "not a shared library"));  // an executable
    EXPECT_TRUE(Says(Check(changed(0x14, 4, 0)), "ELF version"));
    EXPECT_TRUE(Says(Check(changed(0x36, 2, 32)), "program header"));
    EXPECT_TRUE(Says(Check(changed(0x38, 2, 0)), "program header"));
    EXPECT_TRUE(Says(Check(changed(0x20, 8, library.size())), "program header table"));
    EXPECT_TRUE(Says(Check(changed(0x28, 8, library.size() - 10)), "section header table"));
    EXPECT_TRUE(Says(Check(changed(0x28, 8, ~0ull)), "section header table"));

    // Each loadable segment reaching one byte past the end, and one whose end overflows.
    const std::uint64_t phoff = Le(library, 0x20, 8);
    int loads = 0;
    for (std::uint64_t i = 0; i < Le(library, 0x38, 2); ++i) {
        const std::size_t ph = static_cast<std::size_t>(phoff + i * 56);
        if (Le(library, ph, 4) != 1) continue;
        ++loads;
        const std::uint64_t offset = Le(library, ph + 8, 8);
        EXPECT_TRUE(Says(Check(changed(ph + 32, 8, library.size() - offset + 1)), "loadable segment"));
        EXPECT_TRUE(Says(Check(changed(ph + 8, 8, ~0ull - 5)), "loadable segment"));
    }
    EXPECT_GE(loads, 2);

    // No program headers at all (a hand-built object file image), text, and what is no file.
    EXPECT_TRUE(Check(elf_image::Build(std::string(CORVANE_VERSION_MAGIC) + '\0')));
    EXPECT_TRUE(Says(Check("INPUT(libc.so.6)\n"), "not an ELF file"));
    TempFolder folder;
    EXPECT_TRUE(Says(platform::SharedObjectProblem(folder.Put("text.so", "#!/bin/sh\nexit 0\n")), "not an ELF file"));
    EXPECT_TRUE(Says(platform::SharedObjectProblem(folder.path.string()), "not a regular file"));
    EXPECT_TRUE(Says(platform::SharedObjectProblem((folder.path / "missing.so").string()), "cannot be opened"));
}

TEST(SharedObjectCheck, RandomAndFlippedBytesNeverCrash) {
    std::mt19937 rng(4711);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(rng() % 400, '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        if (bytes.size() >= 6 && round % 2 == 0) {
            bytes.replace(0, 4, "\x7f" "ELF");
            bytes[4] = static_cast<char>(1 + rng() % 2);
            bytes[5] = static_cast<char>(1 + rng() % 2);
        }
        (void)Check(bytes);
    }
    // Flips in the headers and tables of real libraries, where the offsets and sizes live.
    int accepted = 0;
    for (const std::string& library : Libraries()) {
        const std::size_t tables = static_cast<std::size_t>(Le(library, 0x28, 8));
        for (int round = 0; round < 3000; ++round) {
            std::string bytes = library;
            const int flips = 1 + static_cast<int>(rng() % 6);
            for (int f = 0; f < flips; ++f) {
                std::size_t at;
                switch (rng() % 3) {
                    case 0: at = rng() % 64; break;
                    case 1: at = 64 + rng() % 512; break;
                    default: at = tables + rng() % (library.size() - tables); break;
                }
                bytes[at] = static_cast<char>(rng() % 4 == 0 ? 0xff : rng());
            }
            if (!Check(bytes)) ++accepted;
        }
    }
    EXPECT_GT(accepted, 0);  // some damage misses the parts the check reads
}
