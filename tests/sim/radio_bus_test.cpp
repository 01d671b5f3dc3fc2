// The simulated radio on the bus: echo, addressing, transceive frames, the record of frames,
// timing, the link, and writers on several threads.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "SimBus.h"

using namespace simtest;
using Clock = std::chrono::steady_clock;

namespace {

const Bytes kReadFrequency{0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
const Bytes kFrequencyAnswer{0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};

Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(SimRadioBus, EchoesEveryByteFirstWhenSwitchedOn)
{
    sim::SimConfig config = QuickConfig();
    config.echo = true;
    SimBus bus(config);
    // Bytes in any split, garbage included, come back unchanged before the answer.
    const Bytes garbage{0x12, 0x34};
    bus.Send(garbage);
    for (uint8_t b : kReadFrequency)
        bus.Send({b});
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_EQ(bus.Raw(), Concat(Concat(garbage, kReadFrequency), kFrequencyAnswer));

    bus.Clear();
    bus.radio.SetEcho(false);
    bus.Send(kReadFrequency);
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_EQ(bus.Raw(), kFrequencyAnswer);
}

TEST(SimRadioBus, IgnoresFramesToOtherAddressesButRecordsThem)
{
    SimBus bus;
    const Bytes toOther{0xFE, 0xFE, 0x5E, 0xE0, 0x03, 0xFD};
    bus.Send(toOther);
    bus.Send({0xFE, 0xFE, 0x00, 0xE0, 0x03, 0xFD});
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_TRUE(bus.Raw().empty());
    const auto frames = bus.radio.Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_FALSE(frames[0].fromRadio);
    EXPECT_EQ(frames[0].bytes, toOther);

    // The radio answers whoever asked.
    bus.Send({0xFE, 0xFE, 0x58, 0xE1, 0x19, 0x00, 0xFD});
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_EQ(bus.Raw(), (Bytes{0xFE, 0xFE, 0xE1, 0x58, 0x19, 0x00, 0x58, 0xFD}));
}

TEST(SimRadioBus, RecordsReceivedAndSentFramesInOrder)
{
    SimBus bus;
    bus.Send(Concat(Concat({0xFE, 0xFE, 0xFE}, {0x58, 0xE0, 0x03, 0xFD}), {0x00, 0xFE}));
    ASSERT_TRUE(bus.radio.WaitQuiet());
    bus.Send({0xFE, 0x58, 0xE0, 0x04, 0xFD});
    ASSERT_TRUE(bus.radio.WaitQuiet());
    auto frames = bus.radio.Frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_FALSE(frames[0].fromRadio);
    EXPECT_EQ(frames[0].bytes, kReadFrequency);  // the longer preamble is not kept
    EXPECT_TRUE(frames[1].fromRadio);
    EXPECT_EQ(frames[1].bytes, kFrequencyAnswer);
    EXPECT_EQ(frames[2].bytes, (Bytes{0xFE, 0xFE, 0x58, 0xE0, 0x04, 0xFD}));
    EXPECT_EQ(frames[3].bytes, (Bytes{0xFE, 0xFE, 0xE0, 0x58, 0x04, 0x01, 0x01, 0xFD}));
    bus.radio.ClearFrames();
    EXPECT_TRUE(bus.radio.Frames().empty());

    // Spoiled frames are neither recorded nor answered: FE inside, collision, too short, too long.
    bus.Clear();
    bus.Send({0xFE, 0xFE, 0x58, 0xE0, 0xFE, 0x03, 0xFD});
    bus.Send({0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFC, 0xFD});
    bus.Send({0xFE, 0xFE, 0x58, 0xFD});
    Bytes longFrame{0xFE, 0xFE, 0x58, 0xE0, 0x05};
    longFrame.resize(300, 0x11);
    longFrame.push_back(0xFD);
    bus.Send(longFrame);
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_TRUE(bus.radio.Frames().empty());
    EXPECT_TRUE(bus.Raw().empty());
    // And the radio still listens afterwards.
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x40, 0x07, 0x14, 0x00}));
}

TEST(SimRadioBus, SendsTransceiveFramesOnFrontPanelChanges)
{
    SimBus bus;
    bus.radio.TurnKnob(2);  // 1 kHz steps
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_EQ(bus.Raw(), (Bytes{0xFE, 0xFE, 0x00, 0x58, 0x00, 0x00, 0x60, 0x07, 0x14, 0x00, 0xFD}));

    bus.Clear();
    bus.radio.SetModeByHand(3, 2);
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_EQ(bus.Raw(), (Bytes{0xFE, 0xFE, 0x00, 0x58, 0x01, 0x03, 0x02, 0xFD}));

    // Another VFO: its frequency and mode.
    bus.Clear();
    bus.radio.SelectVfoByHand(1);
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_EQ(bus.Frames().size(), 2u);

    // Changes the controller asked for are not reported back.
    bus.Clear();
    EXPECT_EQ(bus.Ask({0x05, 0x00, 0x00, 0x50, 0x45, 0x01}), kOk);
    EXPECT_EQ(bus.Ask({0x06, 0x05, 0x01}), kOk);

    // Keying with a duplex offset moves to the transmit frequency and back.
    EXPECT_EQ(bus.Ask({0x0D, 0x00, 0x60, 0x00}), kOk);
    EXPECT_EQ(bus.Ask({0x0F, 0x11}), kOk);
    bus.Clear();
    bus.radio.Key(true);
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_EQ(bus.Raw(), (Bytes{0xFE, 0xFE, 0x00, 0x58, 0x00, 0x00, 0x00, 0x90, 0x44, 0x01, 0xFD}));
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x00, 0x90, 0x44, 0x01}));
    bus.Clear();
    bus.radio.Key(false);
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_EQ(bus.Raw(), (Bytes{0xFE, 0xFE, 0x00, 0x58, 0x00, 0x00, 0x00, 0x50, 0x45, 0x01, 0xFD}));

    // Switched off: silence.
    bus.Clear();
    bus.radio.SetTransceive(false);
    bus.radio.TurnKnob(1);
    bus.radio.SetModeByHand(0, 1);
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_TRUE(bus.Raw().empty());
    EXPECT_EQ(bus.radio.State().mode, 0);
}

TEST(SimRadioBus, KnobClampsAtBandEdgesAndWalksChannelsInMemoryMode)
{
    SimBus bus;
    bus.radio.SetTransceive(false);
    bus.radio.SetFrequencyByHand(40000);
    bus.radio.TurnKnob(-100);
    EXPECT_EQ(bus.radio.State().frequencyHz, 30000u);
    bus.radio.SetFrequencyByHand(999999999);
    EXPECT_EQ(bus.radio.State().frequencyHz, 469999999u);
    sim::MemoryChannel ch;
    ch.used = true;
    ch.frequencyHz = 3700000;
    ch.mode = 0;
    ASSERT_TRUE(bus.radio.SetChannel(2, ch));
    EXPECT_EQ(bus.Ask({0x08}), kOk);
    bus.radio.TurnKnob(1);
    EXPECT_EQ(bus.radio.State().channel, 2);
    EXPECT_EQ(bus.radio.State().frequencyHz, 3700000u);
    bus.radio.TurnKnob(-2);
    EXPECT_EQ(bus.radio.State().channel, 99);
    EXPECT_TRUE(bus.radio.State().blank);
}

TEST(SimRadioBus, AnswersAfterTheLatencyAndAtTheBaudRate)
{
    sim::SimConfig config = QuickConfig();
    config.latencyMs = 150;
    SimBus slow(config);
    auto start = Clock::now();
    slow.Send(kReadFrequency);
    ASSERT_TRUE(slow.WaitForBytes(kFrequencyAnswer.size()));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(140));

    config.latencyMs = 0;
    config.pacing = true;
    config.baud = 1200;  // 8.3 ms a byte
    SimBus paced(config);
    start = Clock::now();
    paced.Send(kReadFrequency);
    ASSERT_TRUE(paced.WaitForBytes(kFrequencyAnswer.size()));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(80));
    EXPECT_EQ(paced.Raw(), kFrequencyAnswer);
}

TEST(SimRadioBus, DroppedLinkHearsAndSaysNothing)
{
    SimBus bus;
    bus.radio.SetLinkUp(false);
    EXPECT_FALSE(bus.radio.LinkUp());
    EXPECT_FALSE(bus.radio.State().linkUp);
    bus.Send(kReadFrequency);
    bus.radio.TurnKnob(1);
    ASSERT_TRUE(bus.radio.WaitQuiet());
    EXPECT_TRUE(bus.Raw().empty());
    EXPECT_TRUE(bus.radio.Frames().empty());
    bus.radio.SetLinkUp(true);
    EXPECT_EQ(bus.Ask({0x03}), (Bytes{0x03, 0x00, 0x50, 0x07, 0x14, 0x00}));
}

TEST(SimRadioBus, WritersOnSeveralThreadsAreAllAnswered)
{
    SimBus bus;
    constexpr int kThreads = 4;
    constexpr int kFramesEach = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < kFramesEach; ++i)
                bus.Send(kReadFrequency);
        });
    for (auto& t : threads)
        t.join();
    ASSERT_TRUE(bus.radio.WaitQuiet(20000));
    const auto frames = bus.Frames();
    ASSERT_EQ(frames.size(), static_cast<size_t>(kThreads * kFramesEach));
    for (const Bytes& f : frames)
        EXPECT_EQ(f, kFrequencyAnswer);
    EXPECT_EQ(bus.radio.Frames().size(), static_cast<size_t>(2 * kThreads * kFramesEach));
}

TEST(SimRadioBus, DestroysCleanlyWithOutputPending)
{
    sim::SimConfig config = QuickConfig();
    config.latencyMs = 60000;
    config.pacing = true;
    config.baud = 300;
    const auto start = Clock::now();
    {
        SimBus bus(config);
        bus.radio.SetEcho(true);
        Bytes many(2000, 0x11);  // more than a minute at 300 baud
        bus.Send(many);
        bus.Send(kReadFrequency);
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
}

TEST(SimRadioBus, RandomInputNeverBreaksTheRadio)
{
    sim::SimConfig config = QuickConfig();
    config.scanStepMs = 1;
    SimBus bus(config);
    std::mt19937 rng(1234);
    auto byte = [&] { return static_cast<uint8_t>(rng() & 0xFF); };
    for (int i = 0; i < 20000; ++i) {
        Bytes chunk;
        if (rng() % 2) {
            // A well-framed command with random contents, often a real command byte.
            chunk = {0xFE, 0xFE, 0x58, 0xE0, static_cast<uint8_t>(rng() % 0x1A)};
            for (unsigned n = rng() % 8; n > 0; --n)
                chunk.push_back(byte());
            chunk.push_back(0xFD);
        } else {
            for (unsigned n = rng() % 40; n > 0; --n)
                chunk.push_back(byte());
        }
        bus.Send(chunk);
        if (i % 1000 == 0)
            bus.radio.TurnKnob(static_cast<int>(rng() % 21) - 10);
    }
    ASSERT_TRUE(bus.radio.WaitQuiet(60000));
    bus.Send({0xFD});  // ends whatever frame the noise left open
    bus.Send({0xFE, 0xFE, 0x58, 0xE0, 0x0E, 0x00, 0xFD});
    ASSERT_TRUE(bus.radio.WaitQuiet(60000));
    EXPECT_EQ(bus.Ask({0x19, 0x00}), (Bytes{0x19, 0x00, 0x58}));
    const sim::RadioState s = bus.radio.State();
    EXPECT_GE(s.vfo[0].frequencyHz, 30000u);
    EXPECT_LE(s.vfo[0].frequencyHz, 469999999u);
    EXPECT_LE(s.mode, 6);
}

}  // namespace
