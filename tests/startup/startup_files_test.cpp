// Start-up steps that work on files: restored-file renames, the registry import, the write test
// (through the real tolvash and without it), tolvash itself, and the version text.
#include "Ini.h"
#include "PrivateProfile.h"
#include "Process.h"
#include "Profile.h"
#include "RestoredFiles.h"
#include "SettingsImport.h"
#include "StartupTestSupport.h"
#include "TempDir.h"
#include "Tolvash.h"
#include "VersionText.h"
#include "WriteTest.h"
#include "WriteTestRecord.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::GetFile;
using testing_support::PutFile;
using testing_support::TempDir;

namespace {

bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// ---- restored files ----

TEST(RestoredFilesTest, EveryKindReplacesTheCurrentFile)
{
    TempDir dir;
    PutFile(dir / "Corvane.ini", "[Setup]\nLanguage=old\n");
    PutFile(dir / "Corvane.bkp", "[Setup]\nLanguage=restored\n");
    PutFile(dir / "Skeds.da_", "restored skeds");
    PutFile(dir / "Group1.me_", "restored memories");
    PutFile(dir / "Clip.wa_", "restored wave");
    PutFile(dir / "Clip.wav", "old wave");

    std::vector<std::string> errors;
    int renamed =
        restored_files::RenamePending(dir.path, [&](const std::string& m) { errors.push_back(m); });

    EXPECT_EQ(renamed, 4);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(GetFile(dir / "Corvane.ini"), "[Setup]\nLanguage=restored\n");
    EXPECT_EQ(GetFile(dir / "Skeds.dat"), "restored skeds");
    EXPECT_EQ(GetFile(dir / "Group1.mem"), "restored memories");
    EXPECT_EQ(GetFile(dir / "Clip.wav"), "restored wave");
    EXPECT_EQ(Names(dir.path),
              (std::vector<std::string>{"Clip.wav", "Corvane.ini", "Group1.mem", "Skeds.dat"}));
}

TEST(RestoredFilesTest, ACaseVariantOfTheTargetIsReplacedNotKeptBeside)
{
    TempDir dir;
    // The program reads "MemPC.Dat"; were the old "MEMPC.DAT" kept beside the restored file,
    // either could be the one read.
    PutFile(dir / "MEMPC.DAT", "old");
    PutFile(dir / "MemPC.DA_", "restored");
    PutFile(dir / "split.Bkp", "restored ini");
    PutFile(dir / "SPLIT.INI", "old ini");

    restored_files::RenamePending(dir.path, {});

    EXPECT_EQ(Names(dir.path), (std::vector<std::string>{"MemPC.dat", "split.ini"}));
    EXPECT_EQ(GetFile(dir / "MemPC.dat"), "restored");
    EXPECT_EQ(GetFile(dir / "split.ini"), "restored ini");
}

TEST(RestoredFilesTest, AFailedRenameKeepsBothFilesAndTheOthersGoOn)
{
    TempDir dir;
    // A folder of the target's name cannot be replaced by a file.
    std::filesystem::create_directory(dir / "Busy.dat");
    PutFile(dir / "Busy.dat/inside", "kept");
    PutFile(dir / "Busy.da_", "restored busy");
    PutFile(dir / "Zeta.da_", "restored zeta");
    PutFile(dir / "Log.me_", "restored log");

    std::vector<std::string> errors;
    int renamed =
        restored_files::RenamePending(dir.path, [&](const std::string& m) { errors.push_back(m); });

    EXPECT_EQ(renamed, 2);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Error: ", 0), 0u);
    EXPECT_GT(errors[0].size(), 7u);
    EXPECT_EQ(GetFile(dir / "Busy.da_"), "restored busy");
    EXPECT_EQ(GetFile(dir / "Busy.dat/inside"), "kept");
    EXPECT_EQ(GetFile(dir / "Zeta.dat"), "restored zeta");
    EXPECT_EQ(GetFile(dir / "Log.mem"), "restored log");
}

// ---- registry import ----

class SettingsImportTest : public ::testing::Test {
protected:
    SettingsImportTest() : profile_(dir_ / "registry.ini")
    {
        ini_.SetPath((dir_ / "Corvane.ini").c_str());
    }
    TempDir dir_;
    Profile profile_;
    CIni ini_;
};

TEST_F(SettingsImportTest, AnOlderInstallationIsCopiedOnce)
{
    profile_.WriteProfileInt("Setup", "Indirizzo", 0x58);
    profile_.WriteProfileInt("Setup", "Baud", 9600);
    profile_.WriteProfileInt("Setup", "RTX", 0);
    profile_.WriteProfileString("Setup", "Driver", "SimRadio.so");
    profile_.WriteProfileString("Setup", "Log", "");
    profile_.WriteProfileInt("AudioRecorder", "RecSQL", 1);
    profile_.WriteProfileString("AudioRecorder", "AudioFile", "C:\\Audio");
    profile_.WriteProfileInt("S-Meter", "Refresh", 250);

    ASSERT_TRUE(settings_import::ImportOldSettings(ini_, profile_));
    EXPECT_EQ(ini_.GetInt("Setup", "Indirizzo", 0), 0x58);
    EXPECT_EQ(ini_.GetInt("Setup", "Baud", 0), 9600);
    EXPECT_EQ(ini_.GetInt("Setup", "RTX", -1), 0);
    EXPECT_EQ(ini_.GetString("Setup", "Driver"), "SimRadio.so");
    EXPECT_EQ(ini_.GetString("Setup", "Log", "absent"), "");  // an empty text is a value too
    EXPECT_EQ(ini_.GetInt("AudioRecorder", "RecSQL", 0), 1);
    EXPECT_EQ(ini_.GetString("AudioRecorder", "AudioFile"), "C:\\Audio");
    EXPECT_EQ(ini_.GetInt("S-Meter", "Refresh", 0), 250);
    EXPECT_EQ(ini_.GetInt("Setup", "ImportEseguito", 0), 1);

    // Values the registry lacks are not written as 0, so the readers' defaults stay in force.
    EXPECT_EQ(ini_.GetInt("S-Meter", "Divisore", 10), 10);
    EXPECT_EQ(ini_.GetString("Setup", "Parita", "N"), "N");

    // Done once: a later change in the registry is not copied again.
    profile_.WriteProfileInt("Setup", "Baud", 1200);
    EXPECT_FALSE(settings_import::ImportOldSettings(ini_, profile_));
    EXPECT_EQ(ini_.GetInt("Setup", "Baud", 0), 9600);
}

TEST_F(SettingsImportTest, WithoutAnAddressNothingIsWrittenAndTheTestRepeats)
{
    profile_.WriteProfileInt("Setup", "Baud", 9600);
    EXPECT_FALSE(settings_import::ImportOldSettings(ini_, profile_));
    EXPECT_FALSE(Exists(dir_ / "Corvane.ini"));

    profile_.WriteProfileInt("Setup", "Indirizzo", 0);
    EXPECT_FALSE(settings_import::ImportOldSettings(ini_, profile_));
    EXPECT_FALSE(Exists(dir_ / "Corvane.ini"));

    // A later start finds the older installation after all.
    profile_.WriteProfileInt("Setup", "Indirizzo", 0x4E);
    EXPECT_TRUE(settings_import::ImportOldSettings(ini_, profile_));
    EXPECT_EQ(ini_.GetInt("Setup", "Baud", 0), 9600);
}

TEST_F(SettingsImportTest, AFailedWriteLeavesTheImportToDo)
{
    profile_.WriteProfileInt("Setup", "Indirizzo", 0x58);
    CIni nowhere;
    nowhere.SetPath((dir_ / "missing-folder/Corvane.ini").c_str());
    EXPECT_FALSE(settings_import::ImportOldSettings(nowhere, profile_));
    EXPECT_EQ(nowhere.GetInt("Setup", "ImportEseguito", 0), 0);
}

// ---- write test and tolvash ----

class WriteTestTest : public ::testing::Test {
protected:
    WriteTestTest() { ini_.SetPath((dir_ / "Corvane.ini").c_str()); }
    TempDir dir_;
    CIni ini_;
};

TEST_F(WriteTestTest, TolvashDoesTheWritingAndLeavesNoTestFile)
{
    ASSERT_TRUE(startup_test::CopyTolvash(dir_.path));
    WriteTest test(dir_.path, ini_);
    ASSERT_TRUE(test.TestFile());
    ASSERT_TRUE(test.TestIni());
    EXPECT_TRUE(test.GetReport().fileByTolvash);
    EXPECT_TRUE(test.GetReport().iniByTolvash);
    EXPECT_FALSE(Exists(test.GetReport().testFile));
    EXPECT_EQ(Names(dir_.path), (std::vector<std::string>{"Corvane.ini", "tolvash"}));
    EXPECT_GT(ini_.GetInt("Setup", "TestWrite", 0), 0);
}

TEST_F(WriteTestTest, WithoutTolvashTheProgramWritesItself)
{
    WriteTest test(dir_.path, ini_);
    EXPECT_TRUE(test.TestFile());
    EXPECT_TRUE(test.TestIni());
    EXPECT_FALSE(test.GetReport().fileByTolvash);
    EXPECT_FALSE(test.GetReport().iniByTolvash);
    EXPECT_EQ(Names(dir_.path), (std::vector<std::string>{"Corvane.ini"}));
}

TEST_F(WriteTestTest, AReadOnlyFolderFailsWithAndWithoutTolvash)
{
    ASSERT_TRUE(startup_test::CopyTolvash(dir_.path));
    PutFile(dir_ / "Corvane.ini", "[Setup]\nTestWrite=0\n");
    // The INI itself stays writable, as a read-only folder still allows.
    startup_test::ReadOnlyFolder readOnly(dir_.path);
    if (!readOnly.Ok())
        GTEST_SKIP() << "cannot make a folder read-only here";

    WriteTest test(dir_.path, ini_);
    EXPECT_FALSE(test.TestFile());
    EXPECT_FALSE(test.GetReport().fileOk);
    // The INI is rewritten through a temporary file beside it, so it cannot change either.
    EXPECT_FALSE(test.TestIni());
    EXPECT_EQ(ini_.GetInt("Setup", "TestWrite", -1), 0);
}

TEST_F(WriteTestTest, AFileLeftByAKilledTestGoesAtTheNextStartAndNothingElse)
{
    // A helper that makes the test file and then kills the program, as a kill during start-up does.
    PutFile(dir_ / "tolvash", "#!/bin/sh\n: > \"$1\"\nkill -KILL $PPID\n");
    ASSERT_EQ(chmod((dir_ / "tolvash").c_str(), 0755), 0);
    PutFile(dir_ / "MemPC.dat", "memories");
    PutFile(dir_ / "4321.dat", "a numbered data file");
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        WriteTest(dir_.path, ini_).TestFile();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    std::vector<std::string> left = Names(dir_.path);
    ASSERT_EQ(left.size(), 5u);  // the test file and its record beside ours
    const std::string leftOver = left[0].substr(std::string_view(".writetest.").size());
    EXPECT_EQ(left[0], ".writetest." + leftOver);
    EXPECT_TRUE(Exists(dir_ / leftOver));

    // A record naming a file outside the folder is not followed; a test running meanwhile in
    // another start keeps its file.
    TempDir outside;
    PutFile(outside / "9.dat", "elsewhere");
    PutFile(dir_ / ".writetest.9.dat",
            "../" + std::filesystem::path(outside.path).filename().string() + "/9.dat\n");
    write_test_record::Record running;
    ASSERT_TRUE(running.Open(dir_.path, "55.dat"));
    PutFile(dir_ / "55.dat", "being tested");

    ASSERT_TRUE(startup_test::CopyTolvash(dir_.path));
    ASSERT_TRUE(WriteTest(dir_.path, ini_).TestFile());
    EXPECT_EQ(Names(dir_.path), (std::vector<std::string>{".writetest.55.dat", "4321.dat", "55.dat",
                                                          "MemPC.dat", "tolvash"}));
    EXPECT_EQ(GetFile(outside / "9.dat"), "elsewhere");
    running.Close();
    EXPECT_FALSE(Exists(dir_ / ".writetest.55.dat"));
}

TEST(TolvashTest, CommandsWriteWhatTheProgramChecks)
{
    TempDir dir;
    std::string tolvash = std::string(CORVANE_BIN_DIR) + "/tolvash";
    std::string ini = dir / "Corvane.ini";
    PutFile(ini, "[Setup]\nLanguage=English.lng\n");

    // "Corvane.INI" names the same file, whatever its case on disk.
    auto r = platform::SpawnAndWait({tolvash, "ControllaIni", dir / "Corvane.INI", "4711"});
    EXPECT_TRUE(r.Succeeded());
    EXPECT_EQ(GetFile(ini), "[Setup]\nLanguage=English.lng\nTestWrite=4711\n");

    EXPECT_TRUE(platform::SpawnAndWait({tolvash, dir / "123.dat", ""}).Succeeded());
    EXPECT_TRUE(Exists(dir / "123.dat"));
    EXPECT_EQ(platform::SpawnAndWait({tolvash, dir / "no-folder/1.dat", ""}).exitCode, 1);
    EXPECT_EQ(platform::SpawnAndWait({tolvash, "ControllaIni", ini, "x"}).exitCode, 2);
    EXPECT_EQ(platform::SpawnAndWait({tolvash}).exitCode, 2);

    // The update check finds nothing and changes nothing.
    std::string before = GetFile(ini);
    EXPECT_TRUE(platform::SpawnAndWait({tolvash, "GetUpdateFromWeb", ini, "1"}).Succeeded());
    EXPECT_EQ(GetFile(ini), before);
}

TEST(TolvashTest, TheWriteTestNeverEmptiesOrRemovesAnExistingFile)
{
    TempDir dir;
    const std::string tolvash = std::string(CORVANE_BIN_DIR) + "/tolvash";
    const std::string data = dir / "MemPC.Dat";
    PutFile(data, "memories\n");
    EXPECT_EQ(platform::SpawnAndWait({tolvash, data, ""}).exitCode, 1);
    EXPECT_EQ(GetFile(data), "memories\n");
}

TEST(TolvashTest, UpdateCheckStartsWithoutWaiting)
{
    TempDir dir;
    ASSERT_TRUE(startup_test::CopyTolvash(dir.path));
    EXPECT_TRUE(tolvash_call::RunUpdateCheck(true, dir.path, dir / "Corvane.ini"));
    EXPECT_FALSE(tolvash_call::RunUpdateCheck(false, dir.path, dir / "Corvane.ini"));
    TempDir empty;
    EXPECT_FALSE(tolvash_call::RunUpdateCheck(true, empty.path, empty / "Corvane.ini"));
}

// ---- version text ----

TEST(VersionTextTest, ReleaseBetaAndFreeText)
{
    VersionText v = MakeVersionText("4.7", "0.1", "");
    EXPECT_EQ(v.text, "4.7.1");
    EXPECT_FALSE(v.beta);

    v = MakeVersionText("0.9", "0.3", "");
    EXPECT_EQ(v.text, "Beta.3");
    EXPECT_TRUE(v.beta);

    v = MakeVersionText("4.7", "1.2", "");
    EXPECT_EQ(v.text, "4.7.12");

    v = MakeVersionText("4.7", "0.1", "Preview for testers");
    EXPECT_EQ(v.text, "Preview for testers");
    EXPECT_TRUE(v.beta);

    // No version information at all.
    v = MakeVersionText(platform::CVersionInfoReader(""));
    EXPECT_EQ(v.text, "Beta.0");
    EXPECT_TRUE(v.beta);
}
