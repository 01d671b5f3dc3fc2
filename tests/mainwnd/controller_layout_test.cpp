// The command table: every layout as a frame, its flagFB and its notifications, and what the
// simulated radio receives and does when the controller sends each one.
#include <gtest/gtest.h>

#include "CommandLayout.h"
#include "ControllerTestSupport.h"

using namespace ctltest;
using radio::BuildCommand;

namespace {

struct LayoutCase {
    uint8_t command, sub;
    std::array<uint8_t, 4> data;
    Bytes body;  // after FE FE 58 E0, before FD
    int flagFB;
};

Bytes Framed(const Bytes& body)
{
    Bytes f = {0xFE, 0xFE, 0x58, 0xE0};
    f.insert(f.end(), body.begin(), body.end());
    f.push_back(0xFD);
    return f;
}

Bytes Of(const radio::CommandFrame& c)
{
    return Bytes(c.frame.data(), c.frame.data() + c.frame.size());
}

}  // namespace

TEST(CommandLayout, EveryLayoutFramesAsTheTableSays)
{
    const LayoutCase cases[] = {
        {0x05, 0x00, {0x00, 0x25, 0x14, 0x00}, {0x05, 0x00, 0x00, 0x25, 0x14, 0x00}, 1},
        {0x06, 0x03, {0x02}, {0x06, 0x03, 0x02}, 1},
        {0x07, 0x01, {}, {0x07, 0x01}, 1},
        {0x08, 0x00, {}, {0x08}, 1},
        {0x09, 0x00, {}, {0x09}, 1},
        {0x0A, 0x00, {}, {0x0A}, 1},
        {0x0B, 0x00, {}, {0x0B}, 1},  // memory clear ends on OK
        {0x0D, 0x00, {0x60, 0x00}, {0x0D, 0x00, 0x60, 0x00}, 1},
        {0x0E, 0x01, {}, {0x0E, 0x01}, 1},
        {0x0F, 0x12, {}, {0x0F, 0x12}, 1},
        {0x10, 0x03, {}, {0x10, 0x03}, 1},
        {0x11, 0x20, {}, {0x11, 0x20}, 1},
        {0x11, 0xFF, {}, {0x11}, 0},
        {0x15, 0x02, {}, {0x15, 0x02}, 0},
        {0x19, 0x00, {}, {0x19, 0x00}, 0},
        {0x16, 0x02, {0xFF}, {0x16, 0x02}, 0},
        {0x16, 0x02, {0x01}, {0x16, 0x02, 0x01}, 1},
        {0x46, 0x00, {}, {0x07}, 1},
        {0x51, 0x00, {0x23}, {0x08, 0x00, 0x23}, 1},
        {0x03, 0x00, {}, {0x03}, 0},
        {0x04, 0x00, {}, {0x04}, 0},
        {0x0C, 0x00, {}, {0x0C}, 0},
        {0x02, 0x00, {}, {0x02}, 0},
        {0x1A, 0x05, {0x01}, {0x1A}, 0},
    };
    for (const LayoutCase& c : cases) {
        const radio::CommandFrame out = BuildCommand(0x58, c.command, c.sub, c.data);
        EXPECT_EQ(Of(out), Framed(c.body)) << "command " << int(c.command);
        EXPECT_EQ(out.flagFB, c.flagFB) << "command " << int(c.command);
    }
}

TEST(CommandLayout, ValuesThatWouldBreakTheFrameAreRefused)
{
    EXPECT_EQ(BuildCommand(0x58, 0x05, 0xFD, {0, 0, 0, 0}).frame.length, 0);
    EXPECT_EQ(BuildCommand(0x58, 0x0D, 0x00, {0xFE, 0x00}).frame.length, 0);
    EXPECT_EQ(BuildCommand(0x58, 0x16, 0x02, {0xFD}).frame.length, 0);
    // A read marker is no data byte.
    EXPECT_NE(BuildCommand(0x58, 0x16, 0x02, {0xFF}).frame.length, 0);
    // Nor may an address from a hand-edited settings file cut the frame short.
    EXPECT_EQ(BuildCommand(0xFD, 0x03, 0x00, {}).frame.length, 0);
    EXPECT_EQ(BuildCommand(0xFE, 0x16, 0x02, {0xFF}).frame.length, 0);
}

TEST(CommandLayout, NotificationsFollowTheCommand)
{
    using radio::CommandNotifications;
    auto codes = [](const radio::Notifications& n) {
        std::vector<std::pair<int, int64_t>> v;
        for (int i = 0; i < n.count; ++i)
            v.emplace_back(n.items[size_t(i)].code, n.items[size_t(i)].value);
        return v;
    };
    using V = std::vector<std::pair<int, int64_t>>;
    EXPECT_EQ(codes(CommandNotifications(0x05, 0, {}, 14250000, 0)), (V{{0, 14250000}}));
    EXPECT_EQ(codes(CommandNotifications(0x06, 3, {2}, 0, 0)), (V{{2, 4}, {4, 1}}));
    EXPECT_EQ(codes(CommandNotifications(0x07, 0, {}, 0, 0)), (V{{8, 1}}));
    EXPECT_EQ(codes(CommandNotifications(0x07, 1, {}, 0, 0)), (V{{9, 1}}));
    EXPECT_EQ(codes(CommandNotifications(0x07, 0xA0, {}, 0, 0)), V{});
    EXPECT_EQ(codes(CommandNotifications(0x0D, 0, {}, 0, 600)), (V{{41, 600}}));
    EXPECT_EQ(codes(CommandNotifications(0x0F, 0x11, {}, 0, 0)), (V{{40, 1}}));
    EXPECT_EQ(codes(CommandNotifications(0x0F, 0x12, {}, 0, 0)), (V{{39, 1}}));
    EXPECT_EQ(codes(CommandNotifications(0x0F, 0x01, {}, 0, 0)), (V{{6, 1}}));
    EXPECT_EQ(codes(CommandNotifications(0x11, 0x20, {}, 0, 0)), (V{{21, 1}}));
    EXPECT_EQ(codes(CommandNotifications(0x11, 0xFF, {}, 0, 0)), V{});
    EXPECT_EQ(codes(CommandNotifications(0x16, 0x02, {0xFF}, 0, 0)), V{});
    EXPECT_EQ(codes(CommandNotifications(0x16, 0x02, {0x01}, 0, 0)), (V{{23, 1}}));
    EXPECT_EQ(codes(CommandNotifications(0x16, 0x12, {0x02}, 0, 0)), (V{{25, 0}}));
    EXPECT_EQ(codes(CommandNotifications(0x16, 0x47, {0x02}, 0, 0)), (V{{35, 2}}));
    EXPECT_EQ(codes(CommandNotifications(0x16, 0x99, {0x01}, 0, 0)), V{});
    EXPECT_EQ(codes(CommandNotifications(0x03, 0, {}, 0, 0)), V{});
}

// ---- Against the simulated radio ----

class LayoutSimTest : public ::testing::Test {
protected:
    // Sends and waits; returns the one frame the radio received.
    Bytes SendOne(uint8_t command, uint8_t sub, std::initializer_list<uint8_t> data)
    {
        rig.radio->ClearFrames();
        rig.controller->SendCommand(command, sub, data, true);
        rig.Settle();
        const auto sent = rig.Sent();
        EXPECT_EQ(sent.size(), 1u) << "command " << int(command);
        return sent.empty() ? Bytes{} : sent.front();
    }

    SimRig rig;
};

TEST_F(LayoutSimTest, EachCommandReachesTheRadioOnceAndActs)
{
    auto& radio = *rig.radio;
    EXPECT_EQ(SendOne(0x05, 0x00, {0x00, 0x25, 0x14, 0x00}),
              rig.Frame({0x05, 0x00, 0x00, 0x25, 0x14, 0x00}));
    EXPECT_EQ(radio.State().vfo[0].frequencyHz, 14250000u);

    EXPECT_EQ(SendOne(0x06, 0x03, {0x02}), rig.Frame({0x06, 0x03, 0x02}));
    EXPECT_EQ(radio.State().vfo[0].mode, 3);
    EXPECT_EQ(radio.State().vfo[0].filter, 2);

    EXPECT_EQ(SendOne(0x07, 0x01, {}), rig.Frame({0x07, 0x01}));
    EXPECT_EQ(radio.State().currentVfo, 1);
    EXPECT_EQ(SendOne(0x07, 0x00, {}), rig.Frame({0x07, 0x00}));
    EXPECT_EQ(radio.State().currentVfo, 0);

    // Memory: select channel 5, write the VFO into it, back to the VFO, memory mode, clear the
    // channel, VFO mode again.
    EXPECT_EQ(SendOne(0x51, 0x00, {0x05}), rig.Frame({0x08, 0x00, 0x05}));
    EXPECT_EQ(radio.State().channel, 5);
    EXPECT_EQ(SendOne(0x09, 0x00, {}), rig.Frame({0x09}));
    EXPECT_TRUE(radio.Channel(5).used);
    EXPECT_EQ(SendOne(0x0A, 0x00, {}), rig.Frame({0x0A}));
    EXPECT_EQ(SendOne(0x08, 0x00, {}), rig.Frame({0x08}));
    EXPECT_TRUE(radio.State().memoryMode);
    EXPECT_EQ(SendOne(0x0B, 0x00, {}), rig.Frame({0x0B}));  // OK ends the wait: sent once
    EXPECT_FALSE(radio.Channel(5).used);
    EXPECT_EQ(SendOne(0x46, 0x00, {}), rig.Frame({0x07}));
    EXPECT_FALSE(radio.State().memoryMode);

    EXPECT_EQ(SendOne(0x0D, 0x00, {0x60, 0x00}), rig.Frame({0x0D, 0x00, 0x60, 0x00}));
    EXPECT_EQ(radio.State().offsetHz, 600000u);
    EXPECT_EQ(SendOne(0x0F, 0x01, {}), rig.Frame({0x0F, 0x01}));
    EXPECT_TRUE(radio.State().split);
    EXPECT_EQ(SendOne(0x0F, 0x00, {}), rig.Frame({0x0F, 0x00}));
    EXPECT_FALSE(radio.State().split);
    EXPECT_EQ(SendOne(0x10, 0x05, {}), rig.Frame({0x10, 0x05}));
    EXPECT_EQ(radio.State().tuningStep, 5);
    EXPECT_EQ(SendOne(0x0E, 0x00, {}), rig.Frame({0x0E, 0x00}));

    EXPECT_EQ(SendOne(0x11, 0x20, {}), rig.Frame({0x11, 0x20}));
    EXPECT_TRUE(radio.State().attenuator);
    EXPECT_EQ(SendOne(0x11, 0xFF, {}), rig.Frame({0x11}));
    EXPECT_TRUE(rig.controller->State().Function(radio::RadioFunction::Attenuator));

    EXPECT_EQ(SendOne(0x16, 0x22, {0x01}), rig.Frame({0x16, 0x22, 0x01}));
    EXPECT_TRUE(radio.State().noiseBlanker);
    EXPECT_EQ(SendOne(0x16, 0x22, {0xFF}), rig.Frame({0x16, 0x22}));
    EXPECT_TRUE(rig.controller->State().Function(radio::RadioFunction::NoiseBlanker));

    EXPECT_EQ(SendOne(0x15, 0x02, {}), rig.Frame({0x15, 0x02}));
    EXPECT_EQ(SendOne(0x19, 0x00, {}), rig.Frame({0x19, 0x00}));
    EXPECT_EQ(SendOne(0x0C, 0x00, {}), rig.Frame({0x0C}));
    EXPECT_EQ(rig.controller->State().duplexOffsetKHz, 600);
    EXPECT_EQ(SendOne(0x04, 0x00, {}), rig.Frame({0x04}));
    EXPECT_EQ(rig.controller->State().mode, 3);
    EXPECT_EQ(SendOne(0x03, 0x00, {}), rig.Frame({0x03}));
    EXPECT_EQ(rig.view.frequency, 14250000.0);
    EXPECT_EQ(SendOne(0x02, 0x00, {}), rig.Frame({0x02}));
    EXPECT_EQ(rig.controller->State().upperLimit, 469999999);
}

TEST_F(LayoutSimTest, WaitEndsOnlyAfterItsOwnAnswerWasParsed)
{
    rig.radio->SetFrequencyByHand(7050000);
    // Queue a few commands first: the wait must not end when an earlier one is answered.
    rig.controller->SendCommand(0x16, 0x02, {0xFF});
    rig.controller->SendCommand(0x04);
    rig.controller->SendCommand(0x03, 0, {}, true);
    EXPECT_EQ(rig.view.frequency, 7050000.0);
    EXPECT_TRUE(rig.clients.Has(0, 7050000));
}

TEST_F(LayoutSimTest, WaitGivesUpAndLogsWhenNoAnswerComes)
{
    SimRig logged(sim::RadioModel::IC706MKIIG, true);
    ctltest::MutableState(*logged.controller).delayCommand = 2;  // 20 steps
    logged.radio->InjectFault(MakeFault(sim::FaultKind::NoAnswer));
    logged.controller->SendCommand(0x03, 0, {}, true);
    logged.controller->Worker().Stop(true);
    EXPECT_NE(testing_support::GetFile(logged.logPath).find("Timeout invio comando\r\n"),
              std::string::npos);
}

TEST_F(LayoutSimTest, HugeDelayCommandStillWaitsForTheAnswer)
{
    // Ten times this wraps to 4 in 32 bits: the wait must not end before the answer comes.
    rig.radio->SetTransceive(false);
    rig.radio->SetFrequencyByHand(7050000);
    rig.radio->SetLatency(50);
    ctltest::MutableState(*rig.controller).delayCommand = 429496730;
    rig.controller->SendCommand(0x03, 0, {}, true);
    EXPECT_EQ(rig.view.frequency, 7050000.0);
}

TEST_F(LayoutSimTest, OffLineDropsFramesUnlessALinkTestRuns)
{
    ctltest::MutableState(*rig.controller).offLine = true;
    rig.controller->SendCommand(0x03, 0, {}, true);
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());
    ctltest::MutableState(*rig.controller).linkTest = true;
    rig.controller->RequestFrequency();
    rig.Settle();
    EXPECT_EQ(rig.Sent().size(), 1u);
}

TEST_F(LayoutSimTest, WithoutTransportNothingIsQueuedOrNotified)
{
    rig.controller->SetSerialOpen(false);
    rig.controller->SendCommand(0x16, 0x02, {0x01}, true);
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());
    EXPECT_TRUE(rig.clients.notes.empty());
}

TEST_F(LayoutSimTest, AnswerFromAnotherAddressIsNeverParsed)
{
    rig.view.frequency = 1000000;
    sim::Fault fault = MakeFault(sim::FaultKind::WrongAddress);
    fault.otherAddress = 0x5E;
    rig.radio->InjectFault(fault);
    ctltest::MutableState(*rig.controller).delayCommand = 5;
    rig.controller->SendCommand(0x03, 0, {}, true);
    EXPECT_EQ(rig.view.frequency, 1000000.0);
    EXPECT_FALSE(rig.clients.Has(0, 14074000));
}

TEST_F(LayoutSimTest, CommandCountsAsDoneOnlyOnceItWasWrittenAndAnswered)
{
    cat::CGestCommand& worker = rig.controller->Worker();
    worker.Stop(true);
    const Bytes read = rig.Frame({0x03});
    uint64_t queued = 0;
    ASSERT_TRUE(worker.EnqueueCommand(6, 0, read.data(), &queued));
    EXPECT_FALSE(worker.IsCommandDone(queued));
    // A wait on a command that is never written runs out instead of ending early.
    rig.view.frequency = 1;
    ctltest::MutableState(*rig.controller).delayCommand = 1;
    rig.controller->SendCommand(0x03, 0, {}, true);
    EXPECT_TRUE(rig.Sent().empty());
    EXPECT_EQ(rig.view.frequency, 1.0);

    // Starting again clears the queue: those waits are over, new ones end on their answer.
    ASSERT_TRUE(worker.Start(rig.bus.get()));
    EXPECT_TRUE(worker.IsCommandDone(queued));
    uint64_t ticket = 0;
    ASSERT_TRUE(worker.EnqueueCommand(6, 0, read.data(), &ticket));
    EXPECT_GT(ticket, queued);
    EXPECT_TRUE(rig.PumpUntil([&] { return worker.IsCommandDone(ticket); }));
    EXPECT_EQ(rig.Sent().size(), 1u);
}
