// The radio's state remembered and sent back around a long sequence, against the simulated
// radio: with VFO A or B current, with and without the extended functions, and when the VFO
// choice is cancelled.
#include <gtest/gtest.h>

#include <algorithm>

#include "ControllerTestSupport.h"
#include "RadioSnapshot.h"
#include "RemoteCodes.h"
#include "WorkProgress.h"

using namespace ctltest;

namespace {

class FakeProgress : public radio::IWorkProgress {
public:
    void OpenProgress(int textId, int steps) override
    {
        texts.push_back(textId);
        this->steps = steps;
        open = true;
    }
    void StepProgress() override { ++stepped; }
    void CloseProgress() override { open = false; }

    std::vector<int> texts;
    int steps = 0;
    int stepped = 0;
    bool open = false;
};

struct SnapshotRig {
    explicit SnapshotRig(sim::RadioModel model) : rig(model) { rig.controller->FillModeList(); }
    // The frames sent with this command byte (and sub-command, when given).
    std::vector<Bytes> SentWith(uint8_t command, int sub = -1) const
    {
        std::vector<Bytes> out;
        for (const Bytes& f : rig.Sent())
            if (f.size() > 5 && f[4] == command && (sub < 0 || (f.size() > 6 && f[5] == sub)))
                out.push_back(f);
        return out;
    }
    // Both VFOs set on the radio by hand, VFO A left selected.
    void TuneByHand(uint64_t hzB, int modeB, int filterB, uint64_t hzA, int modeA, int filterA)
    {
        rig.radio->SelectVfoByHand(1);
        rig.radio->SetFrequencyByHand(hzB);
        rig.radio->SetModeByHand(modeB, filterB);
        rig.radio->SelectVfoByHand(0);
        rig.radio->SetFrequencyByHand(hzA);
        rig.radio->SetModeByHand(modeA, filterA);
    }
    // Positions of the VFO selections among the sent frames.
    std::vector<Bytes> VfoSelections() const { return SentWith(civ::kCmdVfo); }

    SimRig rig;
    FakeProgress progress;
    radio::CRadioSnapshot snapshot{*rig.controller, progress, rig.language, nullptr};
};

}  // namespace

TEST(RadioSnapshot, VfoACurrentWithTheFunctionsComesBackWhole)
{
    SnapshotRig r(sim::RadioModel::IC706MKIIG);
    sim::SimulatedRadio& radio = *r.rig.radio;
    r.TuneByHand(7050000, radio::kLsb, 2, 145500000, radio::kWfm, 1);
    r.rig.controller->SelectVfoA();
    r.rig.controller->SetSwitch(radio::RadioFunction::NoiseBlanker, true);
    r.rig.controller->SetSwitch(radio::RadioFunction::Vox, true);
    // A narrow filter shown in WFM must not reach the radio as filter 2.
    ctltest::MutableState(*r.rig.controller).filterNarrow = true;
    r.rig.Settle();

    ASSERT_TRUE(r.snapshot.SaveRadioState());
    EXPECT_EQ(r.progress.texts, std::vector<int>{radio::kSaveStateText});
    EXPECT_EQ(r.progress.stepped, 3);
    EXPECT_FALSE(r.progress.open);
    const radio::RadioStateSnapshot& saved = r.snapshot.Saved();
    EXPECT_TRUE(saved.vfoAWasCurrent);
    EXPECT_EQ(saved.vfoA.frequencyHz, 145500000);
    EXPECT_EQ(saved.vfoB.frequencyHz, 7050000);
    EXPECT_EQ(saved.vfoB.mode, radio::kLsb);
    EXPECT_TRUE(saved.vfoB.filterNarrow);
    EXPECT_EQ(radio.State().currentVfo, 0);

    // The long sequence moves everything.
    r.rig.controller->SetSwitch(radio::RadioFunction::NoiseBlanker, false);
    r.rig.controller->SetSwitch(radio::RadioFunction::Vox, false);
    r.rig.controller->SetSwitch(radio::RadioFunction::Preamp, true);
    r.rig.Settle();
    radio.SelectVfoByHand(1);
    radio.SetFrequencyByHand(21200000);
    radio.SetModeByHand(radio::kUsb, 1);
    radio.SelectVfoByHand(0);
    radio.SetFrequencyByHand(3600000);
    radio.SetModeByHand(radio::kCw, 1);
    r.rig.Settle();
    radio.ClearFrames();

    EXPECT_TRUE(r.snapshot.RestoreRadioState());
    r.rig.Settle();
    const sim::RadioState s = radio.State();
    EXPECT_EQ(s.currentVfo, 0);
    EXPECT_EQ(s.vfo[0].frequencyHz, 145500000u);
    EXPECT_EQ(s.vfo[0].mode, radio::kWfm);
    EXPECT_EQ(s.vfo[0].filter, 1);
    EXPECT_EQ(s.vfo[1].frequencyHz, 7050000u);
    EXPECT_EQ(s.vfo[1].mode, radio::kLsb);
    EXPECT_EQ(s.vfo[1].filter, 2);
    EXPECT_TRUE(s.noiseBlanker);
    EXPECT_TRUE(s.vox);
    EXPECT_FALSE(s.preamp);
    EXPECT_FALSE(s.split);
    // The VFO that was not current first, the current one last.
    const std::vector<Bytes> selections = r.VfoSelections();
    ASSERT_GE(selections.size(), 2u);
    EXPECT_EQ(selections.front(), r.rig.Frame({0x07, 0x01}));
    EXPECT_EQ(selections.back(), r.rig.Frame({0x07, 0x00}));
    for (const Bytes& f : r.SentWith(civ::kCmdSetMode, radio::kWfm))
        EXPECT_EQ(f[6], 1);
    EXPECT_FALSE(r.SentWith(civ::kCmdFunction, 0x22).empty());
    EXPECT_EQ(r.progress.texts.back(), radio::kRestoreStateText);
    // The display follows the radio again.
    EXPECT_TRUE(r.rig.view.Button(radio::ctl::kNb));
    EXPECT_FALSE(r.rig.view.Button(radio::ctl::kPre));
}

TEST(RadioSnapshot, VfoBCurrentWithoutTheFunctionsSendsOnlyFrequencyModeAndSplit)
{
    SnapshotRig r(sim::RadioModel::IC706MKII);
    sim::SimulatedRadio& radio = *r.rig.radio;
    radio.SelectVfoByHand(0);
    radio.SetFrequencyByHand(14200000);
    radio.SelectVfoByHand(1);
    radio.SetFrequencyByHand(10120000);
    radio.SetModeByHand(radio::kCw, 2);
    r.rig.controller->SelectVfoB();
    r.rig.Settle();

    ASSERT_TRUE(r.snapshot.SaveRadioState());
    EXPECT_FALSE(r.snapshot.Saved().vfoAWasCurrent);
    EXPECT_EQ(radio.State().currentVfo, 1);  // back where it was
    EXPECT_EQ(r.snapshot.Saved().vfoA.frequencyHz, 14200000);

    radio.SetFrequencyByHand(28500000);
    radio.SelectVfoByHand(0);
    radio.SetFrequencyByHand(50100000);
    r.rig.Settle();
    radio.ClearFrames();

    EXPECT_TRUE(r.snapshot.RestoreRadioState());
    r.rig.Settle();
    EXPECT_EQ(radio.State().currentVfo, 1);
    EXPECT_EQ(radio.State().vfo[0].frequencyHz, 14200000u);
    EXPECT_EQ(radio.State().vfo[1].frequencyHz, 10120000u);
    EXPECT_EQ(radio.State().vfo[1].filter, 2);
    const std::vector<Bytes> selections = r.VfoSelections();
    ASSERT_GE(selections.size(), 2u);
    EXPECT_EQ(selections.front(), r.rig.Frame({0x07, 0x00}));
    EXPECT_EQ(selections.back(), r.rig.Frame({0x07, 0x01}));
    for (const Bytes& f : r.rig.Sent()) {
        const uint8_t c = f[4];
        EXPECT_TRUE(c == civ::kCmdVfo || c == civ::kCmdSetFrequency || c == civ::kCmdSetMode
                    || c == civ::kCmdReadFrequency || c == civ::kCmdReadMode
                    || (c == civ::kCmdSplitDuplex && f[5] <= civ::kSplitOn))
            << "command " << int(c);
    }
    EXPECT_EQ(r.SentWith(civ::kCmdSplitDuplex, civ::kSplitOff).size(), 1u);
}

TEST(RadioSnapshot, WhatCannotBeKnownOrWasRefusedIsNotReportedAsRestored)
{
    SnapshotRig r(sim::RadioModel::IC706MKIIG);
    radio::RadioState& state = ctltest::MutableState(*r.rig.controller);
    // VFO B current, its mode unknown when its record is taken: no 06 for it.
    r.rig.radio->SelectVfoByHand(1);
    state.currentVfo = radio::kVfoB;
    state.mode = -1;
    ASSERT_TRUE(r.snapshot.SaveRadioState());
    EXPECT_EQ(r.snapshot.Saved().vfoB.mode, -1);
    r.rig.Settle();
    r.rig.radio->ClearFrames();
    EXPECT_FALSE(r.snapshot.RestoreRadioState());
    r.rig.Settle();
    EXPECT_EQ(r.SentWith(civ::kCmdSetMode).size(), 1u);  // VFO A's only

    // A radio that refuses every command.
    r.rig.radio->InjectFault(MakeFault(sim::FaultKind::NgToEverything));
    EXPECT_FALSE(r.snapshot.RestoreRadioState());
    r.rig.radio->ClearFaults();
    r.rig.Settle();

    // No VFO known and the choice cancelled: no snapshot, and the old one is gone too.
    state.currentVfo = radio::kVfoNone;
    r.rig.view.vfoChoice = 0;
    r.progress.texts.clear();
    r.rig.radio->ClearFrames();
    EXPECT_FALSE(r.snapshot.SaveRadioState());
    EXPECT_TRUE(r.progress.texts.empty());
    EXPECT_FALSE(r.snapshot.RestoreRadioState());
    r.rig.Settle();
    EXPECT_TRUE(r.rig.Sent().empty());
}

TEST(RadioSnapshot, DuplexOffsetAndSplitComeBackOnThePanelAsOnTheRadio)
{
    SnapshotRig r(sim::RadioModel::IC706MKIIG);
    sim::SimulatedRadio& radio = *r.rig.radio;
    radio::CRadioController& c = *r.rig.controller;
    FakeView& view = r.rig.view;
    r.TuneByHand(14200000, radio::kUsb, 1, 145600000, radio::kFm, 1);
    c.SelectVfoA();
    r.rig.Settle();
    c.SendDuplexOffset(600);
    c.SendDuplexDirection(false, true);
    r.rig.Settle();
    ASSERT_TRUE(r.snapshot.SaveRadioState());
    r.rig.Settle();

    // The long sequence leaves simplex, another offset and split on.
    c.SendDuplexOffset(100);
    c.SendDuplexDirection(false, false);
    c.SendSplit(true);
    r.rig.Settle();
    r.rig.clients.notes.clear();
    EXPECT_TRUE(r.snapshot.RestoreRadioState());
    r.rig.Settle();
    sim::RadioState s = radio.State();
    EXPECT_EQ(s.duplex, sim::Duplex::Minus);
    EXPECT_EQ(s.offsetHz, 600000u);
    EXPECT_FALSE(s.split);
    EXPECT_TRUE(view.Button(radio::ctl::kDupMinus));
    EXPECT_FALSE(view.Button(radio::ctl::kDupPlus));
    EXPECT_FALSE(view.Button(radio::ctl::kSplit));
    EXPECT_EQ(view.offset, 600);
    EXPECT_NE(view.status.find("DUP-"), std::string::npos) << view.status;
    EXPECT_EQ(view.status.find("SPL"), std::string::npos) << view.status;
    EXPECT_TRUE(view.enabled[radio::ctl::kReverse]);
    // Clients hear the restored offset, and never the one it replaced.
    int offsets = 0;
    for (const auto& [code, value] : r.rig.clients.notes)
        if (code == remote::kNoteDuplexOffset)
            offsets += value == 600 ? 1 : 1000;
    EXPECT_GE(offsets, 1);
    EXPECT_LT(offsets, 1000);
    EXPECT_TRUE(r.rig.clients.Has(remote::kNoteDupMinus, 1));
    // FM read again keeps the direction the radio has.
    c.SelectVfoB();
    c.SelectVfoA();
    r.rig.Settle();
    EXPECT_TRUE(view.Button(radio::ctl::kDupMinus));

    // Taken in split: split comes back, and with it the radio drops the duplex, as the panel shows.
    // FM read in split leaves the duplex buttons up, so none is restored before split.
    c.SendSplit(true);
    r.rig.Settle();
    ASSERT_TRUE(r.snapshot.SaveRadioState());
    r.rig.Settle();
    EXPECT_FALSE(view.Button(radio::ctl::kDupMinus));
    c.SendSplit(false);
    c.SendDuplexDirection(true, false);
    r.rig.Settle();
    radio.ClearFrames();
    EXPECT_TRUE(r.snapshot.RestoreRadioState());
    r.rig.Settle();
    s = radio.State();
    EXPECT_TRUE(s.split);
    EXPECT_EQ(s.duplex, sim::Duplex::Simplex);
    EXPECT_TRUE(view.Button(radio::ctl::kSplit));
    EXPECT_FALSE(view.Button(radio::ctl::kDupMinus));
    EXPECT_FALSE(view.Button(radio::ctl::kDupPlus));
    EXPECT_TRUE(r.SentWith(civ::kCmdSplitDuplex, civ::kDuplexMinus).empty());
    EXPECT_NE(view.status.find("SPL"), std::string::npos) << view.status;
    EXPECT_EQ(view.status.find("DUP"), std::string::npos) << view.status;
    EXPECT_FALSE(view.enabled[radio::ctl::kReverse]);
    // Split restored is one 0F 01, not the Split button's VFO round trip: one selection a VFO.
    EXPECT_EQ(r.VfoSelections().size(), 2u);
}
