// The limits editor behind the band and mode limits dialog: the checks in their order, the
// working copy, saving into the live table and the INI, and restoring the built-in limits.
#include "BandLimits.h"
#include "Ini.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace bands;
using namespace bands::limits;
using testing_support::GetFile;
using testing_support::TempDir;

TEST(LimitsValidationTest, ChecksInTheDialogsOrder)
{
    const LimitFields ok = FieldsOf(DefaultRow(4));
    EXPECT_EQ(ValidateBandFields(30000, ok), 0);

    LimitFields f = ok;
    f[kBandFrom] = 20000;
    EXPECT_EQ(ValidateBandFields(30000, f), kBandFrom);
    // The "General" row's edges cannot be edited, so the general "From" is not held against them.
    const LimitFields general = FieldsOf(DefaultRow(kGeneralRow));
    EXPECT_EQ(ValidateBandFields(100000, general, true), 0);
    EXPECT_EQ(ValidateBandFields(100000, general, false), kBandFrom);
    f = ok;
    f[kBandTo] = 13000000;
    f[kCwHigh] = 1;  // later checks do not run
    EXPECT_EQ(ValidateBandFields(30000, f), kBandTo);
    // A band must end above its start.
    f = ok;
    f[kBandTo] = f[kBandFrom];
    EXPECT_EQ(ValidateBandFields(30000, f), kBandTo);

    f = ok;
    f[kCwHigh] = f[kCwLow] - 1;
    f[kFmHigh] = 1;
    f[kFmLow] = 2;
    EXPECT_EQ(ValidateBandFields(30000, f), kCwHigh);
    f[kCwHigh] = f[kCwLow];
    EXPECT_EQ(ValidateBandFields(30000, f), kFmHigh);
    f[kFmLow] = 0;
    f[kFmHigh] = 0;
    f[kLsbLow] = 5;
    f[kLsbHigh] = 4;
    f[kRttyLow] = 5;
    f[kRttyHigh] = 4;
    EXPECT_EQ(ValidateBandFields(30000, f), kLsbHigh);
    f[kLsbHigh] = 5;
    f[kUsbLow] = 9;
    f[kUsbHigh] = 8;
    EXPECT_EQ(ValidateBandFields(30000, f), kUsbHigh);
    f[kUsbHigh] = 9;
    EXPECT_EQ(ValidateBandFields(30000, f), kRttyHigh);

    // Values that do not fit a stored limit blame their own field.
    f = ok;
    f[kUsbLow] = -5;
    EXPECT_EQ(ValidateBandFields(30000, f), kUsbLow);
    f = ok;
    f[kBandTo] = 5e9;
    EXPECT_EQ(ValidateBandFields(30000, f), kBandTo);
}

class LimitsEditorTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir / "Corvane.ini";
    CIni ini;
    CBandTable live;
    void SetUp() override { ini.SetPath(path.c_str()); }
};

TEST_F(LimitsEditorTest, RefusedBandKeepsTheWorkingCopyAndTheLiveTable)
{
    CLimitsEditor ed(live, 30000, 469999999);
    LimitFields f = ed.Fields(4);
    ed.Show(4);
    f[kBandTo] = 13000000;
    EXPECT_EQ(ed.StoreShown(30000, f), kBandTo);
    EXPECT_EQ(ed.Fields(4)[kBandTo], 14350000);
    EXPECT_FALSE(ed.Differs(30000, 469999999, live));

    f[kBandTo] = 14300000.9;
    EXPECT_EQ(ed.StoreShown(30000, f), 0);
    EXPECT_EQ(ed.Fields(4)[kBandTo], 14300000);
    EXPECT_EQ(live.Row(4).upper, 14350000);
    EXPECT_TRUE(ed.Differs(30000, 469999999, live));
    EXPECT_TRUE(ed.Differs(100000, 469999999, CBandTable{}));
}

TEST_F(LimitsEditorTest, SaveWritesEveryRowAndTheGeneralLimits)
{
    CLimitsEditor ed(live, 30000, 469999999);
    ed.Show(0);
    LimitFields f = ed.Fields(0);
    f[kBandTo] = 1900000;
    ASSERT_EQ(ed.StoreShown(30000, f), 0);
    ed.Show(8);
    LimitFields ten = ed.Fields(8);
    ten[kFmLow] = 29520000;
    EXPECT_EQ(ed.Save(30000, 199999999, ten, live, ini), 0);
    EXPECT_EQ(live.Row(0).upper, 1900000);
    EXPECT_EQ(live.Row(8).segments[kSegFm].lower, 29520000);
    EXPECT_EQ(ini.GetInt("Banda", "160_limite_up", 0), 1900000);
    EXPECT_EQ(ini.GetInt("Banda", "10_limite_downFM", 0), 29520000);
    EXPECT_EQ(ini.GetInt("Banda", "General_limite_up", 0), 470000000);
    EXPECT_EQ(ini.GetInt("Setup", "LimiteInferiore", 0), 30000);
    EXPECT_EQ(ini.GetInt("Setup", "LimiteSuperiore", 0), 199999999);
    EXPECT_FALSE(ed.Differs(30000, 199999999, live));

    // Read back by a fresh table.
    CBandTable back;
    back.Load(ini);
    EXPECT_EQ(back.Row(0).upper, 1900000);
    EXPECT_EQ(back.Row(8).segments[kSegFm].lower, 29520000);
}

TEST_F(LimitsEditorTest, RefusedSaveChangesNothing)
{
    CLimitsEditor ed(live, 30000, 469999999);
    const LimitFields f = ed.Fields(0);
    EXPECT_EQ(ed.Save(500000, 400000, f, live, ini), kGeneralFrom);
    EXPECT_EQ(ed.Save(500000, 500000, f, live, ini), kGeneralFrom);
    // General "From" above the band's start blames the band's "From".
    EXPECT_EQ(ed.Save(2000000, 469999999, f, live, ini), kBandFrom);
    EXPECT_EQ(GetFile(path), "");
    EXPECT_EQ(live.Row(0), DefaultRow(0));
}

TEST_F(LimitsEditorTest, RestoreDefaultsDeletesTheKeysAndRefreshesTheCopy)
{
    live.Row(2).upper = 7200000;
    live.WriteLimits(ini);
    ini.WriteInt("Setup", "LimiteInferiore", 100000);
    ini.WriteInt("Setup", "LimiteSuperiore", 60000000);
    ini.WriteInt("Banda", "40_freq", 7100000);
    CLimitsEditor ed(live, 100000, 60000000);
    ed.Show(5);
    ed.RestoreDefaults(live, ini);
    EXPECT_EQ(ed.ShownBand(), 0);
    EXPECT_EQ(live.Row(2).upper, 7300000);
    EXPECT_EQ(ed.Fields(2)[kBandTo], 7300000);
    const std::string text = GetFile(path);
    EXPECT_EQ(text.find("_limite"), std::string::npos);
    EXPECT_EQ(text.find("LimiteInferiore"), std::string::npos);
    EXPECT_EQ(text.find("LimiteSuperiore"), std::string::npos);
    EXPECT_NE(text.find("40_freq=7100000"), std::string::npos);
}

}  // namespace
