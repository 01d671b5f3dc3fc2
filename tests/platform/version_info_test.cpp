#include "VersionInfo.h"

#include "Process.h"
#include "VersionSection.h"
#include "elf_image.h"

#include <gtest/gtest.h>

#include "TempDir.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::CVersionInfoReader;
using platform::FixedVersion;

// The test program carries its own version information, read back from /proc/self/exe.
CORVANE_VERSION_INFO("0.9.0.3", "0.9.0.3",
                     CORVANE_VERSION_STRING("FileDescription", "Version reader test")
                         CORVANE_VERSION_STRING("Comments", "Beta build"))

namespace {

const char kText[] = CORVANE_VERSION_MAGIC
    "FixedFileVersion=1.2.0.5\n"
    "FixedProductVersion=4.7.0.1\n"
    "FileDescription=Simulated CI-V radio\n"
    "ProductVersion=4.7.0.1\n";

struct TempDir : testing_support::TempDir {
    TempDir() : testing_support::TempDir("corvane-version") {}
};

}  // namespace

TEST(VersionInfo, ReadsNumbersAndStringsOfABuiltLibrary)
{
    CVersionInfoReader reader(VERSION_FIXTURE);
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_EQ(reader.GetPath(), VERSION_FIXTURE);
    EXPECT_EQ(reader.GetFileVersion(), (FixedVersion{{1, 2, 0, 5}}));
    EXPECT_EQ(reader.GetProductVersion(), (FixedVersion{{4, 7, 0, 1}}));
    EXPECT_EQ(reader.GetFileVersion().MS(), 0x00010002u);
    EXPECT_EQ(reader.GetFileVersion().LS(), 0x00000005u);
    EXPECT_EQ(reader.GetProductVersion().MS(), 0x00040007u);
    EXPECT_EQ(reader.GetVersionMSText(), "4.7");
    EXPECT_EQ(reader.GetVersionLSText(), "0.1");

    EXPECT_EQ(reader.GetString("FileDescription"), "Version fixture");
    EXPECT_EQ(reader.GetString("CompanyName"), "Dravik");
    EXPECT_EQ(reader.GetString("LegalCopyRight"), "(c) Dravik");  // keys match without case
    EXPECT_EQ(reader.GetString("Formula"), "a=b+c");
    EXPECT_EQ(reader.GetString("Comments"), "");
    EXPECT_NE(reader.Info()->Find("Comments"), nullptr);  // present, though empty
    EXPECT_EQ(reader.GetString("SpecialBuild"), "");
    EXPECT_EQ(reader.GetString("FixedFileVersion"), "");  // the numbers are not string values
    EXPECT_TRUE(reader.HasDescription());
}

TEST(VersionInfo, ReadsTheRunningProgramAndStrippedCopies)
{
    CVersionInfoReader self("/proc/self/exe");
    ASSERT_TRUE(self.IsOpen());
    EXPECT_EQ(self.GetVersionMSText(), "0.9");
    EXPECT_EQ(self.GetVersionLSText(), "0.3");
    EXPECT_EQ(self.GetString("comments"), "Beta build");

    TempDir dir;
    const fs::path stripped = fs::path(dir.path) / "stripped.so";
    auto run =
        platform::SpawnAndWait({"strip", "--strip-all", "-o", stripped.string(), VERSION_FIXTURE});
    if (run.outcome == platform::RunResult::Outcome::NotStarted)
        GTEST_SKIP() << "no strip";
    ASSERT_TRUE(run.Succeeded());
    CVersionInfoReader reader(stripped.string());
    EXPECT_EQ(reader.GetString("ProductName"), "Corvane");
    EXPECT_EQ(reader.GetProductVersion(), (FixedVersion{{4, 7, 0, 1}}));
}

TEST(VersionInfo, FilesWithoutVersionInformationLeaveTheReaderEmpty)
{
    TempDir dir;
    const fs::path text = fs::path(dir.path) / "notes.dll";
    std::ofstream(text) << "MZ not an ELF file\n";

    CVersionInfoReader reader(VERSION_FIXTURE);
    ASSERT_TRUE(reader.IsOpen());
    for (const std::string& path :
         {std::string(UNVERSIONED_BINARY), text.string(),
          (fs::path(dir.path) / "missing.so").string(), dir.path, std::string()}) {
        EXPECT_FALSE(reader.Open(path)) << path;
        EXPECT_FALSE(reader.IsOpen());
        EXPECT_EQ(reader.GetPath(), "");
        EXPECT_EQ(reader.GetString("FileDescription"), "");
        EXPECT_FALSE(reader.HasDescription());
        EXPECT_EQ(reader.GetVersionMSText(), "");
        EXPECT_EQ(reader.GetVersionLSText(), "");
        EXPECT_EQ(reader.GetProductVersion(), FixedVersion{});
        ASSERT_TRUE(reader.Open(VERSION_FIXTURE));
    }
    EXPECT_FALSE(CVersionInfoReader("").IsOpen());
}

TEST(VersionInfo, EveryElfFlavourIsParsed)
{
    const std::string section(kText, sizeof kText);  // with its terminating '\0'
    for (bool is64 : {false, true})
        for (bool big : {false, true})
            for (bool extended : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "64=" << is64 << " big=" << big << " ext=" << extended);
                const std::string image = elf_image::Build(section, {is64, big, extended, false});
                auto info = platform::ParseVersionInfoImage(image.data(), image.size());
                ASSERT_TRUE(info.has_value());
                EXPECT_EQ(info->fileVersion, (FixedVersion{{1, 2, 0, 5}}));
                EXPECT_EQ(info->productVersion.LS(), 0x00000001u);
                ASSERT_NE(info->Find("fileDESCRIPTION"), nullptr);
                EXPECT_EQ(*info->Find("FileDescription"), "Simulated CI-V radio");
            }
    // A section that occupies no file space has nothing to read.
    const std::string nobits = elf_image::Build(section, {true, false, false, true});
    EXPECT_FALSE(platform::ParseVersionInfoImage(nobits.data(), nobits.size()));
    // The same image read from a file.
    TempDir dir;
    const fs::path file = fs::path(dir.path) / "be32.so";
    std::ofstream(file, std::ios::binary) << elf_image::Build(section, {false, true, false, false});
    EXPECT_EQ(CVersionInfoReader(file.string()).GetString("ProductVersion"), "4.7.0.1");
}

TEST(VersionInfo, SectionTextRules)
{
    using platform::ParseVersionText;
    EXPECT_FALSE(ParseVersionText("FixedFileVersion=1.2.0.5\n"));  // no magic
    EXPECT_FALSE(ParseVersionText("CORVANE-VERSION 2\nA=b\n"));
    auto info = ParseVersionText(CORVANE_VERSION_MAGIC
                                 "FixedFileVersion=1.2.70000.5\n"  // part out of range
                                 "FixedProductVersion=3.1\r\n"     // short form, CR LF
                                 "no separator line\n"
                                 "=nameless\n"
                                 "Key=first\n"
                                 "KEY=second\n"
                                 "Last=no newline");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fileVersion, FixedVersion{});
    EXPECT_EQ(info->productVersion, (FixedVersion{{3, 1, 0, 0}}));
    EXPECT_EQ(*info->Find("key"), "first");
    EXPECT_EQ(*info->Find("Last"), "no newline");
    EXPECT_EQ(info->strings.size(), 3u);

    // A second record after the first one's '\0' (two objects linked together) is ignored.
    const std::string twice =
        std::string(CORVANE_VERSION_MAGIC "A=1\n") + '\0' + CORVANE_VERSION_MAGIC "A=2\nB=3\n";
    auto first = ParseVersionText(twice);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first->Find("A"), "1");
    EXPECT_EQ(first->Find("B"), nullptr);

    for (const char* bad : {"1.2.0.5.6", "1..2", "-1.0", "1.2.", "a.b", "", "123456"})
        EXPECT_EQ(ParseVersionText(std::string(CORVANE_VERSION_MAGIC "FixedFileVersion=") + bad)
                      ->fileVersion,
                  FixedVersion{})
            << bad;
}
