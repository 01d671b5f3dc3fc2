// The worker against the simulated radio, connected as a serial back-end connects it: frames are
// written into the radio, and what the radio puts on the bus (its echo first) goes through the
// frame assembler into PushReceivedFrame.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <unistd.h>

#include "Bcd.h"
#include "FrameAssembler.h"
#include "TraceLog.h"
#include "WorkerTestSupport.h"
#include "WorkerSimBus.h"
#include "SimulatedRadio.h"

using namespace cattest;

namespace {

using testing_support::SimBus;

const Bytes kRead = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
const Bytes kSet14250 = {0xFE, 0xFE, 0x58, 0xE0, 0x05, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD};
const Bytes kSet7050 = {0xFE, 0xFE, 0x58, 0xE0, 0x05, 0x00, 0x00, 0x05, 0x07, 0x00, 0xFD};
const Bytes kOk = {0xFE, 0xFE, 0xE0, 0x58, 0xFB, 0xFD};

bool IsFreqReply(const Bytes& f)
{
    return f.size() == 11 && f[2] == 0xE0 && f[3] == 0x58 && f[4] == 0x03;
}

class WorkerSimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        logPath = TempPath(std::string("cat-sim-")
                           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(log.Open(logPath));
        sim::SimConfig config;
        config.latencyMs = 0;
        config.pacing = false;
        config.echo = true;
        radio = std::make_unique<sim::SimulatedRadio>(config);
        worker = std::make_unique<cat::CGestCommand>();
        bus = std::make_unique<SimBus>(*radio, *worker);
    }
    void TearDown() override
    {
        worker->Stop(true);
        radio.reset();  // its thread ends before the bus and the worker go
        bus.reset();
        worker.reset();
        ::unlink(logPath.c_str());
    }
    void Start(int timeout)
    {
        worker->Configure(0, &gui, 10000, timeout, 0x58, &log, nullptr);
        ASSERT_TRUE(worker->Start(bus.get()));
    }
    size_t SentToRadio() const
    {
        size_t n = 0;
        for (const auto& f : radio->Frames())
            n += f.fromRadio ? 0 : 1;
        return n;
    }
    int64_t ReadFrequency()
    {
        gui.frames.clear();
        EXPECT_TRUE(worker->EnqueueCommand(6, 0, kRead.data()));
        EXPECT_TRUE(gui.DrainUntil(*worker, IsFreqReply));
        for (const auto& f : gui.frames)
            if (IsFreqReply(f))
                return cat::BcdToNumber(f.data(), f.size());
        return -1;
    }

    std::string logPath;
    cat::CTraceLog log;
    GuiStandIn gui;
    std::unique_ptr<sim::SimulatedRadio> radio;
    std::unique_ptr<cat::CGestCommand> worker;
    std::unique_ptr<SimBus> bus;
};

}  // namespace

TEST_F(WorkerSimTest, ReadSkipsTheEchoAndEndsOnTheAnswer)
{
    Start(1000);
    EXPECT_EQ(ReadFrequency(), 14074000);
    ASSERT_TRUE(WaitFor([&] { return worker->IsIdle(); }));
    ASSERT_TRUE(radio->WaitQuiet());
    gui.Drain(*worker);
    EXPECT_EQ(gui.frames.size(), 1u);  // the echo never reached the main window
    EXPECT_EQ(SentToRadio(), 1u);      // answered at the first try
    EXPECT_EQ(ReadFile(logPath), "TX:FEFE58E003FD - flagFB=0\r\n");

    // Several reads in a row, each answered once.
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(ReadFrequency(), 14074000) << i;
    EXPECT_EQ(SentToRadio(), 21u);
}

TEST_F(WorkerSimTest, FlaggedSetEndsOnOkAndIsNotPassedOn)
{
    Start(1000);
    ASSERT_TRUE(worker->EnqueueCommand(11, 1, kSet14250.data()));
    ASSERT_TRUE(WaitFor([&] { return worker->IsIdle(); }));
    gui.Drain(*worker);
    EXPECT_TRUE(gui.frames.empty());
    EXPECT_EQ(ReadFile(logPath),
              "TX:FEFE58E00500002514"
              "00FD - flagFB=1\r\n"
              "RX:FEFEE058FBFD - flagFB=1\r\n");
    EXPECT_EQ(ReadFrequency(), 14250000);
    EXPECT_EQ(SentToRadio(), 2u);
}

TEST_F(WorkerSimTest, UnflaggedSetPassesOkOnAndIsSentAgainAfterTheTimeOut)
{
    Start(30);
    ASSERT_TRUE(worker->EnqueueCommand(11, 0, kSet7050.data()));
    ASSERT_TRUE(WaitFor([&] { return SentToRadio() >= 3; }));
    EXPECT_FALSE(worker->IsIdle());
    worker->Stop(true);
    ASSERT_TRUE(radio->WaitQuiet());
    gui.Drain(*worker);
    ASSERT_GE(gui.frames.size(), 2u);
    for (const auto& f : gui.frames)
        EXPECT_EQ(f, kOk);
    const std::string text = ReadFile(logPath);
    EXPECT_GE(CountOf(text,
                      "TX:FEFE58E00500000507"
                      "00FD - flagFB=0\r\n"),
              3u);
    EXPECT_EQ(CountOf(text, "RX:"), 0u);

    // Restarted, the link works as before and the radio kept the frequency.
    Start(1000);
    EXPECT_EQ(ReadFrequency(), 7050000);
}
