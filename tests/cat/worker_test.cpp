// The worker with a recording writer: the test plays the radio through PushReceivedFrame.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <unistd.h>

#include "TraceLog.h"
#include "WorkerTestSupport.h"

using namespace cattest;

namespace {

const Bytes kRead = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
const Bytes kSetFreq = {0xFE, 0xFE, 0x58, 0xE0, 0x05, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD};
const Bytes kFreqReply = {0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD};
const Bytes kOk = {0xFE, 0xFE, 0xE0, 0x58, 0xFB, 0xFD};
const Bytes kNg = {0xFE, 0xFE, 0xE0, 0x58, 0xFA, 0xFD};

class WorkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        logPath = TempPath(std::string("cat-worker-")
                           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(log.Open(logPath));
        worker = std::make_unique<cat::CGestCommand>();
    }
    void TearDown() override
    {
        worker->Stop(true);
        worker.reset();
        ::unlink(logPath.c_str());
    }
    void Start(int poll, int timeout)
    {
        worker->Configure(0, &gui, poll, timeout, 0x58, &log, nullptr);
        ASSERT_TRUE(worker->Start(&writer));
    }
    void Push(const Bytes& f) { worker->PushReceivedFrame(static_cast<int>(f.size()), f.data()); }
    bool Enqueue(const Bytes& f, int flagFB)
    {
        return worker->EnqueueCommand(static_cast<int>(f.size()), static_cast<uint8_t>(flagFB),
                                      f.data());
    }

    std::string logPath;
    cat::CTraceLog log;
    GuiStandIn gui;
    RecordingWriter writer;
    std::unique_ptr<cat::CGestCommand> worker;
};

}  // namespace

TEST_F(WorkerTest, NgEndsAnyWaitAndOtherAddressesNeverArrive)
{
    writer.onWrite = [this](const Bytes&) {
        Push({0xFE, 0xFE, 0xE0, 0x5E, 0x03, 0x00, 0x00, 0x00, 0x07, 0x00, 0xFD});  // not our radio
        Push(kNg);
    };
    Start(10000, 10000);
    ASSERT_TRUE(Enqueue(kRead, 0));
    ASSERT_TRUE(Enqueue(kSetFreq, 1));
    ASSERT_TRUE(WaitFor([&] { return writer.Count() >= 2 && worker->IsIdle(); }));
    gui.Drain(*worker);
    EXPECT_EQ(writer.Count(), 2u);  // each ended on its NG, none was sent twice
    EXPECT_TRUE(gui.frames.empty());

    const std::string text = ReadFile(logPath);
    EXPECT_EQ(text,
              "TX:FEFE58E003FD - flagFB=0\r\n"
              "RX:FEFEE058FAFD - flagFB=0\r\n"
              "TX:FEFE58E00500002514"
              "00FD - flagFB=1\r\n"
              "RX:FEFEE058FAFD - flagFB=1\r\n");
}

TEST_F(WorkerTest, OkEndsOnlyAFlaggedWaitAndUnansweredFramesAreSentAgain)
{
    writer.onWrite = [this](const Bytes&) { Push(kOk); };
    Start(10000, 20);
    ASSERT_TRUE(Enqueue(kSetFreq, 1));
    ASSERT_TRUE(WaitFor([&] { return worker->IsIdle(); }));
    gui.Drain(*worker);
    EXPECT_EQ(writer.Count(), 1u);
    EXPECT_TRUE(gui.frames.empty());  // the OK that ended the wait is not passed on

    // Without the flag the OK goes to the main window and the wait runs out: written again.
    ASSERT_TRUE(Enqueue(kSetFreq, 0));
    ASSERT_TRUE(WaitFor([&] { return writer.Count() >= 4; }));
    EXPECT_FALSE(worker->IsIdle());
    worker->Stop(true);
    gui.Drain(*worker);
    ASSERT_GE(gui.frames.size(), 3u);
    for (const auto& f : gui.frames)
        EXPECT_EQ(f, kOk);
    const std::string text = ReadFile(logPath);
    EXPECT_EQ(CountOf(text,
                      "TX:FEFE58E00500002514"
                      "00FD - flagFB=0\r\n"),
              writer.Count() - 1);
    EXPECT_EQ(CountOf(text, "RX:"), 1u);
}

TEST_F(WorkerTest, AReplyTimeOutOfZeroStillTakesTheAnswer)
{
    // "DelayCommand" 0 in the settings: the answer must still end the wait, not a flood of resends.
    writer.onWrite = [this](const Bytes&) { Push(kFreqReply); };
    Start(10000, 0);
    const auto answered = [this] {
        return gui.DrainUntil(*worker, [](const Bytes& f) { return f == kFreqReply; })
               && WaitFor([&] { return !worker->IsWaiting(); });
    };
    ASSERT_TRUE(Enqueue(kRead, 0));
    ASSERT_TRUE(answered());
    EXPECT_LE(writer.Count(), 2u);
    worker->SetTimes(10000, -5);
    ASSERT_TRUE(Enqueue(kRead, 0));
    ASSERT_TRUE(answered());
    EXPECT_LE(writer.Count(), 4u);
}

TEST_F(WorkerTest, AnswerEndsTheWaitAndFramesKeepTheirOrder)
{
    Start(10000, 10000);
    // Frames arriving with no command waiting reach the main window in order, announced once.
    for (int i = 0; i < 50; ++i)
        Push({0xFE, 0xFE, 0xE0, 0x58, 0x15, 0x02, 0x00, static_cast<uint8_t>(i), 0xFD});
    ASSERT_TRUE(WaitFor([&] { return gui.FramesPosts() >= 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(gui.FramesPosts(), 1);  // coalesced until acknowledged
    gui.Drain(*worker);
    ASSERT_EQ(gui.frames.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(gui.frames[static_cast<size_t>(i)][7], i);

    // While a read waits, unrelated frames are passed on and the answer ends the wait.
    gui.frames.clear();
    writer.onWrite = [this](const Bytes&) {
        Push({0xFE, 0xFE, 0xE0, 0x58, 0x15, 0x02, 0x00, 0x99, 0xFD});
        Push(kFreqReply);
        Push(kOk);
    };
    ASSERT_TRUE(Enqueue(kRead, 0));
    ASSERT_TRUE(gui.DrainUntil(*worker, [](const Bytes& f) { return f == kOk; }));
    EXPECT_GE(gui.FramesPosts(), 2);
    ASSERT_EQ(gui.frames.size(), 3u);
    EXPECT_EQ(gui.frames[0][4], 0x15);
    EXPECT_EQ(gui.frames[1], kFreqReply);
    EXPECT_EQ(gui.frames[2], kOk);
    EXPECT_EQ(writer.Count(), 1u);
    ASSERT_TRUE(WaitFor([&] { return worker->IsIdle(); }));
}

TEST_F(WorkerTest, NoIdleTickWhileACommandWaits)
{
    Start(5, 100000);  // the command below is never answered
    ASSERT_TRUE(WaitFor([&] {
        worker->AcknowledgeIdleTick();
        return gui.IdlePosts() >= 2;
    }));
    ASSERT_TRUE(Enqueue(kRead, 0));
    ASSERT_TRUE(WaitFor([&] { return writer.Count() == 1; }));
    worker->AcknowledgeIdleTick();
    const int ticksBefore = gui.IdlePosts();
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        worker->AcknowledgeIdleTick();
        EXPECT_FALSE(worker->IsIdle());
    }
    EXPECT_EQ(gui.IdlePosts(), ticksBefore);
    EXPECT_TRUE(worker->IsWaiting());

    // Unacknowledged ticks are not repeated.
    Push(kFreqReply);
    ASSERT_TRUE(gui.DrainUntil(*worker, [](const Bytes& f) { return f == kFreqReply; }));
    ASSERT_TRUE(WaitFor([&] { return gui.IdlePosts() == ticksBefore + 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    EXPECT_EQ(gui.IdlePosts(), ticksBefore + 1);
    ASSERT_TRUE(WaitFor([&] { return worker->IsIdle(); }));
}

TEST_F(WorkerTest, StopEndsAResendingWorkerAndNothingIsWrittenAfterwards)
{
    for (int timeout : {0, 1, 100000}) {
        Start(10000, timeout);
        ASSERT_TRUE(Enqueue(kRead, 0));
        ASSERT_TRUE(WaitFor([&] { return writer.Count() >= 1; }));
        worker->Stop(true);
        EXPECT_FALSE(worker->IsStarted());
        EXPECT_FALSE(worker->IsRunning());
        const size_t written = writer.Count();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(writer.Count(), written) << "timeout " << timeout;
    }
    // A stopped worker starts again with empty queues.
    Push(kFreqReply);
    Start(10000, 10000);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    gui.Drain(*worker);
    EXPECT_TRUE(gui.frames.empty());
}

TEST_F(WorkerTest, RefusalsAreReportedNeverOverwritten)
{
    cat::CGestCommand unstarted;
    unstarted.Configure(0, &gui, 200, 200, 0x58, &log, nullptr);
    Bytes tooLong(257, 0x01);
    EXPECT_FALSE(unstarted.EnqueueCommand(257, 0, tooLong.data()));
    EXPECT_TRUE(unstarted.PushReceivedFrame(3, kOk.data()));  // too short to carry a source

    // The main window does not drain: the queue fills, the surplus is refused and reported.
    Start(10000, 10000);
    for (int i = 0; i < 2100; ++i) {
        Push({0xFE, 0xFE, 0xE0, 0x58, 0x15, 0x02, static_cast<uint8_t>(i >> 8),
              static_cast<uint8_t>(i & 0xFF), 0xFD});
    }
    ASSERT_TRUE(WaitFor([&] { return CountOf(ReadFile(logPath), "Queue full") >= 1; }));
    ASSERT_TRUE(WaitFor([&] { return worker->IsIdle() || gui.FramesPosts() > 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(WaitFor([&] {
        gui.Drain(*worker);
        return gui.frames.size() >= 1000u && worker->IsIdle();
    }));
    // The first 1000 arrive complete; later ones may be refused, but none twice or out of order.
    for (size_t i = 0; i < gui.frames.size(); ++i) {
        const int n = (gui.frames[i][6] << 8) | gui.frames[i][7];
        if (i < 1000)
            ASSERT_EQ(n, static_cast<int>(i));
        else
            ASSERT_GT(n, (gui.frames[i - 1][6] << 8) | gui.frames[i - 1][7]);
    }
    EXPECT_LT(gui.frames.size(), 2100u);

    // With no transport queued frames are dropped and the worker stays idle.
    worker->Stop(true);
    worker->Configure(0, &gui, 10000, 10000, 0x58, &log, nullptr);
    ASSERT_TRUE(worker->Start(nullptr));
    ASSERT_TRUE(Enqueue(kRead, 0));
    ASSERT_TRUE(WaitFor([&] { return worker->IsIdle(); }));
    EXPECT_EQ(writer.Count(), 0u);
}

TEST_F(WorkerTest, AnUnansweredCommandIsDroppedAndTheRadioReportedSilentUntilItAnswers)
{
    // Only the set is answered, by the worker's own write, however late the test runs.
    writer.onWrite = [this](const Bytes& f) {
        if (f == kSetFreq)
            Push(kNg);
    };
    Start(10000, 20);
    uint64_t silent = 0, next = 0;
    ASSERT_TRUE(worker->EnqueueCommand(6, 0, kRead.data(), &silent));
    ASSERT_TRUE(worker->EnqueueCommand(11, 1, kSetFreq.data(), &next));
    // The read is written for most of a second, then dropped; the set behind it goes out.
    ASSERT_TRUE(WaitFor([&] { return worker->IsCommandDone(silent); }));
    EXPECT_EQ(worker->GetCommandOutcome(silent), cat::CommandOutcome::NoAnswer);
    const std::vector<Bytes> writes = writer.Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), kRead), 35);
    EXPECT_EQ(cat::CGestCommand::MaxWrites(20), 35);
    EXPECT_EQ(cat::CGestCommand::MaxWrites(105), 6);  // within the window
    EXPECT_EQ(cat::CGestCommand::MaxWrites(1000), 3);
    EXPECT_EQ(worker->DroppedCount(), 1u);
    ASSERT_TRUE(WaitFor([&] { return worker->IsCommandDone(next); }));
    EXPECT_EQ(worker->GetCommandOutcome(next), cat::CommandOutcome::Refused);
    EXPECT_EQ(writer.Count(), 36u);
    EXPECT_EQ(writer.Writes().back(), kSetFreq);
    // Another command's answer does not end it: the read itself must be answered. The set's NG
    // is an answer about the frequency, though: the drop and the NG were each announced.
    EXPECT_TRUE(worker->IsRadioSilent());
    EXPECT_FALSE(worker->IsFrequencyUnanswered());
    EXPECT_EQ(gui.AnswerPosts(), 2);
    EXPECT_EQ(CountOf(ReadFile(logPath), "No answer, command dropped:FEFE58E003FD"), 1u);

    writer.onWrite = [this](const Bytes& f) {
        if (f == kRead)
            Push(kFreqReply);
    };
    uint64_t answered = 0;
    ASSERT_TRUE(worker->EnqueueCommand(6, 0, kRead.data(), &answered));
    ASSERT_TRUE(WaitFor([&] { return worker->IsCommandDone(answered); }));
    EXPECT_EQ(worker->GetCommandOutcome(answered), cat::CommandOutcome::Answered);
    EXPECT_FALSE(worker->IsRadioSilent());
    EXPECT_EQ(gui.AnswerPosts(), 3);
}

TEST_F(WorkerTest, ANewerSetReplacesTheSameSetStillQueuedButNothingElse)
{
    Start(10000, 100000);
    ASSERT_TRUE(Enqueue(kRead, 0));  // never answered: what follows stays queued
    ASSERT_TRUE(WaitFor([&] { return writer.Count() == 1; }));
    const auto set = [](uint8_t mhz) {
        return Bytes{0xFE, 0xFE, 0x58, 0xE0, 0x05, 0x00, 0x00, 0x00, mhz, 0x00, 0xFD};
    };
    const Bytes vfoB = {0xFE, 0xFE, 0x58, 0xE0, 0x07, 0x01, 0xFD};
    const Bytes attOn = {0xFE, 0xFE, 0x58, 0xE0, 0x11, 0x20, 0xFD};
    const Bytes attOff = {0xFE, 0xFE, 0x58, 0xE0, 0x11, 0x00, 0xFD};
    uint64_t first = 0, second = 0;
    ASSERT_TRUE(worker->EnqueueCommand(11, 1, set(0x07).data(), &first));
    ASSERT_TRUE(worker->EnqueueCommand(11, 1, set(0x10).data(), &second));
    EXPECT_EQ(first, second);  // one entry, one answer for both callers
    for (const Bytes& f : {vfoB, set(0x14), set(0x21), attOn, attOff})
        ASSERT_TRUE(Enqueue(f, 1));

    writer.onWrite = [this](const Bytes&) { Push(kOk); };
    Push(kFreqReply);
    ASSERT_TRUE(WaitFor([&] {
        gui.Drain(*worker);
        return worker->IsIdle();
    }));
    const std::vector<Bytes> expected = {kRead, set(0x10), vfoB, set(0x21), attOff};
    EXPECT_EQ(writer.Writes(), expected);
    EXPECT_EQ(worker->GetCommandOutcome(first), cat::CommandOutcome::Answered);
}
