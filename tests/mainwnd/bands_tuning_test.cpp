// The band and tuning operations over a stand-in main window: band tracking, band selection,
// the band-stacking registers, steps at the limits, mode selection, the tuning slider's range,
// and the digit, wheel and scale arithmetic.
#include "Ini.h"
#include "TempDir.h"
#include "Tuning.h"
#include "TuningMath.h"
#include "TuningTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace bands;
using testing_support::TempDir;
using tuningtest::FakeDisplay;
using tuningtest::FakeTarget;
using tuningtest::Sent;

class TuningTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir / "Corvane.ini";
    CIni ini;
    CBandTable table;
    FakeTarget target;
    FakeDisplay display;
    CTuning tuning{table, ini, target};

    void SetUp() override
    {
        ini.SetPath(path.c_str());
        tuning.SetDisplay(&display);
    }
};

TEST_F(TuningTest, BandTrackingRemembersFrequencyModeAndFilter)
{
    target.field = 14100000;
    target.mode = 3;
    target.filter = false;
    tuning.UpdateBandFromFrequency();
    EXPECT_EQ(tuning.CurrentBand(), 4);
    EXPECT_EQ(display.bandText, "20 mt 14MHz");
    EXPECT_EQ(table.Row(4).frequency, 14100000);
    EXPECT_EQ(table.Row(4).mode, 3);
    EXPECT_EQ(table.Row(4).filter, 1);
    ASSERT_EQ(display.sliders.size(), 1u);
    EXPECT_TRUE(display.sliders[0].band);
    EXPECT_EQ(display.sliders[0].low, 14000000);
    EXPECT_EQ(display.sliders[0].high, 14350000);
    EXPECT_EQ(display.sliders[0].position, 14100000);
    EXPECT_EQ(display.scale, (std::vector<int64_t>{14100000}));

    // One above the 10 m band: no amateur band, the row is left alone.
    target.field = 29700001;
    target.mode = -1;
    tuning.UpdateBandFromFrequency();
    EXPECT_EQ(tuning.CurrentBand(), -1);
    EXPECT_EQ(display.bandText, "General");
    EXPECT_EQ(table.Row(8).frequency, 28500000);
    EXPECT_FALSE(display.sliders.back().band);

    // An unknown mode (-1) keeps the row's mode.
    target.field = 7010000;
    tuning.UpdateBandFromFrequency();
    EXPECT_EQ(table.Row(2).mode, DefaultRow(2).mode);
}

TEST_F(TuningTest, SelectBandRestoresTheRowsFrequencyModeAndFilter)
{
    table.Row(4).frequency = 14074000;
    table.Row(4).mode = 0;
    table.Row(4).filter = 1;
    target.field = 7050000;
    tuning.SelectBand(4, 0);
    EXPECT_EQ(target.field, 14074000);
    EXPECT_EQ(target.sent, (std::vector<Sent>{{0x05, 14074000, 0}, {0x06, 0, 1}}));
    EXPECT_EQ(target.reads, 1);
    EXPECT_TRUE(tuning.Tracking());
    EXPECT_EQ(tuning.CurrentBand(), 4);

    // A frequency inside the row is used; outside it (or 0) the row's own.
    target.sent.clear();
    tuning.SelectBand(4, 14200000.0);
    EXPECT_EQ(target.sent.front(), (Sent{0x05, 14200000, 0}));
    target.sent.clear();
    tuning.SelectBand(4, 21000000.0);
    EXPECT_EQ(target.sent.front().a, 14200000);  // tracking stored the last one

    // WFM passes the stored filter like every mode (the target sends the byte WFM takes); a
    // mode the radio lacks is not sent at all.
    target.sent.clear();
    table.Row(12).mode = 6;
    table.Row(12).filter = 2;
    tuning.SelectBand(12, 0);
    EXPECT_EQ(target.sent.back(), (Sent{0x06, 6, 2}));
    target.sent.clear();
    target.modeCount = 5;
    table.Row(11).mode = 5;
    tuning.SelectBand(11, 0);
    EXPECT_EQ(target.sent, (std::vector<Sent>{{0x05, 435500000, 0}}));

    target.sent.clear();
    tuning.SelectBand(13, 0);
    tuning.SelectBand(-1, 0);
    EXPECT_TRUE(target.sent.empty());
}

TEST_F(TuningTest, MenuCommandsSelectBandsAndModes)
{
    EXPECT_TRUE(tuning.OnMenuCommand(32785 + 8));
    EXPECT_EQ(target.field, 28500000);
    EXPECT_TRUE(tuning.OnMenuCommand(32775 + 3));
    EXPECT_EQ(target.mode, 3);
    EXPECT_FALSE(tuning.OnMenuCommand(32784));
    EXPECT_FALSE(tuning.OnMenuCommand(32798));
}

TEST_F(TuningTest, StackingRegistersSaveAndRecallIndependently)
{
    target.field = 14020000;
    target.mode = 3;
    tuning.UpdateBandFromFrequency();
    tuning.OnBandStacking(1, kStackSave);
    target.field = 14250000;
    target.mode = 1;
    tuning.OnBandStacking(2, kStackSave);
    target.field = 14074000;
    target.mode = 0;
    tuning.OnBandStacking(3, kStackSave);
    EXPECT_EQ(ini.GetInt("Banda", "20_C1_freq", 0), 14020000);
    EXPECT_EQ(ini.GetInt("Banda", "20_C2_modo", 0), 1);
    EXPECT_EQ(ini.GetInt("Banda", "20_C3_freq", 0), 14074000);

    target.sent.clear();
    tuning.OnBandStacking(2, kStackRecall);
    EXPECT_EQ(target.field, 14250000);
    EXPECT_EQ(target.mode, 1);
    EXPECT_EQ(target.sent, (std::vector<Sent>{{0x05, 14250000, 0}, {0x06, 1, 2}}));
    tuning.OnBandStacking(1, kStackRecall);
    EXPECT_EQ(target.field, 14020000);
    EXPECT_EQ(target.mode, 3);

    // Cancel does nothing; the registers survive a reload.
    target.sent.clear();
    tuning.OnBandStacking(3, kStackCancel);
    EXPECT_TRUE(target.sent.empty());
    CBandTable reloaded;
    reloaded.Load(ini);
    EXPECT_EQ(reloaded.Row(4).registers[2], (StackRegister{14074000, 0}));
}

TEST_F(TuningTest, StackingOutsideTheBandsUsesTheGeneralRow)
{
    target.field = 15100000;
    target.mode = 2;
    tuning.UpdateBandFromFrequency();
    ASSERT_EQ(tuning.CurrentBand(), -1);
    tuning.SaveRegister(1);
    EXPECT_EQ(ini.GetInt("Banda", "General_C1_freq", 0), 15100000);
    EXPECT_EQ(ini.GetInt("Banda", "General_C1_modo", 0), 2);
}

TEST_F(TuningTest, RecallOfAnEmptyOrOutOfRangeRegisterDoesNothing)
{
    tuning.UpdateBandFromFrequency();
    target.sent.clear();
    tuning.RecallRegister(1);  // frequency 0
    EXPECT_TRUE(target.sent.empty());
    table.Row(4).registers[1] = {470000000, 1};
    tuning.RecallRegister(2);
    EXPECT_TRUE(target.sent.empty());
    table.Row(4).registers[1] = {14100000, 1};
    target.firstInit = true;
    tuning.RecallRegister(2);
    EXPECT_TRUE(target.sent.empty());
    target.firstInit = false;
    tuning.RecallRegister(2);
    EXPECT_EQ(target.sent.size(), 2u);
}

TEST_F(TuningTest, StepsAreClampedToTheRadiosLimitsAndStillSent)
{
    target.field = 30000;
    tuning.StepFrequency(DigitButtonStep(1211));
    EXPECT_EQ(target.field, 30000);
    EXPECT_EQ(target.sent, (std::vector<Sent>{{0x05, 30000, 0}}));
    EXPECT_TRUE(target.steppingWhileSending);
    EXPECT_FALSE(target.stepping);

    target.field = 469999990;
    tuning.StepFrequency(DigitButtonStep(1219));
    EXPECT_EQ(target.field, 469999999);
    target.field = 14175000;
    tuning.StepFrequency(DigitButtonStep(1214));
    EXPECT_EQ(target.field, 14176000);
    EXPECT_EQ(tuning.CurrentBand(), 4);

    // Ignored until the first initialisation has ended.
    target.sent.clear();
    target.firstInit = true;
    tuning.StepFrequency(1);
    EXPECT_TRUE(target.sent.empty());
}

TEST_F(TuningTest, SetModeIndexSelectsOnlyModesOfTheRadiosList)
{
    target.filter = true;
    EXPECT_TRUE(tuning.SetModeIndex(1));
    EXPECT_EQ(target.sent.back(), (Sent{0x06, 1, 2}));

    target.sent.clear();
    target.modeCount = 5;
    EXPECT_FALSE(tuning.SetModeIndex(5));
    EXPECT_FALSE(tuning.SetModeIndex(-1));
    EXPECT_TRUE(target.sent.empty());
    EXPECT_EQ(target.mode, 1);
}

TEST_F(TuningTest, TuneToKeepsWithinTheRadiosLimits)
{
    EXPECT_TRUE(tuning.TuneTo(7100000));
    EXPECT_EQ(target.applies, 1);
    EXPECT_FALSE(tuning.TuneTo(29999));
    EXPECT_FALSE(tuning.TuneTo(470000000));
    EXPECT_EQ(target.applies, 1);
    EXPECT_EQ(target.field, 7100000);
}

TEST(TuningWindowTest, OneMegahertzWindowFollowsTheFrequency)
{
    CTuningWindow w;
    SliderPlacement p;
    // First frequency near the bottom: the window starts at the radio's lower limit.
    ASSERT_TRUE(w.Update(-1, -1, 200000, 30000, p));
    EXPECT_FALSE(p.band);
    EXPECT_EQ(p.low, 30000);
    EXPECT_EQ(p.high, 1030000);
    EXPECT_FALSE(w.Update(-1, -1, 200000, 30000, p));

    // 1 Hz above the high edge moves it up by exactly 1 MHz.
    ASSERT_TRUE(w.Update(-1, -1, 1030001, 30000, p));
    EXPECT_EQ(p.low, 1030000);
    EXPECT_EQ(p.high, 2030000);
    // Below the low edge: down 1 MHz, never below the radio's limit.
    ASSERT_TRUE(w.Update(-1, -1, 1029999, 30000, p));
    EXPECT_EQ(p.low, 30000);
    EXPECT_EQ(p.high, 1030000);
    // A jump far away centres the window on it.
    ASSERT_TRUE(w.Update(-1, -1, 15100000, 30000, p));
    EXPECT_EQ(p.low, 14600000);
    EXPECT_EQ(p.high, 15600000);
    EXPECT_EQ(p.position, 15100000);
    // A band takes its own limits.
    ASSERT_TRUE(w.Update(14350000, 14000000, 14100000, 30000, p));
    EXPECT_TRUE(p.band);
    EXPECT_EQ(p.low, 14000000);
    EXPECT_EQ(p.high, 14350000);

    CTuningWindow fresh;
    ASSERT_TRUE(fresh.Update(-1, -1, 15100000, 30000, p));
    EXPECT_EQ(p.low, 14600000);
    EXPECT_EQ(p.high, 15600000);
}

TEST(TuningMathTest, DigitButtonsAndWheel)
{
    EXPECT_EQ(DigitButtonStep(1210), 1);
    EXPECT_EQ(DigitButtonStep(1211), -1);
    EXPECT_EQ(DigitButtonStep(1215), 10000);
    EXPECT_EQ(DigitButtonStep(1223), -10000);
    EXPECT_EQ(DigitButtonStep(1219), 100000000);
    EXPECT_EQ(DigitButtonStep(1227), -100000000);
    EXPECT_EQ(DigitButtonStep(1228), 0);
    EXPECT_EQ(DigitButtonStep(1209), 0);

    // "+" buttons laid out right to left from 1 Hz: left edges 400, 360, ... 80.
    std::array<int, 9> edges{};
    for (size_t d = 0; d < edges.size(); ++d)
        edges[d] = 400 - 40 * static_cast<int>(d);
    EXPECT_EQ(WheelStep(420, edges, 120), 1);
    EXPECT_EQ(WheelStep(400, edges, 120), 1);
    EXPECT_EQ(WheelStep(399, edges, 120), 10);
    EXPECT_EQ(WheelStep(285, edges, -120), -1000);
    EXPECT_EQ(WheelStep(80, edges, 15), 100000000);
    EXPECT_EQ(WheelStep(79, edges, 120), 0);
    EXPECT_EQ(WheelStep(300, edges, 0), 0);

    EXPECT_EQ(SteppedFrequency(0, 1, 30000, 469999999), 30000);
    EXPECT_EQ(SteppedFrequency(1e300, 1, 30000, 469999999), 469999999);
    EXPECT_EQ(SteppedFrequency(std::numeric_limits<double>::quiet_NaN(), 10, 30000, 469999999),
              30010);
}

TEST(TuningMathTest, ScaleGroupsAndSliderPositions)
{
    EXPECT_EQ(ScaleFirstRow(1), 0);
    EXPECT_EQ(ScaleFirstRow(3), 8);
    EXPECT_EQ(ScaleFirstRow(0), 0);
    EXPECT_EQ(ScaleFirstRow(9), 0);
    EXPECT_EQ(ScaleLabel(2, 0), "20mt");
    EXPECT_EQ(ScaleLabel(3, 3), "70cm");
    EXPECT_EQ(ScaleLabel(1, 4), "");

    BandRow row = DefaultRow(4);
    EXPECT_EQ(ScaleSliderFor(row).position, 14175000);
    row.frequency = 0;
    const ScaleSlider s = ScaleSliderFor(row);
    EXPECT_EQ(s.low, 14000000);
    EXPECT_EQ(s.high, 14350000);
    EXPECT_EQ(s.position, 14175000);

    std::array<ScaleSlider, kScaleSliders> sliders{};
    for (int k = 0; k < kScaleSliders; ++k)
        sliders[static_cast<size_t>(k)] = ScaleSliderFor(DefaultRow(k));
    EXPECT_EQ(ScaleSliderContaining(sliders, 7100000), 2);
    EXPECT_EQ(ScaleSliderContaining(sliders, 7000000), -1);  // the minimum itself moves nothing
    EXPECT_EQ(ScaleSliderContaining(sliders, 7300000), -1);
    EXPECT_EQ(ScaleSliderContaining(sliders, 14100000), -1);
}

}  // namespace
