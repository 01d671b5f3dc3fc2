// The backup archive with real zip files: the entries a backup writes (as minizip and the unzip
// tool read them), what a restore takes from hostile and damaged archives, and that a failed
// backup or restore leaves the files it found.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "BackupArchive.h"
#include "BackupNames.h"
#include "FullDisk.h"
#include "TempDir.h"
#include "ZipTestSupport.h"

namespace fs = std::filesystem;
using testing_support::GetFile;
using testing_support::PutFile;

namespace {

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Noise(std::size_t bytes, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string s(bytes, '\0');
    for (char& c : s)
        c = static_cast<char>(rng() & 0x3F);  // compressible a little, like audio
    return s;
}

bool HaveUnzip()
{
    return std::system("command -v unzip >/dev/null 2>&1") == 0;
}

}  // namespace

TEST(BackupArchive, EntriesAreReplacementNamesOfAStandardZip)
{
    testing_support::TempDir data, target;
    PutFile(data / "MemPC.Dat", "Calling ~ 145.500.000\n");
    PutFile(data / "Corvane.ini", "[Setup]\nPort=1\n");
    PutFile(data / "Voice.WAV", Noise(300000, 1));
    PutFile(data / "Group.mem", "x\n");
    PutFile(data / "Caf\xC3\xA9.dat", "utf-8 name\n");
    PutFile(data / "notes.txt", "not taken\n");
    PutFile(target / "Corvane_BACKUP.ZIP", "an old archive");

    const backup::BackupResult r = backup::WriteBackup(data.path, target.path);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.entries, 5);
    EXPECT_EQ(Names(target.path), std::vector<std::string>{"Corvane_BACKUP.ZIP"});

    const std::vector<ziptest::Entry> entries = ziptest::ReadZip(r.archivePath);
    std::vector<std::string> names;
    for (const auto& e : entries) {
        names.push_back(e.name);
        EXPECT_EQ(e.method, Z_DEFLATED) << e.name;
        if (e.name == "Caf\xC3\xA9.da_") {
            EXPECT_NE(e.flag & 0x800, 0u) << "UTF-8 name not flagged";
        }
        if (e.name == "Voice.wa_") {
            EXPECT_EQ(e.data, GetFile(data / "Voice.WAV"));
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Caf\xC3\xA9.da_", "MemPC.da_", "Group.me_",
                                               "Voice.wa_", "Corvane.bkp"}));
    if (HaveUnzip()) {
        EXPECT_EQ(std::system(("unzip -tq '" + r.archivePath + "' >/dev/null").c_str()), 0);
        testing_support::TempDir out;
        ASSERT_EQ(std::system(("unzip -q '" + r.archivePath + "' -d '" + out.path + "'").c_str()),
                  0);
        EXPECT_EQ(GetFile(out / "MemPC.da_"), GetFile(data / "MemPC.Dat"));
    }

    // A second backup replaces the archive whole.
    fs::remove(data / "Group.mem");
    ASSERT_TRUE(backup::WriteBackup(data.path, target.path).ok);
    EXPECT_EQ(ziptest::ReadZip(r.archivePath).size(), 4u);
}

TEST(BackupArchive, RestoreWritesOnlyBareReplacementNames)
{
    testing_support::TempDir parent;
    const std::string data = parent / "data";
    fs::create_directories(data);
    const std::string zip = parent / "hostile.zip";
    ASSERT_TRUE(ziptest::WriteZip(zip, {{"../x.da_", "up"},
                                        {"/tmp/corvane-abs-x.da_", "abs"},
                                        {"sub/x.da_", "sub"},
                                        {"..\\y.da_", "back"},
                                        {"c:z.da_", "drive"},
                                        {"Corvane", "program"},
                                        {"Corvane.ini", "live file"},
                                        {"ok.ME_", "restored"}}));
    const backup::RestoreResult r = backup::RestoreBackup(zip, data);
    ASSERT_EQ(r.status, backup::RestoreResult::Status::Restored) << r.error;
    EXPECT_EQ(r.restored, std::vector<std::string>{"ok.ME_"});
    EXPECT_EQ(r.skipped.size(), 7u);
    EXPECT_EQ(Names(data), std::vector<std::string>{"ok.ME_"});
    EXPECT_EQ(GetFile(data + "/ok.ME_"), "restored");
    // An archive that records no modes gives the files a new file of the user's gets.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_EQ(fs::status(data + "/ok.ME_").permissions(), fs::perms(0666 & ~mask));
    EXPECT_EQ(Names(parent.path), (std::vector<std::string>{"data", "hostile.zip"}));
    EXPECT_FALSE(fs::exists("/tmp/corvane-abs-x.da_"));

    // Nothing restorable, or no entries at all: nothing written.
    const std::string none = parent / "none.zip";
    ASSERT_TRUE(ziptest::WriteZip(none, {{"../x.da_", "up"}, {"a.txt", "t"}}));
    EXPECT_EQ(backup::RestoreBackup(none, data).status, backup::RestoreResult::Status::Invalid);
    const std::string empty = parent / "empty.zip";
    ASSERT_TRUE(ziptest::WriteZip(empty, {}));
    EXPECT_EQ(backup::RestoreBackup(empty, data).status, backup::RestoreResult::Status::Invalid);
    EXPECT_EQ(Names(data), std::vector<std::string>{"ok.ME_"});
}

TEST(BackupArchive, DamagedEntryFailsTheRestoreAndRemovesWhatItWrote)
{
    testing_support::TempDir data, target, restoreInto;
    PutFile(data / "A.dat", "first entry\n");
    PutFile(data / "B.mem", Noise(200000, 2));
    const backup::BackupResult b = backup::WriteBackup(data.path, target.path);
    ASSERT_TRUE(b.ok) << b.error;
    PutFile(restoreInto / "Older.da_", "an earlier restore's file");

    const long long at = ziptest::DataOffset(b.archivePath, 1);
    ASSERT_GT(at, 0);
    std::string bytes = GetFile(b.archivePath);
    for (long long i = at + 1000; i < at + 1064; ++i)
        bytes[static_cast<std::size_t>(i)] ^= 0x5A;
    const std::string broken = target / "broken.zip";
    PutFile(broken, bytes);

    const backup::RestoreResult r = backup::RestoreBackup(broken, restoreInto.path);
    EXPECT_EQ(r.status, backup::RestoreResult::Status::Failed);
    EXPECT_NE(r.error.find("B.me_"), std::string::npos) << r.error;
    EXPECT_EQ(Names(restoreInto.path), std::vector<std::string>{"Older.da_"});

    // Truncated: the central directory is gone, so it is no archive.
    PutFile(broken, bytes.substr(0, bytes.size() / 2));
    EXPECT_EQ(backup::RestoreBackup(broken, restoreInto.path).status,
              backup::RestoreResult::Status::Invalid);
    EXPECT_EQ(Names(restoreInto.path), std::vector<std::string>{"Older.da_"});
}

TEST(BackupArchive, FailedBackupKeepsTheOldArchive)
{
    testing_support::TempDir data, target;
    PutFile(data / "Small.dat", "small\n");
    const backup::BackupResult first = backup::WriteBackup(data.path, target.path);
    ASSERT_TRUE(first.ok) << first.error;
    const std::string old = GetFile(first.archivePath);

    PutFile(data / "Big.wav", Noise(2000000, 3));
    // The disk fills up while the new archive is written.
    EXPECT_FALSE(testing_support::OnFullDisk(
        100000, [&] { return backup::WriteBackup(data.path, target.path).ok; }));
    EXPECT_EQ(GetFile(first.archivePath), old);
    EXPECT_EQ(Names(target.path), std::vector<std::string>{"Corvane_BACKUP.ZIP"});

    // A folder that cannot be written says why.
    const backup::BackupResult missing = backup::WriteBackup(data.path, target / "no/such");
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());
    EXPECT_EQ(backup::FindArchive(target.path), first.archivePath);
}

TEST(BackupArchive, NamesAndTheArchiveAreFoundIgnoringCase)
{
    EXPECT_EQ(backup::EntryName("MemPC.Dat"), "MemPC.da_");
    EXPECT_EQ(backup::EntryName("Corvane.INI"), "Corvane.bkp");
    EXPECT_EQ(backup::EntryName("a.b.wav"), "a.b.wa_");
    EXPECT_EQ(backup::EntryName("readme.txt"), "");
    EXPECT_EQ(backup::EntryName(".dat"), "");
    EXPECT_TRUE(backup::IsRestorableName("MemPC.DA_"));
    EXPECT_FALSE(backup::IsRestorableName(".da_"));
    EXPECT_FALSE(backup::IsRestorableName("x.dat"));

    testing_support::TempDir dir;
    EXPECT_FALSE(backup::FindArchive(dir.path));
    PutFile(dir / "corvane_backup.zip", "");
    EXPECT_EQ(backup::FindArchive(dir.path), dir / "corvane_backup.zip");

    // A name that does not open as a file to read is no archive, and a FIFO does not hang.
    testing_support::TempDir odd;
    ASSERT_EQ(::mkfifo((odd / "Corvane_BACKUP.ZIP").c_str(), 0600), 0);
    EXPECT_FALSE(backup::FindArchive(odd.path));
}

TEST(BackupArchive, RestoreReplacesOtherSpellingsOfAnEntry)
{
    testing_support::TempDir parent;
    const std::string data = parent / "data";
    fs::create_directories(data);
    PutFile(data + "/MEMPC.DA_", "older spelling");
    PutFile(data + "/Keep.da_", "untouched");
    const std::string zip = parent / "spellings.zip";
    // Two spellings inside the archive too: the later entry is the one left.
    ASSERT_TRUE(ziptest::WriteZip(
        zip, {{"MemPC.da_", "restored"}, {"skd.ME_", "first"}, {"SKD.me_", "second"}}));
    std::vector<std::pair<int, int>> steps;
    const backup::RestoreResult r = backup::RestoreBackup(
        zip, data, [&](int done, int total) { steps.emplace_back(done, total); });
    ASSERT_EQ(r.status, backup::RestoreResult::Status::Restored) << r.error;
    EXPECT_EQ(Names(data), (std::vector<std::string>{"Keep.da_", "MemPC.da_", "SKD.me_"}));
    // Three extractions, the commit, three renames.
    ASSERT_EQ(steps.size(), 7u);
    for (std::size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(steps[i], std::make_pair(static_cast<int>(i) + 1, 7));
    EXPECT_EQ(GetFile(data + "/MemPC.da_"), "restored");
    EXPECT_EQ(GetFile(data + "/SKD.me_"), "second");
    EXPECT_EQ(GetFile(data + "/Keep.da_"), "untouched");
}

TEST(BackupArchive, RestoreRefusesTooManyEntriesOrMoreThanTheFreeSpaceBeforeWriting)
{
    testing_support::TempDir parent;
    const std::string data = parent / "data";
    fs::create_directories(data);
    std::vector<ziptest::Item> many;
    for (int i = 0; i <= 10000; ++i)
        many.push_back({"e" + std::to_string(i) + ".da_", "x"});
    const std::string crowded = parent / "crowded.zip";
    ASSERT_TRUE(ziptest::WriteZip(crowded, many));
    backup::RestoreResult r = backup::RestoreBackup(crowded, data);
    EXPECT_EQ(r.status, backup::RestoreResult::Status::Failed);
    EXPECT_NE(r.error.find("more than 10000 entries"), std::string::npos) << r.error;
    EXPECT_TRUE(Names(data).empty());

    // 20 TB announced: no folder has room, whatever the entries hold.
    const std::string bomb = parent / "bomb.zip";
    ASSERT_TRUE(ziptest::WriteAnnouncing(bomb, "Huge", 5000, 4000000000ul));
    r = backup::RestoreBackup(bomb, data);
    EXPECT_EQ(r.status, backup::RestoreResult::Status::Failed);
    EXPECT_NE(r.error.find("free space"), std::string::npos) << r.error;
    EXPECT_TRUE(Names(data).empty());

    // An entry that holds less than it announces fails the restore, leaving nothing.
    ASSERT_TRUE(ziptest::WriteAnnouncing(bomb, "Small", 1, 1000));
    r = backup::RestoreBackup(bomb, data);
    EXPECT_EQ(r.status, backup::RestoreResult::Status::Failed);
    EXPECT_TRUE(Names(data).empty());
}
