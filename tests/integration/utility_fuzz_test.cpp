// Random and damaged input for the readers of outside files: backup archives, "Startup.dat"
// and plug-in files. None may crash or hang, and a restore writes nothing but replacement names.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "BackupArchive.h"
#include "BackupNames.h"
#include "PlugInFile.h"
#include "StartupFile.h"
#include "TempDir.h"
#include "ZipTestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string RandomText(std::mt19937& rng, std::size_t max)
{
    static const char kAlphabet[] = "\"=\r\n ab/\\.:\x01\xC3\xA9";
    std::string s(rng() % max, '\0');
    for (char& c : s)
        c = rng() % 4 == 0 ? static_cast<char>(rng()) : kAlphabet[rng() % (sizeof kAlphabet - 1)];
    return s;
}

}  // namespace

TEST(UtilityFuzz, DamagedArchivesNeverWriteOutsideTheirNames)
{
    std::mt19937 rng(24);
    testing_support::TempDir dir;
    const std::string data = dir / "data";
    fs::create_directories(data);
    const std::string good = dir / "good.zip";
    ASSERT_TRUE(ziptest::WriteZip(
        good,
        {{"a.da_", std::string(5000, 'a')}, {"../b.da_", "b"}, {"c.bkp", RandomText(rng, 3000)}}));
    const std::string bytes = testing_support::GetFile(good);
    const std::string fuzzed = dir / "fuzzed.zip";
    for (int round = 0; round < 600; ++round) {
        std::string b = bytes;
        switch (round % 3) {
        case 0: b.resize(rng() % b.size()); break;
        case 1:
            for (int k = 0; k < 1 + static_cast<int>(rng() % 8); ++k)
                b[rng() % b.size()] = static_cast<char>(rng());
            break;
        default: b = RandomText(rng, 2000); break;
        }
        testing_support::PutFile(fuzzed, b);
        const backup::RestoreResult r = backup::RestoreBackup(fuzzed, data);
        for (const auto& e : fs::directory_iterator(data)) {
            const std::string name = e.path().filename().string();
            EXPECT_TRUE(backup::IsRestorableName(name)) << name;
            fs::remove(e.path());
        }
        if (r.status == backup::RestoreResult::Status::Failed) {
            EXPECT_FALSE(r.error.empty());
        }
    }
    EXPECT_FALSE(fs::exists(dir / "b.da_"));
}

TEST(UtilityFuzz, RandomStartupAndPlugInFilesParse)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomText(rng, 400);
        for (const startup_programs::StartupEntry& e : startup_programs::ParseText(text)) {
            EXPECT_FALSE(e.description.empty());
            EXPECT_EQ(e.description.find("\"="), std::string::npos);
        }
        const plugins::PlugInFile p = plugins::ParseText(text);
        EXPECT_LE(p.lines, 2);
        EXPECT_EQ(p.description.find('\n'), std::string::npos);
    }
}
