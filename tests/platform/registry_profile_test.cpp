#include "AtomicFile.h"
#include "PrivateProfile.h"
#include "RegistryProfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace platform;

namespace {

// Every test works in its own XDG_CONFIG_HOME, never in the user's real file.
class RegistryProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/corvane-reg-XXXXXX";
        dir_ = mkdtemp(tmpl);
        const char* old = std::getenv("XDG_CONFIG_HOME");
        hadOld_ = old != nullptr;
        if (old)
            old_ = old;
        if (const char* home = std::getenv("HOME"))
            home_ = home;
        setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
        reg_.SetRootKey("Software\\Dravik\\Corvane");
    }
    void TearDown() override
    {
        if (hadOld_)
            setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", home_.c_str(), 1);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string File() const { return dir_ + "/config/Dravik/Corvane/registry.ini"; }

    std::string dir_, old_, home_;
    bool hadOld_ = false;
    RegistryProfile reg_;
};

}  // namespace

TEST_F(RegistryProfileTest, FileLivesUnderXdgConfigHomeAndIsCreatedOnFirstWrite)
{
    EXPECT_EQ(reg_.FilePath(), File());
    EXPECT_EQ(reg_.KeyPath("Setup"), "Software\\Dravik\\Corvane\\Setup");
    EXPECT_EQ(reg_.GetProfileInt("Setup", "Indirizzo", 7), 7);
    EXPECT_FALSE(fs::exists(dir_ + "/config"));  // reads create nothing

    ASSERT_TRUE(reg_.WriteProfileString("Setup", "LastPath", "/opt/corvane/"));
    ASSERT_TRUE(fs::exists(File()));
    struct stat st {};
    ASSERT_EQ(stat((dir_ + "/config/Dravik").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // A plain private-profile reader sees the string without its quotes.
    EXPECT_EQ(ReadProfileValue(File(), "software\\dravik\\corvane\\SETUP", "lastpath"),
              "/opt/corvane/");
    std::string text;
    ReadWholeFile(File(), text);
    EXPECT_EQ(text, "[Software\\Dravik\\Corvane\\Setup]\nLastPath=\"/opt/corvane/\"\n");

    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", dir_.c_str(), 1);
    EXPECT_EQ(RegistryProfile::DefaultFilePath(), dir_ + "/.config/Dravik/Corvane/registry.ini");
    RegistryProfile other(dir_ + "/elsewhere.ini");
    EXPECT_EQ(other.FilePath(), dir_ + "/elsewhere.ini");
}

TEST_F(RegistryProfileTest, TypedValuesRoundTripAndMismatchesGiveTheDefault)
{
    ASSERT_TRUE(reg_.WriteProfileInt("CurrentSet", "MainTop", 120));
    ASSERT_TRUE(reg_.WriteProfileInt("CurrentSet", "MainLeft", -1));
    ASSERT_TRUE(reg_.WriteProfileInt("CurrentSet", "Min", INT32_MIN));
    ASSERT_TRUE(reg_.WriteProfileString("AudioRecorder", "AudioInput", "  Default"));
    ASSERT_TRUE(reg_.WriteProfileString("AudioRecorder", "Quoted", "\"a\" = b"));
    ASSERT_TRUE(reg_.WriteProfileString("AudioRecorder", "Empty", ""));
    const std::uint8_t format[] = {0x01, 0x00, 0x02, 0xFF, 0x0A};
    ASSERT_TRUE(reg_.WriteProfileBinary("AudioRecorder", "Format", format, sizeof format));
    ASSERT_TRUE(reg_.WriteProfileBinary("AudioRecorder", "NoBytes", nullptr, 0));

    EXPECT_EQ(reg_.GetProfileInt("currentset", "maintop", 0), 120);
    EXPECT_EQ(reg_.GetProfileInt("CurrentSet", "MainLeft", 0), -1);
    EXPECT_EQ(reg_.GetProfileInt("CurrentSet", "Min", 0), INT32_MIN);
    EXPECT_EQ(ReadProfileValue(File(), reg_.KeyPath("CurrentSet"), "MainLeft"), "dword:-1");
    EXPECT_EQ(reg_.GetProfileString("AudioRecorder", "AudioInput"), "  Default");
    EXPECT_EQ(reg_.GetProfileString("AudioRecorder", "Quoted"), "\"a\" = b");
    EXPECT_EQ(reg_.GetProfileString("AudioRecorder", "Empty", "dflt"), "");
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(reg_.GetProfileBinary("AudioRecorder", "Format", bytes));
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(format, format + sizeof format));
    ASSERT_TRUE(reg_.GetProfileBinary("AudioRecorder", "NoBytes", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadProfileValue(File(), reg_.KeyPath("AudioRecorder"), "Format"), "hex:010002FF0A");

    // Another type than stored: the default, as the registry does.
    EXPECT_EQ(reg_.GetProfileInt("AudioRecorder", "AudioInput", 9), 9);
    EXPECT_EQ(reg_.GetProfileInt("AudioRecorder", "Format", 9), 9);
    EXPECT_EQ(reg_.GetProfileString("CurrentSet", "MainTop", "d"), "d");
    EXPECT_EQ(reg_.GetProfileString("AudioRecorder", "Format", "d"), "d");
    EXPECT_FALSE(reg_.GetProfileBinary("CurrentSet", "MainTop", bytes));
    EXPECT_FALSE(reg_.GetProfileBinary("AudioRecorder", "AudioInput", bytes));
    EXPECT_FALSE(reg_.GetProfileBinary("AudioRecorder", "Missing", bytes));
    EXPECT_FALSE(reg_.FindProfileInt("CurrentSet", "Missing"));
}

TEST_F(RegistryProfileTest, HandWrittenAndDamagedValues)
{
    fs::create_directories(dir_ + "/config/Dravik/Corvane");
    std::string text =
        "[Software\\Dravik\\Corvane\\Setup]\n"
        "Plain=/home/op/corvane/\n"
        "Big=dword:4294967296\n"
        "Neg=dword:-13\n"
        "Unsigned=dword:4294967283\n"
        "Below=dword:-2147483649\n"
        "Word=DWORD:42\n"
        "Odd=hex:ABC\n"
        "Bad=hex:0G\n";
    ASSERT_TRUE(WriteFileAtomic(File(), text));
    EXPECT_EQ(reg_.GetProfileString("Setup", "Plain"), "/home/op/corvane/");
    EXPECT_EQ(reg_.GetProfileInt("Setup", "Big", 3), 3);
    EXPECT_EQ(reg_.GetProfileInt("Setup", "Neg", 3), -13);
    EXPECT_EQ(reg_.GetProfileInt("Setup", "Unsigned", 3), -13);
    EXPECT_EQ(reg_.GetProfileInt("Setup", "Below", 3), 3);
    EXPECT_EQ(reg_.GetProfileInt("Setup", "Word", 3), 42);
    std::vector<std::uint8_t> bytes{1};
    EXPECT_FALSE(reg_.GetProfileBinary("Setup", "Odd", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(reg_.GetProfileBinary("Setup", "Bad", bytes));
}

TEST_F(RegistryProfileTest, StringsWithLineBreaksAreRefusedNotTruncated)
{
    ASSERT_TRUE(reg_.WriteProfileString("CurrentSet", "Backup", "/old/archive.zip"));
    std::string error;
    EXPECT_FALSE(reg_.WriteProfileString("CurrentSet", "Backup", "/new\nname.zip", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(reg_.WriteProfileString("CurrentSet", "Backup", "/new\rname.zip"));
    EXPECT_FALSE(reg_.WriteProfileString("CurrentSet", "Backup", std::string_view("a\0b", 3)));
    EXPECT_FALSE(reg_.WriteProfileInt("Cur]rentSet", "X", 1));
    EXPECT_FALSE(reg_.WriteProfileInt("CurrentSet", "X=Y", 1));
    EXPECT_EQ(reg_.GetProfileString("CurrentSet", "Backup"), "/old/archive.zip");
}

TEST_F(RegistryProfileTest, DeleteValueAndDeleteKey)
{
    ASSERT_TRUE(reg_.WriteProfileInt("CurrentSet", "FontSizeMain", 10));
    ASSERT_TRUE(reg_.WriteProfileInt("CurrentSet", "ResetPosition", 1));
    ASSERT_TRUE(reg_.WriteProfileInt("TxRx", "Top", 5));
    ASSERT_TRUE(reg_.WriteProfileInt("TxRx\\Sub", "Inner", 6));
    ASSERT_TRUE(reg_.WriteProfileInt("TxRxOther", "Top", 7));

    ASSERT_TRUE(reg_.DeleteValue("currentset", "RESETPOSITION"));
    EXPECT_EQ(reg_.GetProfileInt("CurrentSet", "ResetPosition", 0), 0);
    EXPECT_EQ(reg_.GetProfileInt("CurrentSet", "FontSizeMain", 0), 10);
    EXPECT_TRUE(reg_.DeleteValue("CurrentSet", "ResetPosition"));  // already gone
    EXPECT_TRUE(reg_.DeleteValue("Nowhere", "X"));

    // A key goes with its sub-keys, and only with them.
    ASSERT_TRUE(reg_.DeleteKey("TXRX"));
    EXPECT_EQ(reg_.GetProfileInt("TxRx", "Top", 0), 0);
    EXPECT_EQ(reg_.GetProfileInt("TxRx\\Sub", "Inner", 0), 0);
    EXPECT_EQ(reg_.GetProfileInt("TxRxOther", "Top", 0), 7);
    EXPECT_EQ(reg_.GetProfileInt("CurrentSet", "FontSizeMain", 0), 10);
    EXPECT_TRUE(reg_.DeleteKey("TxRx"));

    // Nothing to delete in a file that does not exist: success, no file made.
    RegistryProfile none(dir_ + "/none/registry.ini");
    EXPECT_TRUE(none.DeleteValue("Setup", "X"));
    EXPECT_TRUE(none.DeleteKey("Setup"));
    EXPECT_FALSE(fs::exists(dir_ + "/none"));
}

TEST_F(RegistryProfileTest, WriteFailuresAreReported)
{
    // The settings folder's parent is a regular file: it can never be created.
    ASSERT_TRUE(WriteFileAtomic(dir_ + "/blocker", "x"));
    RegistryProfile blocked(dir_ + "/blocker/Dravik/registry.ini");
    std::string error;
    EXPECT_FALSE(blocked.WriteProfileInt("Setup", "X", 1, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(blocked.GetProfileInt("Setup", "X", 4), 4);
}
