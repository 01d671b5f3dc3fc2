// Each fault a test can inject into the simulated radio's answers, as the controller sees it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "SimBus.h"

using namespace simtest;
using sim::Fault;
using sim::FaultKind;
using Clock = std::chrono::steady_clock;

namespace {

const Bytes kReadFrequency{0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
const Bytes kAnswer{0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};
const Bytes kSetFrequency{0xFE, 0xFE, 0x58, 0xE0, 0x05, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD};

Fault Make(FaultKind kind, int count = -1)
{
    Fault f;
    f.kind = kind;
    f.count = count;
    return f;
}

Bytes Exchange(SimBus& bus, const Bytes& frame)
{
    bus.Clear();
    bus.Send(frame);
    bus.radio.WaitQuiet(10000);
    return bus.Raw();
}

TEST(SimRadioFaults, NoAnswerAndNgLeaveTheStateAlone)
{
    SimBus bus;
    bus.radio.InjectFault(Make(FaultKind::NoAnswer, 1));
    EXPECT_TRUE(Exchange(bus, kSetFrequency).empty());
    EXPECT_EQ(bus.radio.State().frequencyHz, 14074000u);
    EXPECT_EQ(bus.radio.Frames().size(), 1u);  // heard on the bus, never answered

    bus.radio.InjectFault(Make(FaultKind::NgToEverything));
    const Bytes ng{0xFE, 0xFE, 0xE0, 0x58, 0xFA, 0xFD};
    EXPECT_EQ(Exchange(bus, kSetFrequency), ng);
    EXPECT_EQ(Exchange(bus, kReadFrequency), ng);
    EXPECT_EQ(bus.radio.State().frequencyHz, 14074000u);
    bus.radio.ClearFaults();
    EXPECT_EQ(Exchange(bus, kSetFrequency), (Bytes{0xFE, 0xFE, 0xE0, 0x58, 0xFB, 0xFD}));
}

TEST(SimRadioFaults, DelayedAndRepeatedAnswers)
{
    SimBus bus;
    Fault delay = Make(FaultKind::DelayedAnswer, 1);
    delay.delayMs = 150;
    bus.radio.InjectFault(delay);
    const auto start = Clock::now();
    EXPECT_EQ(Exchange(bus, kReadFrequency), kAnswer);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(140));

    Fault repeat = Make(FaultKind::RepeatedAnswer, 1);
    repeat.repeat = 3;
    bus.radio.InjectFault(repeat);
    bus.radio.ClearFrames();
    const Bytes thrice = Exchange(bus, kReadFrequency);
    EXPECT_EQ(thrice.size(), 3 * kAnswer.size());
    EXPECT_EQ(bus.Frames(), (std::vector<Bytes>{kAnswer, kAnswer, kAnswer}));
    EXPECT_EQ(bus.radio.Frames().size(), 4u);           // one received, three sent
    EXPECT_EQ(Exchange(bus, kReadFrequency), kAnswer);  // the count ran out
}

TEST(SimRadioFaults, SplitReadsDeliverTheAnswerInChunks)
{
    SimBus bus;
    Fault split = Make(FaultKind::SplitReads);
    split.chunkBytes = 3;
    split.chunkGapMs = 2;
    bus.radio.InjectFault(split);
    EXPECT_EQ(Exchange(bus, kReadFrequency), kAnswer);
    EXPECT_EQ(bus.Deliveries(), 4);  // 11 bytes in 3 + 3 + 3 + 2
}

TEST(SimRadioFaults, BytesAroundAndInsideTheAnswer)
{
    SimBus bus;
    Fault garbage = Make(FaultKind::LeadingGarbage, 1);
    garbage.garbage = {0x01, 0x02};
    bus.radio.InjectFault(garbage);
    Bytes expected{0x01, 0x02};
    expected.insert(expected.end(), kAnswer.begin(), kAnswer.end());
    EXPECT_EQ(Exchange(bus, kReadFrequency), expected);

    bus.radio.InjectFault(Make(FaultKind::CollisionByte, 1));
    Bytes collided = Exchange(bus, kReadFrequency);
    ASSERT_EQ(collided.size(), kAnswer.size() + 1);
    EXPECT_EQ(collided[5], 0xFC);
    EXPECT_TRUE(bus.Frames().empty());  // the collision spoils the frame

    bus.radio.InjectFault(Make(FaultKind::FeInsideFrame, 1));
    Bytes withFe = Exchange(bus, kReadFrequency);
    ASSERT_EQ(withFe.size(), kAnswer.size() + 1);
    EXPECT_EQ(withFe[5], 0xFE);
    EXPECT_TRUE(bus.Frames().empty());

    bus.radio.InjectFault(Make(FaultKind::LongGarbage, 1));
    const Bytes longOne = Exchange(bus, kReadFrequency);
    ASSERT_EQ(longOne.size(), 300 + kAnswer.size());
    EXPECT_EQ(std::count(longOne.begin(), longOne.begin() + 300, 0xFD), 0);
    EXPECT_EQ(bus.Frames(), std::vector<Bytes>{kAnswer});  // the good answer follows

    bus.radio.InjectFault(Make(FaultKind::TruncatedAnswer, 1));
    EXPECT_EQ(Exchange(bus, kReadFrequency), Bytes(kAnswer.begin(), kAnswer.end() - 3));
    EXPECT_EQ(Exchange(bus, kReadFrequency), kAnswer);
}

TEST(SimRadioFaults, WrongContentInAWholeFrame)
{
    SimBus bus;
    bus.radio.InjectFault(Make(FaultKind::NonBcdDigits, 1));
    const Bytes bad = Exchange(bus, kReadFrequency);
    ASSERT_EQ(bad.size(), kAnswer.size());
    EXPECT_TRUE((bad[5] >> 4) > 9 || (bad[5] & 0x0F) > 9);
    EXPECT_LT(bad[5], 0xFA);  // still not a frame byte
    // An FB answer carries no data to spoil, and the fault waits for one that does.
    EXPECT_EQ(Exchange(bus, kSetFrequency), (Bytes{0xFE, 0xFE, 0xE0, 0x58, 0xFB, 0xFD}));

    Fault other = Make(FaultKind::WrongAddress, 1);
    other.otherAddress = 0x5E;
    bus.radio.InjectFault(other);
    const Bytes fromOther = Exchange(bus, kReadFrequency);
    ASSERT_EQ(fromOther.size(), 11u);
    EXPECT_EQ(fromOther[3], 0x5E);
    bus.radio.InjectFault(Make(FaultKind::WrongAddress, 1));
    EXPECT_NE(Exchange(bus, kReadFrequency)[3], 0x58);
    // What the radio is recorded as sending is the frame as it left.
    const auto frames = bus.radio.Frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_NE(frames.back().bytes[3], 0x58);
}

TEST(SimRadioFaults, FaultsCombineAndClear)
{
    SimBus bus;
    Fault garbage = Make(FaultKind::LeadingGarbage);
    garbage.garbage = {0x33};
    bus.radio.InjectFault(garbage);
    Fault repeat = Make(FaultKind::RepeatedAnswer);
    bus.radio.InjectFault(repeat);
    Bytes once{0x33};
    once.insert(once.end(), kAnswer.begin(), kAnswer.end());
    Bytes twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(Exchange(bus, kReadFrequency), twice);
    EXPECT_EQ(Exchange(bus, kReadFrequency), twice);
    bus.radio.ClearFaults();
    EXPECT_EQ(Exchange(bus, kReadFrequency), kAnswer);
}

}  // namespace
