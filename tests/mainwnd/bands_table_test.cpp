// The band table: built-in rows, finding a frequency's band, and the "Banda" keys read and
// written through a real INI file.
#include "BandTable.h"
#include "Ini.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace bands;
using testing_support::GetFile;
using testing_support::PutFile;
using testing_support::TempDir;

struct IniFile {
    TempDir dir;
    CIni ini;
    std::string path = dir / "Corvane.ini";
    IniFile() { ini.SetPath(path.c_str()); }
};

TEST(BandTableTest, BuiltInRowsNamesAndMenu)
{
    CBandTable t;
    EXPECT_STREQ(BandName(0), "160");
    EXPECT_STREQ(BandName(11), "70");
    EXPECT_STREQ(BandName(12), "General");
    EXPECT_EQ(BandName(13), nullptr);
    EXPECT_EQ(BandName(-1), nullptr);
    EXPECT_EQ(BandMenuText(4), "20 mt 14MHz");
    EXPECT_EQ(BandMenuText(11), "70 cm 430MHz");
    EXPECT_EQ(BandMenuText(12), "General");
    EXPECT_EQ(BandMenuText(13), "");

    // Every segment lies inside its band; every band range is sound.
    for (int i = 0; i < kBandCount; ++i) {
        const BandRow& r = t.Row(i);
        EXPECT_LT(r.lower, r.upper) << i;
        EXPECT_TRUE(r.Contains(r.frequency)) << i;
        for (const Range& s : r.segments) {
            if (s.lower == 0 && s.upper == 0)
                continue;
            EXPECT_LE(r.lower, s.lower) << i;
            EXPECT_GE(r.upper, s.upper) << i;
            EXPECT_LE(s.lower, s.upper) << i;
        }
        for (const StackRegister& reg : r.registers)
            EXPECT_EQ(reg, (StackRegister{}));
    }
}

TEST(BandTableTest, FindBandScansTheAmateurRowsInOrder)
{
    CBandTable t;
    EXPECT_EQ(t.FindBand(14100000), 4);
    EXPECT_EQ(t.FindBand(14000000), 4);
    EXPECT_EQ(t.FindBand(14350000), 4);
    EXPECT_EQ(t.FindBand(29700000), 8);
    EXPECT_EQ(t.FindBand(29700001), -1);
    EXPECT_EQ(t.FindBand(1799999), -1);
    // "General" covers everything but is never found.
    EXPECT_EQ(t.FindBand(15100000), -1);
    EXPECT_EQ(t.FindBand(0), -1);
    // Overlapping rows: the first wins.
    t.Row(5).lower = 14000000;
    EXPECT_EQ(t.FindBand(14100000), 4);
    t.Row(4).upper = 14050000;
    EXPECT_EQ(t.FindBand(14100000), 5);
}

TEST(BandTableTest, LoadTakesStoredValuesAndDefaultsForAbsentKeys)
{
    IniFile f;
    PutFile(
        f.path,
        "[Banda]\n20_freq=14074000\n20_modo=0\n20_filtro=1\n20_limite_up=14300000\n20_limite_down="
        "14010000\n"
        "20_limite_upCW=14070000\n20_limite_downCW=14010000\n20_C2_freq=14250000\n20_C2_modo=1\n"
        "General_C1_freq=7100000\nGeneral_C1_modo=3\n");
    CBandTable t;
    t.Load(f.ini);
    const BandRow& r = t.Row(4);
    EXPECT_EQ(r.frequency, 14074000);
    EXPECT_EQ(r.mode, 0);
    EXPECT_EQ(r.filter, 1);
    EXPECT_EQ(r.upper, 14300000);
    EXPECT_EQ(r.lower, 14010000);
    EXPECT_EQ(r.segments[kSegCw], (Range{14070000, 14010000}));
    EXPECT_EQ(r.segments[kSegUsb], DefaultRow(4).segments[kSegUsb]);
    EXPECT_EQ(r.registers[1], (StackRegister{14250000, 1}));
    EXPECT_EQ(r.registers[0], (StackRegister{}));
    EXPECT_EQ(t.Row(12).registers[0], (StackRegister{7100000, 3}));
    // Absent keys: built-in values, filter 2.
    EXPECT_EQ(t.Row(0), DefaultRow(0));
    EXPECT_EQ(t.Row(0).filter, 2);
}

TEST(BandTableTest, LoadRefusesValuesThatWouldIndexOrBreakRanges)
{
    IniFile f;
    PutFile(
        f.path,
        "[Banda]\n40_modo=9\n40_filtro=7\n40_limite_up=6000000\n40_limite_down=7000000\n"
        "40_limite_upLSB=7000000\n40_limite_downLSB=7300000\n40_C1_modo=-1\n40_C1_freq=7010000\n"
        "80_modo=-3\n80_freq=-5\n80_limite_up=abc\n");
    CBandTable t;
    t.Load(f.ini);
    const BandRow& r = t.Row(2);
    EXPECT_EQ(r.mode, DefaultRow(2).mode);
    EXPECT_EQ(r.filter, 2);
    EXPECT_EQ(r.upper, 7300000);
    EXPECT_EQ(r.lower, 7000000);
    EXPECT_EQ(r.segments[kSegLsb], DefaultRow(2).segments[kSegLsb]);
    EXPECT_EQ(r.registers[0], (StackRegister{7010000, 0}));
    EXPECT_EQ(t.Row(1).mode, DefaultRow(1).mode);
    EXPECT_EQ(t.Row(1).frequency, DefaultRow(1).frequency);
    // "abc" reads as 0, below the lower limit: the built-in range stays.
    EXPECT_EQ(t.Row(1).upper, DefaultRow(1).upper);
}

TEST(BandTableTest, SaveStateWritesTheAmateurRowsOnlyAndReadsBack)
{
    IniFile f;
    CBandTable t;
    t.Row(4).frequency = 14200000;
    t.Row(4).mode = 3;
    t.Row(4).filter = 1;
    t.Row(12).frequency = 5000000;
    ASSERT_TRUE(t.SaveState(f.ini));
    const std::string text = GetFile(f.path);
    EXPECT_NE(text.find("20_freq=14200000"), std::string::npos);
    EXPECT_NE(text.find("70_limite_down=430000000"), std::string::npos);
    EXPECT_EQ(text.find("General"), std::string::npos);
    EXPECT_EQ(text.find("_limite_upCW"), std::string::npos);

    CBandTable back;
    back.Load(f.ini);
    EXPECT_EQ(back.Row(4).frequency, 14200000);
    EXPECT_EQ(back.Row(4).mode, 3);
    EXPECT_EQ(back.Row(4).filter, 1);
    EXPECT_EQ(back.Row(12).frequency, DefaultRow(12).frequency);
}

TEST(BandTableTest, LimitsWrittenForAllRowsAndRestoredByDeletingThem)
{
    IniFile f;
    CBandTable t;
    t.Row(12).segments[kSegFm] = {470000000, 30000};
    t.Row(0).upper = 1900000;
    ASSERT_TRUE(t.WriteLimits(f.ini));
    EXPECT_EQ(f.ini.GetInt("Banda", "General_limite_upFM", 0), 470000000);
    EXPECT_EQ(f.ini.GetInt("Banda", "160_limite_up", 0), 1900000);
    EXPECT_EQ(f.ini.GetInt("Banda", "30_limite_downLSB", -1), 0);

    f.ini.WriteInt("Banda", "160_freq", 1850000);
    t.RestoreDefaultLimits(f.ini);
    EXPECT_EQ(t.Row(0).upper, 2000000);
    EXPECT_EQ(t.Row(12).segments[kSegFm], (Range{}));
    const std::string text = GetFile(f.path);
    EXPECT_EQ(text.find("_limite"), std::string::npos);
    // Other keys of the section stay.
    EXPECT_EQ(f.ini.GetInt("Banda", "160_freq", 0), 1850000);
}

TEST(BandTableTest, RegisterIsWrittenAtOnceAndOutOfRangeIsRefused)
{
    IniFile f;
    CBandTable t;
    t.Row(12).registers[0] = {7100000, 3};
    EXPECT_TRUE(t.WriteRegister(f.ini, 12, 1));
    EXPECT_EQ(f.ini.GetInt("Banda", "General_C1_freq", 0), 7100000);
    EXPECT_EQ(f.ini.GetInt("Banda", "General_C1_modo", 0), 3);
    EXPECT_FALSE(t.WriteRegister(f.ini, 12, 0));
    EXPECT_FALSE(t.WriteRegister(f.ini, 12, 4));
    EXPECT_FALSE(t.WriteRegister(f.ini, 13, 1));
}

}  // namespace
