// The function switches on every model: each ends in the requested state on the simulated radio
// and in the controller; duplex, reverse and the S-meter switch.
#include <gtest/gtest.h>

#include "ControllerTestSupport.h"

using namespace ctltest;
using radio::RadioFunction;

namespace {

// The simulated radio's state of a function; the IC-718 has NR/ANF where the others have tone.
bool RadioHas(const sim::RadioState& s, RadioFunction f, sim::RadioModel model)
{
    const bool ic718 = model == sim::RadioModel::IC718;
    switch (f) {
    case RadioFunction::Attenuator: return s.attenuator;
    case RadioFunction::Preamp: return s.preamp;
    case RadioFunction::Agc: return s.agc == 1;
    case RadioFunction::NoiseBlanker: return s.noiseBlanker;
    case RadioFunction::Tone: return ic718 ? s.noiseReduction : s.tone;
    case RadioFunction::ToneSquelch: return ic718 ? s.autoNotch : s.toneSquelch;
    case RadioFunction::Vox: return s.vox;
    case RadioFunction::BreakIn: return s.breakIn != 0;
    case RadioFunction::Compressor: return s.compressor;
    }
    return false;
}

std::vector<RadioFunction> AllFunctions()
{
    std::vector<RadioFunction> all;
    for (size_t i = 0; i < radio::kFunctionCount; ++i)
        all.push_back(static_cast<RadioFunction>(i));
    return all;
}

class SwitchModelTest : public ::testing::TestWithParam<sim::RadioModel> {};

}  // namespace

TEST_P(SwitchModelTest, EverySwitchEndsInTheRequestedState)
{
    const sim::RadioModel model = GetParam();
    SimRig rig(model);
    const bool extended = rig.controller->State().extendedFunctions;
    for (RadioFunction f : AllFunctions()) {
        if (f == RadioFunction::Attenuator || f == RadioFunction::Preamp)
            continue;  // they exclude each other; tested below
        for (bool on : {true, false}) {
            const sim::RadioState before = rig.radio->State();
            rig.radio->ClearFrames();
            rig.controller->SetFunction(f, on);
            rig.Settle();
            const int id = radio::FunctionInfo(f).controlId;
            if (extended) {
                EXPECT_EQ(RadioHas(rig.radio->State(), f, model), on)
                    << radio::FunctionInfo(f).caption << " " << on;
                EXPECT_EQ(rig.controller->State().Function(f), on);
                EXPECT_EQ(rig.view.Button(id), on);
            } else {
                // Without extended functions the radio has none of these: nothing goes out.
                EXPECT_TRUE(rig.Sent().empty());
                EXPECT_EQ(RadioHas(rig.radio->State(), f, model), RadioHas(before, f, model));
                EXPECT_FALSE(rig.controller->State().Function(f));
            }
        }
    }
    if (!extended)
        return;

    // The radio's own report agrees: read everything back into cleared buttons.
    for (RadioFunction f : AllFunctions())
        rig.controller->SetFunction(f, true);
    rig.Settle();
    ctltest::MutableState(*rig.controller).functions.fill(false);
    rig.controller->ReadFunctionStates(true);
    for (RadioFunction f : AllFunctions()) {
        // Attenuator and preamp exclude each other: the preamp went on last.
        const bool expected = f != RadioFunction::Attenuator;
        EXPECT_EQ(rig.controller->State().Function(f), expected) << radio::FunctionInfo(f).caption;
        EXPECT_EQ(RadioHas(rig.radio->State(), f, model), expected);
    }
}

TEST_P(SwitchModelTest, AttenuatorAndPreampExcludeEachOther)
{
    SimRig rig(GetParam());
    if (!rig.controller->State().extendedFunctions)
        GTEST_SKIP() << "no attenuator or preamp commands on this model";
    rig.controller->SetFunction(RadioFunction::Preamp, true);
    rig.Settle();
    rig.radio->ClearFrames();
    rig.controller->SetFunction(RadioFunction::Attenuator, true);
    rig.Settle();
    EXPECT_EQ(rig.Sent(),
              (std::vector<Bytes>{rig.Frame({0x16, 0x02, 0x00}), rig.Frame({0x11, 0x20})}));
    EXPECT_TRUE(rig.radio->State().attenuator);
    EXPECT_FALSE(rig.radio->State().preamp);
    EXPECT_FALSE(rig.view.Button(radio::ctl::kPre));

    rig.radio->ClearFrames();
    rig.controller->OnFunctionButton(RadioFunction::Preamp);
    rig.Settle();
    EXPECT_EQ(rig.Sent(),
              (std::vector<Bytes>{rig.Frame({0x11, 0x00}), rig.Frame({0x16, 0x02, 0x01})}));
    EXPECT_FALSE(rig.radio->State().attenuator);
    EXPECT_TRUE(rig.radio->State().preamp);
    EXPECT_TRUE(rig.clients.Has(21, 0));
    EXPECT_TRUE(rig.clients.Has(23, 1));
}

INSTANTIATE_TEST_SUITE_P(Models, SwitchModelTest,
                         ::testing::Values(sim::RadioModel::IC706, sim::RadioModel::IC706MKII,
                                           sim::RadioModel::IC706MKIIG, sim::RadioModel::IC718));

// ---- Duplex, reverse, S-meter ----

class DuplexTest : public ::testing::Test {
protected:
    void ToFm()
    {
        rig.radio->SetModeByHand(radio::kFm, 1);
        rig.radio->SetFrequencyByHand(145000000);
        rig.controller->ReadFrequencyMode(true);
        ASSERT_EQ(rig.controller->State().mode, radio::kFm);
        rig.radio->ClearFrames();
    }
    SimRig rig;
};

TEST_F(DuplexTest, DuplexOnlyInFm)
{
    ctltest::MutableState(*rig.controller).mode = radio::kUsb;
    rig.controller->OnDuplexPlus();
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());
    EXPECT_FALSE(rig.view.Button(radio::ctl::kDupPlus));
    EXPECT_FALSE(rig.controller->State().duplexPlus);

    ToFm();
    rig.controller->OnDuplexPlus();
    rig.Settle();
    EXPECT_EQ(rig.radio->State().duplex, sim::Duplex::Plus);
    EXPECT_TRUE(rig.view.Button(radio::ctl::kDupPlus));
    EXPECT_TRUE(rig.controller->State().duplexPlusRemembered);
    EXPECT_TRUE(rig.view.enabled[radio::ctl::kOffset]);
    EXPECT_EQ(rig.view.status.find(" DUP+") != std::string::npos, true);

    rig.controller->OnDuplexMinus();
    rig.Settle();
    EXPECT_EQ(rig.radio->State().duplex, sim::Duplex::Minus);
    EXPECT_FALSE(rig.view.Button(radio::ctl::kDupPlus));
    EXPECT_TRUE(rig.view.Button(radio::ctl::kDupMinus));

    rig.controller->OnDuplexMinus();
    rig.Settle();
    EXPECT_EQ(rig.radio->State().duplex, sim::Duplex::Simplex);
    EXPECT_FALSE(rig.controller->State().duplexMinusRemembered);
    EXPECT_FALSE(rig.view.enabled[radio::ctl::kOffset]);
}

TEST_F(DuplexTest, DuplexSetChecksTheValueAndAsks)
{
    rig.view.offsetText = "20.000";
    rig.view.offset = 20000;
    rig.controller->OnDuplexSet();
    ASSERT_EQ(rig.view.boxes.size(), 1u);
    EXPECT_EQ(rig.view.boxes[0].text, "20.000 KHz :  Not valid value for duplex function");
    EXPECT_EQ(rig.view.boxes[0].style, mb::kIconError);

    rig.view.offset = 600;
    rig.view.boxAnswer = mb::kIdNo;
    rig.controller->OnDuplexSet();
    ASSERT_EQ(rig.view.boxes.size(), 2u);
    EXPECT_EQ(rig.view.boxes[1].text,
              "Setting 600 KHz as value of the duplex for the selected band?");
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());

    rig.view.boxAnswer = mb::kIdYes;
    rig.controller->OnDuplexSet();
    rig.Settle();
    EXPECT_EQ(rig.Sent(), (std::vector<Bytes>{rig.Frame({0x0D, 0x00, 0x60, 0x00})}));
    EXPECT_EQ(rig.radio->State().offsetHz, 600000u);
    EXPECT_TRUE(rig.clients.Has(41, 600));
}

TEST_F(DuplexTest, OffsetsThatDoNotFitAreNeverSent)
{
    EXPECT_FALSE(rig.controller->SendDuplexOffset(-1));
    EXPECT_FALSE(rig.controller->SendDuplexOffset(10000));
    EXPECT_TRUE(rig.controller->SendDuplexOffset(9999));
    rig.Settle();
    EXPECT_EQ(rig.Sent(), (std::vector<Bytes>{rig.Frame({0x0D, 0x90, 0x99, 0x09})}));
}

TEST_F(DuplexTest, ReverseMovesByTheOffsetAndSwapsTheDirection)
{
    ToFm();
    rig.controller->OnDuplexPlus();
    rig.Settle();
    rig.radio->ClearFrames();
    rig.view.offset = 600;
    rig.controller->OnReverse();
    rig.Settle();
    EXPECT_EQ(rig.Sent(), (std::vector<Bytes>{rig.Frame({0x05, 0x00, 0x00, 0x60, 0x45, 0x01}),
                                              rig.Frame({0x0F, 0x10}), rig.Frame({0x0F, 0x11})}));
    EXPECT_EQ(rig.radio->State().vfo[0].frequencyHz, 145600000u);
    EXPECT_EQ(rig.radio->State().duplex, sim::Duplex::Minus);
    EXPECT_TRUE(rig.view.Button(radio::ctl::kDupMinus));
    EXPECT_FALSE(rig.view.Button(radio::ctl::kDupPlus));
    EXPECT_FALSE(rig.view.waitCursor);

    // Without a duplex direction nothing moves.
    rig.controller->OnDuplexMinus();
    rig.Settle();
    rig.radio->ClearFrames();
    rig.controller->OnReverse();
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());
    EXPECT_FALSE(rig.view.enabled[radio::ctl::kReverse]);
}

TEST_F(DuplexTest, SMeterAndAutoUpdateSwitchesAreStored)
{
    rig.controller->OnSMeterButton();
    EXPECT_TRUE(rig.controller->State().sMeterOn);
    EXPECT_TRUE(rig.view.sMeterPanel);
    EXPECT_EQ(rig.ini.GetInt("CurrentSet", "SMeterON", -1), 1);
    rig.controller->OnSMeterButton();
    EXPECT_FALSE(rig.controller->State().sMeterOn);
    EXPECT_FALSE(rig.view.sMeterPanel);
    EXPECT_EQ(rig.view.peak, 0);
    EXPECT_EQ(rig.ini.GetInt("CurrentSet", "SMeterON", -1), 0);
    EXPECT_TRUE(rig.view.enabled.count(radio::ctl::kAtt) == 0);  // the panel stays usable

    rig.controller->ShowSMeter(2);
    EXPECT_FALSE(rig.view.enabled[radio::ctl::kAtt]);
    EXPECT_FALSE(rig.view.enabled[radio::ctl::kOffset]);
    rig.controller->EnableFunctionPanel();
    EXPECT_TRUE(rig.view.enabled[radio::ctl::kAtt]);

    rig.controller->OnAutoUpdate(true);
    EXPECT_EQ(rig.ini.GetInt("CurrentSet", "AutoAggiorna", -1), 1);
}
