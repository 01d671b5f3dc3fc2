#include "FullDisk.h"
#include "AtomicFile.h"
#include "Ini.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/corvane-ini-XXXXXX";
        dir_ = mkdtemp(tmpl);
        path_ = dir_ + "/Corvane.ini";
        ini_.SetPath(path_.c_str());
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Put(const std::string& text) { ASSERT_TRUE(platform::WriteFileAtomic(path_, text)); }
    std::string Text() const
    {
        std::string t;
        platform::ReadWholeFile(path_, t);
        return t;
    }

    std::string dir_, path_;
    CIni ini_;
};

}  // namespace

TEST_F(IniTest, GetIntKeeps32BitUnsignedConversion)
{
    Put("[Setup]\n"
        "Neg=-1\n"
        "Max=4294967295\n"
        "Over=99999999999\n"
        "NegOver=-99999999999\n"
        "Trail=12abc\n"
        "Word=abc\n"
        "Empty=\n"
        "Spaces=   \n"
        "Plus=+7\n"
        "Quoted=\"  42\"\n"
        "Big=2147483648\n");
    EXPECT_EQ(ini_.GetInt("Setup", "Neg", 5), -1);
    EXPECT_EQ(ini_.GetInt("Setup", "Max", 5), -1);
    EXPECT_EQ(ini_.GetInt("Setup", "Over", 5), -1);
    EXPECT_EQ(ini_.GetInt("Setup", "NegOver", 5), -1);
    EXPECT_EQ(ini_.GetInt("Setup", "Trail", 5), 12);
    EXPECT_EQ(ini_.GetInt("Setup", "Word", 5), 0);
    EXPECT_EQ(ini_.GetInt("Setup", "Empty", 5), 5);
    EXPECT_EQ(ini_.GetInt("Setup", "Spaces", 5), 5);
    EXPECT_EQ(ini_.GetInt("Setup", "Absent", 5), 5);
    EXPECT_EQ(ini_.GetInt("Setup", "Plus", 5), 7);
    EXPECT_EQ(ini_.GetInt("Setup", "Quoted", 5), 42);
    EXPECT_EQ(ini_.GetInt("Setup", "Big", 5), INT32_MIN);

    // Only 64 characters count: a number that starts after them is not seen.
    ASSERT_TRUE(ini_.WriteString("Setup", "Long", (std::string(64, '0') + "7").c_str()));
    EXPECT_EQ(ini_.GetInt("Setup", "Long", 5), 0);
    ASSERT_TRUE(ini_.WriteString("Setup", "Long", (std::string(63, '0') + "7").c_str()));
    EXPECT_EQ(ini_.GetInt("Setup", "Long", 5), 7);

    for (int v : {0, -1, 19200, INT32_MIN, INT32_MAX}) {
        ASSERT_TRUE(ini_.WriteInt("Setup", "RoundTrip", v));
        EXPECT_EQ(ini_.GetInt("Setup", "RoundTrip", 5), v);
    }
    EXPECT_EQ(ini_.GetString("Setup", "RoundTrip"), "2147483647");
}

TEST_F(IniTest, StringsNullArgumentsAndDelete)
{
    EXPECT_EQ(ini_.GetString("Setup", "Driver", "SimRadio.so"), "SimRadio.so");
    EXPECT_EQ(ini_.GetString("Setup", "Driver"), "");
    // A key not yet in the file is created by a write.
    ASSERT_TRUE(ini_.WriteString("Setup", "Driver", "VekDriver.so"));
    EXPECT_EQ(ini_.GetString("setup", "DRIVER", "x"), "VekDriver.so");
    // A null value writes an empty value; DeleteKey removes the key.
    ASSERT_TRUE(ini_.WriteString("Setup", "Driver", nullptr));
    EXPECT_EQ(ini_.GetString("Setup", "Driver", "x"), "");
    EXPECT_EQ(Text(), "[Setup]\nDriver=\n");
    ASSERT_TRUE(ini_.DeleteKey("Setup", "Driver"));
    EXPECT_EQ(ini_.GetString("Setup", "Driver", "x"), "x");

    // A null section or key: reads give the default, writes do nothing and fail.
    const std::string before = Text();
    EXPECT_EQ(ini_.GetString(nullptr, "Driver", "d"), "d");
    EXPECT_EQ(ini_.GetString("Setup", nullptr, "d"), "d");
    EXPECT_EQ(ini_.GetInt(nullptr, "Baud", 7), 7);
    EXPECT_EQ(ini_.GetInt("Setup", nullptr, 7), 7);
    EXPECT_FALSE(ini_.WriteString(nullptr, "k", "v"));
    EXPECT_FALSE(ini_.WriteString("Setup", nullptr, "v"));
    EXPECT_FALSE(ini_.WriteInt(nullptr, "k", 1));
    EXPECT_FALSE(ini_.DeleteKey("Setup", nullptr));
    EXPECT_FALSE(ini_.DeleteKey(nullptr, "k"));
    EXPECT_FALSE(ini_.WriteSetupBytes("Stamp", nullptr));
    EXPECT_EQ(Text(), before);

    // A value longer than 512 characters is read whole.
    std::string longValue(1500, 'x');
    longValue += "END";
    ASSERT_TRUE(ini_.WriteString("Setup", "Log", longValue.c_str()));
    EXPECT_EQ(ini_.GetString("Setup", "Log"), longValue);

    // A value with a line break cannot be written; the file keeps its content.
    EXPECT_FALSE(ini_.WriteString("Setup", "Log", "a\nb"));
    EXPECT_FALSE(ini_.LastError().empty());
    EXPECT_EQ(ini_.GetString("Setup", "Log"), longValue);
}

TEST_F(IniTest, PathHandling)
{
    CIni fresh;
    EXPECT_EQ(fresh.GetPath(), nullptr);
    EXPECT_EQ(fresh.GetInt("Setup", "Baud", 3), 3);
    EXPECT_FALSE(fresh.WriteInt("Setup", "Baud", 1));
    EXPECT_TRUE(fresh.GetSectionNames().empty());
    fresh.SetPath(nullptr);
    EXPECT_EQ(fresh.GetPath(), nullptr);

    ASSERT_TRUE(ini_.WriteInt("Setup", "Baud", 9600));
    ini_.SetPath(nullptr);  // emptied, not forgotten
    ASSERT_NE(ini_.GetPath(), nullptr);
    EXPECT_STREQ(ini_.GetPath(), "");
    EXPECT_EQ(ini_.GetInt("Setup", "Baud", 3), 3);
    EXPECT_FALSE(ini_.WriteInt("Setup", "Baud", 1));

    // The file name matches ignoring case, as the outside program writes "Corvane.INI".
    std::string upper = dir_ + "/Corvane.INI";
    ini_.SetPath(upper.c_str());
    EXPECT_EQ(ini_.GetInt("Setup", "Baud", 3), 9600);
    ASSERT_TRUE(ini_.WriteInt("Setup", "TestWrite", 77));
    ini_.SetPath(path_.c_str());
    EXPECT_EQ(ini_.GetInt("Setup", "TestWrite", 0), 77);
    EXPECT_FALSE(fs::exists(upper));
}

TEST_F(IniTest, SetupBytes)
{
    Put("[Setup]\n"
        "Two=0A1B\n"
        "Odd=0A1\n"
        "BadHex=0G\n"
        "Short=A\n"
        "Long=0102030405060708090A\n"
        "Lower=ff\n"
        "[Other]\n"
        "Two=0A1B\n");
    unsigned char buf[8] = {0};
    EXPECT_EQ(ini_.GetSetupBytes("Two", buf), 2);
    EXPECT_EQ(buf[0], 0x0A);
    EXPECT_EQ(buf[1], 0x1B);
    EXPECT_EQ(ini_.GetSetupBytes("Two", nullptr), 2);
    std::fill(std::begin(buf), std::end(buf), 0xEE);
    EXPECT_EQ(ini_.GetSetupBytes("Odd", buf), 1);
    EXPECT_EQ(buf[0], 0x0A);
    EXPECT_EQ(buf[1], 0xEE);
    EXPECT_EQ(ini_.GetSetupBytes("BadHex", buf), 0);
    EXPECT_EQ(ini_.GetSetupBytes("Short", buf), 0);
    EXPECT_EQ(ini_.GetSetupBytes("Absent", buf), 0);
    EXPECT_EQ(ini_.GetSetupBytes("Lower", buf), 1);
    EXPECT_EQ(buf[0], 0xFF);
    // More than 16 digits fill exactly the 8 bytes of the buffer, and say so.
    unsigned char guarded[10];
    std::fill(std::begin(guarded), std::end(guarded), 0xEE);
    EXPECT_EQ(ini_.GetSetupBytes("Long", guarded), 8);
    EXPECT_EQ(guarded[7], 0x08);
    EXPECT_EQ(guarded[8], 0xEE);

    const unsigned char stamp[8] = {0x00, 0x01, 0xAB, 0xCD, 0xEF, 0x10, 0x7F, 0x80};
    ASSERT_TRUE(ini_.WriteSetupBytes(settings::setup::UltimoCheckUpd, stamp));
    EXPECT_EQ(ini_.GetString("Setup", "UltimoCheckUpd"), "0001ABCDEF107F80");
    unsigned char back[8] = {0};
    EXPECT_EQ(ini_.GetSetupBytes(settings::setup::UltimoCheckUpd, back), 8);
    EXPECT_TRUE(std::equal(std::begin(stamp), std::end(stamp), back));
}

TEST_F(IniTest, DescriptorsCarryTheDefaults)
{
    EXPECT_EQ(ini_.GetInt(settings::setup::BaudAtLink), 1200);
    EXPECT_EQ(ini_.GetInt(settings::setup::BaudInDialog), 19200);
    EXPECT_EQ(ini_.GetInt(settings::setup::VersioneGAtLink), 2);
    EXPECT_EQ(ini_.GetInt(settings::setup::VersioneGInDialog), 0);
    EXPECT_EQ(ini_.GetInt(settings::setup::RTX), -1);
    EXPECT_EQ(ini_.GetString(settings::setup::PTTCopyON), "@[on]@");
    EXPECT_EQ(ini_.GetString(settings::setup::UTCOffset), "AUTO");
    EXPECT_EQ(ini_.GetInt(settings::smeter::Refresh), 300);
    EXPECT_EQ(ini_.GetInt(settings::audiorecorder::AbilitatoAtLink), 2);

    // Once written, every reader of the key sees the stored value.
    ASSERT_TRUE(ini_.WriteInt(settings::setup::BaudInDialog, 9600));
    EXPECT_EQ(ini_.GetInt(settings::setup::BaudAtLink), 9600);
    ASSERT_TRUE(ini_.WriteString(settings::setup::Driver, std::string("SimRadio.so")));
    EXPECT_EQ(ini_.GetString(settings::setup::DriverInPortDialog), "SimRadio.so");
    EXPECT_EQ(ini_.GetSectionNames(), std::vector<std::string>{"Setup"});
    ASSERT_TRUE(ini_.DeleteKey(settings::setup::Driver));
    EXPECT_EQ(ini_.GetString(settings::setup::DriverInPortDialog), "COM1");
}

TEST_F(IniTest, FailedWritesReportAndKeepTheFile)
{
    Put("[Setup]\r\nBaud=1200\r\n");
    EXPECT_TRUE(testing_support::OnFullDisk(
        16, [&] { return !ini_.WriteInt("Setup", "Baud", 19200) && !ini_.LastError().empty(); }));
    EXPECT_EQ(Text(), "[Setup]\r\nBaud=1200\r\n");

    // A folder that cannot exist.
    std::string blocked = path_ + "/sub.ini";
    ini_.SetPath(blocked.c_str());
    EXPECT_FALSE(ini_.WriteInt("Setup", "Baud", 19200));
    EXPECT_FALSE(ini_.LastError().empty());
}

TEST_F(IniTest, ABatchWritesOnceAndAFailedWriteKeepsTheFile)
{
    const std::string start = "[Setup]\r\nBaud=1200\r\n";
    Put(start);
    {
        CIni::Batch batch(ini_);
        EXPECT_TRUE(ini_.WriteInt("Setup", "Baud", 4800));
        EXPECT_TRUE(ini_.WriteString("Bande", "20_freq", "14175000"));
        EXPECT_TRUE(ini_.DeleteKey("Setup", "Baud"));
        EXPECT_FALSE(ini_.WriteString("Setup", "Bad=Key", "x"));  // refused at once
        EXPECT_EQ(ini_.GetInt("Bande", "20_freq", 0), 14175000);
        EXPECT_EQ(ini_.GetInt("Setup", "Baud", -1), -1);
        EXPECT_EQ(ini_.GetSectionNames(), (std::vector<std::string>{"Setup", "Bande"}));
        EXPECT_EQ(Text(), start);
    }  // the end of the scope commits
    EXPECT_EQ(Text(), "[Setup]\r\n[Bande]\n20_freq=14175000\n");

    // A full disk at the commit.
    Put(start);
    EXPECT_TRUE(testing_support::OnFullDisk(64, [&] {
        CIni::Batch batch(ini_);
        bool queued = true;
        for (int i = 0; i < 20; ++i)
            queued = ini_.WriteInt("Bande", ("k" + std::to_string(i)).c_str(), i) && queued;
        return queued && !batch.Commit() && !ini_.LastError().empty();
    }));
    EXPECT_EQ(Text(), start);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()),
              1);  // no temporary left
}
