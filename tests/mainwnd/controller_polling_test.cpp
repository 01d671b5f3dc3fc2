// The polling rotation: what each idle tick asks the simulated radio.
#include <gtest/gtest.h>

#include "ControllerTestSupport.h"

using namespace ctltest;

namespace {

class PollingTest : public ::testing::Test {
protected:
    explicit PollingTest(sim::RadioModel model = sim::RadioModel::IC706MKIIG) : rig(model) {}

    // One tick: the frames it sent, as "cmd sub" strings without the header.
    std::vector<std::string> Tick()
    {
        rig.radio->ClearFrames();
        rig.controller->PollRadio();
        rig.Settle();
        std::vector<std::string> out;
        for (const Bytes& f : rig.Sent()) {
            std::string text;
            for (size_t i = 4; i + 1 < f.size(); ++i) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%s%02X", text.empty() ? "" : " ", f[i]);
                text += hex;
            }
            out.push_back(text);
        }
        return out;
    }

    using V = std::vector<std::string>;
    SimRig rig;
};

class PollingTest718 : public PollingTest {
protected:
    PollingTest718() : PollingTest(sim::RadioModel::IC718) {}
};

}  // namespace

TEST_F(PollingTest, FullRotationTakesFiveTicks)
{
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(Tick(), (V{"03", "11", "16 02", "16 22", "16 42"}));
        EXPECT_EQ(Tick(), (V{"03", "04", "04", "16 12", "16 47"}));
        EXPECT_EQ(Tick(), (V{"03", "11", "16 43", "0C"}));
        EXPECT_EQ(Tick(), (V{"03", "16 46", "16 44"}));
        EXPECT_EQ(Tick(), (V{"03"}));
    }
    // The answers reached the display.
    EXPECT_EQ(rig.view.frequency, 14074000.0);
    EXPECT_EQ(rig.view.modeText, "USB");
}

TEST_F(PollingTest, WithoutExtendedFunctionsOnlyFrequencyAndMode)
{
    ctltest::MutableState(*rig.controller).extendedFunctions = false;
    ctltest::MutableState(*rig.controller).sMeterOn = true;
    const V expected[] = {{"03"}, {"03", "04", "04"}, {"03"}, {"03"}, {"03"}};
    for (int round = 0; round < 2; ++round)
        for (const V& tick : expected)
            EXPECT_EQ(Tick(), tick);
}

TEST_F(PollingTest, ReducedPollingReadsTheFrequencyEverySecondTick)
{
    rig.controller->SetFullPolling(false);
    EXPECT_TRUE(Tick().empty());
    EXPECT_EQ(Tick(), (V{"03"}));
    EXPECT_TRUE(Tick().empty());
    EXPECT_EQ(Tick(), (V{"03"}));
    // A frequency step in progress suppresses the read.
    ctltest::MutableState(*rig.controller).frequencyStepRunning = true;
    EXPECT_TRUE(Tick().empty());
    EXPECT_TRUE(Tick().empty());
}

TEST_F(PollingTest, HeldOffOrSendingQueuesNothingNotEvenTheSMeter)
{
    ctltest::MutableState(*rig.controller).sMeterOn = true;
    rig.controller->SetPollingEnabled(false);
    EXPECT_TRUE(Tick().empty());
    rig.controller->SetPollingEnabled(true);
    ctltest::MutableState(*rig.controller).sending = true;
    EXPECT_TRUE(Tick().empty());
}

TEST_F(PollingTest, SMeterReadsComeFirstAndSquelchOnlyInAmAndFm)
{
    ctltest::MutableState(*rig.controller).sMeterOn = true;
    ctltest::MutableState(*rig.controller).mode = radio::kUsb;
    EXPECT_EQ(Tick(), (V{"15 02", "03", "11", "16 02", "16 22", "16 42"}));
    ctltest::MutableState(*rig.controller).mode = radio::kFm;
    rig.radio->ClearFrames();
    EXPECT_EQ(Tick().front(), "15 01");
    EXPECT_NE(rig.view.texts[radio::ctl::kSText], "");
}

TEST_F(PollingTest, WheelStepSkipsTenTicksButNotTheSMeter)
{
    ctltest::MutableState(*rig.controller).sMeterOn = true;
    ctltest::MutableState(*rig.controller).mode = radio::kUsb;
    rig.controller->SkipTicks(10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Tick(), (V{"15 02"})) << "tick " << i;
    EXPECT_EQ(Tick(), (V{"15 02", "03", "11", "16 02", "16 22", "16 42"}));
}

TEST_F(PollingTest, IdleTickFromTheWorkerPollsUnlessStartingOrClosing)
{
    ctltest::MutableState(*rig.controller).startingUp = true;
    rig.controller->OnIdleTick();
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());
    ctltest::MutableState(*rig.controller).startingUp = false;

    // The worker's own tick, through the posted message.
    rig.controller->Worker().SetTimes(5, 1000);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (rig.Sent().empty() && std::chrono::steady_clock::now() < end) {
        platform::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(rig.Sent().empty());
    EXPECT_EQ(rig.Sent().front(), rig.Frame({0x03}));
}

TEST_F(PollingTest718, ToneReadsUseTheNoiseReductionSub)
{
    EXPECT_EQ(Tick(), (V{"03", "11", "16 02", "16 22", "16 40"}));
    Tick();
    EXPECT_EQ(Tick(), (V{"03", "11", "16 41", "0C"}));
}
