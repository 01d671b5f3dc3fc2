// The band and tuning operations through the real radio controller to the simulated radio: what
// the radio ends up on after band selection, steps, mode changes and register recalls.
#include "ControllerTestSupport.h"
#include "RadioTuningTarget.h"
#include "Tuning.h"
#include "TuningTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ctltest::SimRig;

struct TuningRig {
    explicit TuningRig(sim::RadioModel model = sim::RadioModel::IC706MKIIG) : rig(model)
    {
        rig.controller->FillModeList();
        rig.controller->UpdateRangeInfo();
        rig.controller->ReadFrequencyMode(true);
        tuning.SetDisplay(&display);
    }
    SimRig rig;
    bool firstInit = false;
    bands::CBandTable table;
    bands::CRadioTuningTarget target{*rig.controller, [this] { return firstInit; }};
    bands::CTuning tuning{table, rig.ini, target};
    tuningtest::FakeDisplay display;
};

TEST(BandsOnRadioTest, BandSelectionPutsTheRadioOnTheRowsFrequencyModeAndFilter)
{
    TuningRig t;
    t.table.Row(2).frequency = 7074000;
    t.table.Row(2).mode = 0;
    t.table.Row(2).filter = 1;
    t.tuning.OnMenuCommand(32785 + 2);
    t.rig.Settle();
    const sim::RadioState s = t.rig.radio->State();
    EXPECT_EQ(s.frequencyHz, 7074000u);
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.filter, 1);
    EXPECT_EQ(t.rig.view.frequency, 7074000);
    EXPECT_EQ(t.tuning.CurrentBand(), 2);
    EXPECT_EQ(t.display.bandText, "40 mt 7MHz");

    // Back to 20 m: the radio returns to what 20 m last had.
    t.tuning.SelectBand(4, 0);
    t.rig.Settle();
    EXPECT_EQ(t.rig.radio->State().frequencyHz, 14175000u);
    EXPECT_EQ(t.rig.radio->State().mode, 1);

    // WFM has one filter: a row stored narrow is recalled with filter 1, which the radio takes.
    t.table.Row(10).frequency = 145500000;
    t.table.Row(10).mode = 6;
    t.table.Row(10).filter = 2;
    t.tuning.SelectBand(10, 0);
    t.rig.Settle();
    EXPECT_EQ(t.rig.radio->State().mode, 6);
    EXPECT_EQ(t.rig.radio->State().filter, 1);
    EXPECT_EQ(t.rig.view.modeText, "WFM");
}

TEST(BandsOnRadioTest, StepsStopAtTheRadiosLimits)
{
    TuningRig t(sim::RadioModel::IC718);
    ASSERT_EQ(t.target.UpperLimit(), 29999999);
    ctltest::MutableState(*t.rig.controller).frequencyHz = 29999990;
    t.tuning.StepFrequency(1000);
    t.rig.Settle();
    EXPECT_EQ(t.rig.radio->State().frequencyHz, 29999999u);
    t.rig.radio->ClearFrames();
    t.tuning.StepFrequency(1);
    t.rig.Settle();
    EXPECT_EQ(t.rig.Sent().size(), 1u);  // still sent, still at the limit
    EXPECT_EQ(t.rig.radio->State().frequencyHz, 29999999u);
    EXPECT_FALSE(t.rig.controller->State().frequencyStepRunning);
}

TEST(BandsOnRadioTest, ModeIndexAndRegistersReachTheRadio)
{
    TuningRig t;
    ctltest::MutableState(*t.rig.controller).filterNarrow = true;
    ASSERT_TRUE(t.tuning.SetModeIndex(6));
    t.rig.Settle();
    EXPECT_EQ(t.rig.radio->State().mode, 6);
    EXPECT_EQ(t.rig.radio->State().filter, 1);
    EXPECT_FALSE(t.rig.view.Button(radio::ctl::kFilter));
    EXPECT_EQ(t.rig.view.modeText, "WFM");

    ctltest::MutableState(*t.rig.controller).frequencyHz = 14230000;
    t.tuning.UpdateBandFromFrequency();
    ASSERT_TRUE(t.tuning.SetModeIndex(1));
    t.tuning.SaveRegister(2);
    t.tuning.StepFrequency(-100000);
    t.tuning.SetModeIndex(3);
    t.rig.Settle();
    t.tuning.RecallRegister(2);
    t.rig.Settle();
    EXPECT_EQ(t.rig.radio->State().frequencyHz, 14230000u);
    EXPECT_EQ(t.rig.radio->State().mode, 1);
    EXPECT_EQ(t.rig.ini.GetInt("Banda", "20_C2_freq", 0), 14230000);
}

TEST(BandsOnRadioTest, IcSevenEighteenHasNoFmOrWfm)
{
    TuningRig t(sim::RadioModel::IC718);
    EXPECT_EQ(t.target.ModeCount(), 5);
    EXPECT_FALSE(t.tuning.SetModeIndex(5));
    EXPECT_FALSE(t.tuning.SetModeIndex(6));
    EXPECT_TRUE(t.tuning.SetModeIndex(4));
}

}  // namespace
