// Every function code of the extension protocol against the controller and the simulated radio:
// what the radio ends with, what the code answers, and what is refused.
#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <random>

#include "RemoteTestSupport.h"

using namespace remotetest;
using radio::RadioFunction;
using Bytes = std::vector<uint8_t>;

namespace {

bool RadioHas(const sim::RadioState& s, RadioFunction f)
{
    switch (f) {
    case RadioFunction::Attenuator: return s.attenuator;
    case RadioFunction::Preamp: return s.preamp;
    case RadioFunction::Agc: return s.agc == 1;
    case RadioFunction::NoiseBlanker: return s.noiseBlanker;
    case RadioFunction::Tone: return s.tone;
    case RadioFunction::ToneSquelch: return s.toneSquelch;
    case RadioFunction::Vox: return s.vox;
    case RadioFunction::BreakIn: return s.breakIn != 0;
    case RadioFunction::Compressor: return s.compressor;
    }
    return false;
}

}  // namespace

TEST(RemoteCommands, FrequencyRoundTripAndRefusals)
{
    RemoteRig r;
    EXPECT_EQ(r.Code(0), 14074000);
    EXPECT_EQ(r.Code(1, 7050000), 0);
    EXPECT_EQ(r.rig.radio->State().frequencyHz, 7050000u);
    EXPECT_EQ(r.Code(0), 7050000);
    EXPECT_TRUE(r.forward.Has(0, 7050000));

    // Outside the limits: refused, nothing sent, the field keeps its value.
    r.rig.radio->ClearFrames();
    for (int hz : {-5, 0, 29999, 470000000})
        EXPECT_EQ(r.Code(1, hz), -1) << hz;
    EXPECT_TRUE(r.rig.Sent().empty());
    EXPECT_EQ(r.Code(0), 7050000);
}

TEST(RemoteCommands, NoFrequencyUntilTheRadioToldOneAndNoSuccessForASetNotQueued)
{
    linktest::LinkFixture link;
    ctltest::SimRig rig;
    FakeWindow window;
    remote::CRemoteHandler handler(*rig.controller, rig.view, rig.ini, link.link, link.driver,
                                   window);
    rig.controller->Worker().SetTimes(1000000, 50);
    // A radio that is switched off: what was asked for is no frequency the radio has.
    rig.radio->SetLinkUp(false);
    EXPECT_EQ(handler.OnRemoteCommand(0, 0), -1);
    EXPECT_EQ(handler.OnRemoteCommand(1, 7050000), 0);
    EXPECT_EQ(handler.OnRemoteCommand(0, 0), -1);
    rig.radio->SetLinkUp(true);
    rig.controller->ReadFrequencyMode(true);
    rig.Settle();
    EXPECT_EQ(handler.OnRemoteCommand(0, 0), 7050000);

    // A set that finds the command queue full is lost: its answer says so.
    rig.controller->Worker().Stop(true);  // what is queued stays queued
    for (int i = 0; i < cat::CFrameQueue::kCapacity; ++i)
        rig.controller->SendCommand(0x03);
    EXPECT_EQ(handler.OnRemoteCommand(1, 7060000), -1);
    EXPECT_EQ(handler.OnRemoteCommand(22, 1), -1);  // the attenuator, any set alike
}

TEST(RemoteCommands, ModeCountsFromOneAndChecksTheList)
{
    RemoteRig r;
    EXPECT_EQ(r.Code(2), 2);  // USB
    EXPECT_EQ(r.Code(3, 4), 0);
    EXPECT_EQ(r.rig.Sent(), std::vector<Bytes>{r.rig.Frame({0x06, 0x03, 0x01})});
    EXPECT_EQ(r.rig.radio->State().mode, radio::kCw);
    EXPECT_EQ(r.Code(2), 4);
    for (int bad : {0, 8, -1, 1000}) {
        EXPECT_EQ(r.Code(3, bad), -1) << bad;
    }
    EXPECT_EQ(r.rig.Sent().size(), 1u);

    // A mode the controller knows no name for answers -1.
    ctltest::MutableState(*r.rig.controller).mode = 9;
    EXPECT_EQ(r.Code(2), -1);
}

TEST(RemoteCommands, EveryModeKeepsItsNumberNameAndRadioByte)
{
    // The numbers the public header gives, the names the display shows.
    const std::pair<int, const char*> modes[] = {{1, "LSB"},  {2, "USB"}, {3, "AM"}, {4, "CW"},
                                                 {5, "RTTY"}, {6, "FM"},  {7, "WFM"}};
    RemoteRig r;
    for (const auto& [number, name] : modes) {
        r.forward.notes.clear();
        EXPECT_EQ(r.Code(3, number), 0) << name;
        EXPECT_EQ(r.rig.radio->State().mode, number - 1) << name;
        EXPECT_EQ(r.rig.view.modeText, name);
        EXPECT_EQ(r.Code(2), number) << name;
        EXPECT_TRUE(r.forward.Has(2, number)) << name;
    }

    // The answer follows the radio's mode, whatever text the mode list shows for it.
    ctltest::MutableState(*r.rig.controller).modeNames[static_cast<size_t>(radio::kWfm)] = "FM-W";
    EXPECT_EQ(r.Code(2), 7);
}

TEST(RemoteCommands, ModesBeyondTheShorterListOfTheIC718AreRefused)
{
    RemoteRig r(sim::RadioModel::IC718);
    EXPECT_EQ(r.Code(3, 6), -1);  // FM
    EXPECT_EQ(r.Code(3, 7), -1);  // WFM
    EXPECT_TRUE(r.rig.Sent().empty());
    EXPECT_EQ(r.Code(3, 5), 0);  // RTTY
    EXPECT_EQ(r.Code(2), 5);
}

TEST(RemoteCommands, FilterSplitAndVfoEndInTheRequestedState)
{
    RemoteRig r;
    for (int narrow : {1, 1, 0, 0}) {
        EXPECT_EQ(r.Code(5, narrow), 0);
        EXPECT_EQ(r.rig.radio->State().filter, narrow ? 2 : 1);
        EXPECT_EQ(r.Code(4), narrow);
        EXPECT_EQ(r.rig.view.Button(radio::ctl::kFilter), narrow != 0);
    }
    EXPECT_EQ(r.Code(9), 0);
    EXPECT_EQ(r.rig.radio->State().currentVfo, 1);
    EXPECT_TRUE(r.rig.view.Button(radio::ctl::kVfoB));
    EXPECT_EQ(r.Code(8), 0);
    EXPECT_EQ(r.rig.radio->State().currentVfo, 0);

    // Asking twice for the same state must not toggle it back.
    for (int on : {1, 1, 0, 0}) {
        EXPECT_EQ(r.Code(7, on), 0);
        EXPECT_EQ(r.rig.radio->State().split, on != 0) << on;
        EXPECT_EQ(r.Code(6), on);
    }
}

TEST(RemoteCommands, SwitchesFollowTheFunctionTable)
{
    RemoteRig r;
    for (size_t i = 0; i < radio::kFunctionCount; ++i) {
        const radio::FunctionCommand& entry = radio::FunctionTable()[i];
        if (entry.function == RadioFunction::Attenuator || entry.function == RadioFunction::Preamp)
            continue;
        for (int on : {5, 5, 0}) {
            // Asked for the state it already has, the command still goes out.
            r.rig.radio->ClearFrames();
            EXPECT_EQ(r.Code(entry.notifyCode + 1, on), 0) << entry.caption;
            EXPECT_EQ(r.rig.Sent().size(), 1u) << entry.caption;
            EXPECT_EQ(RadioHas(r.rig.radio->State(), entry.function), on != 0) << entry.caption;
            EXPECT_EQ(r.Code(entry.notifyCode), on != 0 ? 1 : 0) << entry.caption;
            EXPECT_TRUE(r.forward.Has(entry.notifyCode, on != 0 ? 1 : 0)) << entry.caption;
        }
    }
}

TEST(RemoteCommands, AttenuatorOnTurnsThePreampOffFirst)
{
    RemoteRig r;
    EXPECT_EQ(r.Code(24, 1), 0);
    EXPECT_TRUE(r.rig.radio->State().preamp);
    r.rig.radio->ClearFrames();
    EXPECT_EQ(r.Code(22, 1), 0);
    const std::vector<Bytes> sent = r.rig.Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], r.rig.Frame({0x16, 0x02, 0x00}));
    EXPECT_EQ(sent[1], r.rig.Frame({0x11, 0x20}));
    EXPECT_EQ(r.Code(21), 1);
    EXPECT_EQ(r.Code(23), 0);
    EXPECT_TRUE(r.rig.view.Button(radio::ctl::kAtt));
}

TEST(RemoteCommands, DuplexAndOffset)
{
    RemoteRig r;
    // Outside FM the duplex buttons stay up and nothing is sent.
    EXPECT_EQ(r.Code(39, 1), 0);
    EXPECT_EQ(r.rig.radio->State().duplex, sim::Duplex::Simplex);
    EXPECT_FALSE(r.rig.controller->State().duplexPlus);

    r.rig.radio->SetModeByHand(radio::kFm, 1);
    r.rig.controller->ReadFrequencyMode(true);
    r.rig.Settle();
    EXPECT_EQ(r.Code(39, 1), 0);
    EXPECT_EQ(r.rig.radio->State().duplex, sim::Duplex::Plus);
    EXPECT_EQ(r.Code(40, 1), 0);
    EXPECT_EQ(r.rig.radio->State().duplex, sim::Duplex::Minus);
    EXPECT_FALSE(r.rig.controller->State().duplexPlus);
    EXPECT_EQ(r.Code(40, 0), 0);
    EXPECT_EQ(r.rig.radio->State().duplex, sim::Duplex::Simplex);

    EXPECT_EQ(r.Code(42, 600), 0);
    EXPECT_EQ(r.rig.radio->State().offsetHz, 600000u);
    EXPECT_EQ(r.Code(41), 600);
    EXPECT_TRUE(r.forward.Has(41, 600));

    r.rig.radio->ClearFrames();
    for (int bad : {-1, 10000, 1 << 20})
        EXPECT_EQ(r.Code(42, bad), -1) << bad;
    EXPECT_TRUE(r.rig.Sent().empty());
    EXPECT_EQ(r.Code(41), 600);
}

TEST(RemoteCommands, ExtendedCodesNeedTheFlag)
{
    RemoteRig r(sim::RadioModel::IC706);
    ASSERT_FALSE(r.rig.controller->State().extendedFunctions);
    ctltest::MutableState(*r.rig.controller).sMeterOn = true;
    EXPECT_EQ(r.Code(18), 0);
    for (int code = 19; code <= 42; ++code)
        EXPECT_EQ(r.Code(code, 1), -1) << code;
    EXPECT_TRUE(r.rig.Sent().empty());
    // The codes around them still work.
    EXPECT_EQ(r.Code(6), 0);
    EXPECT_EQ(r.Code(50), 1);
}

TEST(RemoteCommands, SignalAndSquelchNeedTheSMeter)
{
    RemoteRig r;
    radio::RadioState& s = ctltest::MutableState(*r.rig.controller);
    s.sValue = 7;
    EXPECT_EQ(r.Code(18), 1);
    s.sMeterOn = false;
    EXPECT_EQ(r.Code(19), -1);
    EXPECT_EQ(r.Code(20), -1);
    s.sMeterOn = true;
    EXPECT_EQ(r.Code(19), 7);
    // No squelch reading yet: not closed. Then the answer follows the radio's squelch reply, as
    // its notification does (1 = closed).
    EXPECT_EQ(r.Code(20), 0);
    const uint8_t closed[] = {0xFE, 0xFE, 0xE0, 0x58, 0x15, 0x01, 0x00, 0xFD};
    ASSERT_TRUE(r.rig.controller->ParseFrame(closed, sizeof closed));
    EXPECT_EQ(r.Code(20), 1);
    const uint8_t open[] = {0xFE, 0xFE, 0xE0, 0x58, 0x15, 0x01, 0x01, 0xFD};
    ASSERT_TRUE(r.rig.controller->ParseFrame(open, sizeof open));
    EXPECT_EQ(r.Code(20), 0);
}

TEST(RemoteCommands, WindowOperationsAndTheRecorder)
{
    RemoteRig r;
    EXPECT_EQ(r.Code(10), 0);
    EXPECT_EQ(r.window.vfoAEqualB, 1);
    EXPECT_EQ(r.Code(14, 3), 0);
    EXPECT_EQ(r.Code(14, 0), 0);
    EXPECT_EQ(r.window.ptt, (std::vector<bool>{true, false}));
    EXPECT_EQ(r.Code(11), 0);
    EXPECT_EQ(r.window.exits, 1);

    // Audio enabled by default; disabled, the recorder codes are not available.
    EXPECT_EQ(r.Code(13), 1);
    EXPECT_EQ(r.Code(15, 1), 0);
    EXPECT_EQ(r.Code(16, 0), 0);
    EXPECT_EQ(r.Code(17, 2), 0);
    using remote::RecorderButton;
    const std::vector<std::pair<RecorderButton, bool>> expected = {{RecorderButton::Record, true},
                                                                   {RecorderButton::Pause, false},
                                                                   {RecorderButton::Play, true}};
    EXPECT_EQ(r.window.recorder, expected);
    r.rig.ini.WriteInt("AudioRecorder", "Abilitato", 0);
    EXPECT_EQ(r.Code(13), 0);
    for (int code : {15, 16, 17})
        EXPECT_EQ(r.Code(code, 1), -1);
    EXPECT_EQ(r.window.recorder.size(), 3u);
}

TEST(RemoteCommands, SettingsVersionAndRange)
{
    RemoteRig r;
    EXPECT_EQ(r.Code(12), 0);
    EXPECT_EQ(r.Code(43), 1);  // COM1 when nothing is stored
    r.rig.ini.WriteInt("Setup", "PTTPorta", 4);
    r.rig.ini.WriteInt("Setup", "Porta", 0);
    EXPECT_EQ(r.Code(12), 1);
    EXPECT_EQ(r.Code(44), 4);
    EXPECT_EQ(r.Code(43), 0);

    EXPECT_EQ(r.Code(49), 0);
    r.handler->SetVersionText("2.05");
    EXPECT_EQ(r.Code(49), 2050);
    EXPECT_EQ(r.Code(50), 1);
    EXPECT_EQ(r.Code(51, 12345), 0);
    for (int code : {52, 900, -1, INT32_MIN, INT32_MAX})
        EXPECT_EQ(r.Code(code, 1), -1) << code;
    EXPECT_TRUE(r.rig.Sent().empty());
}

TEST(RemoteVersion, DotsRemovedThenScaled)
{
    EXPECT_EQ(remote::VersionNumber("1.2.3"), 1230);
    EXPECT_EQ(remote::VersionNumber("2.05"), 2050);
    EXPECT_EQ(remote::VersionNumber("4.7.1.0"), 4710);
    EXPECT_EQ(remote::VersionNumber("1"), 1000);
    EXPECT_EQ(remote::VersionNumber("12345"), 12345);
    EXPECT_EQ(remote::VersionNumber("Beta.3"), 0);
    EXPECT_EQ(remote::VersionNumber(""), 0);
    EXPECT_EQ(remote::VersionNumber("99999999999999"), INT32_MAX);
}

TEST(RemoteCommands, RandomCodesAndArgumentsAreAnsweredSafely)
{
    RemoteRig r;
    std::mt19937 random(1234);
    const int edges[] = {0, 1, -1, 2, 7, 52, 9999, 10000, 0x10001, INT32_MIN, INT32_MAX};
    for (int i = 0; i < 400; ++i) {
        int code = static_cast<int>(random() % 66) - 5;
        // Opening real serial devices and the split's VFO reads are tested on their own.
        if (code == 45 || code == 7)
            continue;
        const int argument =
            random() % 2 ? edges[random() % std::size(edges)] : static_cast<int>(random());
        const int answer = r.handler->OnRemoteCommand(code, argument);
        if (code < 0 || code > 51) {
            EXPECT_EQ(answer, -1);
        }
        EXPECT_GE(answer, -1) << code << " " << argument;
        if (i % 50 == 0)
            r.rig.Settle();
    }
    r.rig.Settle();
    // The radio still answers what it is asked.
    EXPECT_EQ(r.Code(1, 7000000), 0);
    EXPECT_EQ(r.rig.radio->State().frequencyHz, 7000000u);
}
