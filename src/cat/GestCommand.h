// The CI-V command worker: one thread that writes queued frames to the radio one at a time,
// waits for each answer, writes again when none comes (for about a second, then the command is
// dropped), and hands every frame it does not consume to the main window.
//
// The main window is told through IWorkerNotify with coalesced notifications: at most one
// "frames available" and one "idle tick" are outstanding. The GUI calls AcknowledgeFramesAvailable
// (or AcknowledgeIdleTick) when it handles one, then drains PopFrameForGui until it returns false.
// A third message tells it that the radio stopped or resumed answering (IsRadioSilent).
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "AnswerWatch.h"
#include "CivTransport.h"
#include "FrameQueue.h"
#include "Thread.h"
#include "WindowMessages.h"
#include "WorkerNotify.h"

namespace cat {

class CTraceLog;

// How a queued command ended.
enum class CommandOutcome : uint8_t {
    Pending,   // still queued or being written
    Answered,  // its answer, or OK when an OK ends it
    Refused,   // NG
    NoAnswer,  // written the most times allowed, never answered, dropped
    NotSent,   // cleared away, or dropped unsent (no transport, not a frame)
};

class CGestCommand : public CThread {
public:
    static constexpr int kDefaultPollInterval = 200;  // ms of quiet before an idle tick
    static constexpr int kDefaultReplyTimeout = 200;  // 1-ms steps of waiting for an answer
    // An unanswered command is written again for about this long, and at least kMinWrites times,
    // then dropped: one silent command must not hold up everything queued behind it. Kept under a
    // second so that a set queued behind it still reaches the radio within a second.
    static constexpr int kAnswerWindowMs = 700;
    static constexpr int kMinWrites = 3;

    // How many times a command is written before it is dropped, for a reply time-out.
    static int MaxWrites(int replyTimeout);

    CGestCommand();
    ~CGestCommand() override;

    // portKind: Setup/"PortaModo" (kept for the link logic; the writer decides how frames go).
    // driver: the driver binding when the driver library is connected, else null.
    // log: the open traffic log or null; it must outlive the running worker.
    void Configure(int portKind, IWorkerNotify* mainWindow, int pollInterval, int replyTimeout,
                   int radioAddress, CTraceLog* log, ICivWriter* driver);
    void SetTimes(int pollInterval, int replyTimeout);
    // Message numbers handed to IWorkerNotify; 0 switches that notification off.
    void SetMessages(unsigned framesMessage, unsigned idleMessage,
                     unsigned answerMessage = msg::kAnswerState);

    // Empties the queues and starts the thread; frames go to the configured driver, else to
    // `serial` (a serial back-end's writer), else they are dropped.
    bool Start(ICivWriter* serial);
    // Ends the processing loop and any reply wait; with wait, returns after the thread has ended
    // (or, stuck in a driver call, has been left behind to leave on its own), so the transport
    // may be closed and the driver unloaded afterwards.
    void Stop(bool wait) override;

    // From the GUI: queue a frame; flagFB 1 lets an OK reply end the wait for its answer.
    // A set of the same thing as the newest waiting frame replaces it (the radio only needs the
    // last value). False when the frame is longer than 256 bytes or the queue is full (logged).
    bool EnqueueCommand(int length, uint8_t flagFB, const uint8_t* bytes);
    // The same, handing back in `ticket` a number for IsCommandDone (0 when refused). A frame
    // that replaced another shares its ticket.
    bool EnqueueCommand(int length, uint8_t flagFB, const uint8_t* bytes, uint64_t* ticket);
    // True once the command of `ticket` has been answered, dropped or cleared away; never
    // before it was written. Commands are handled in queue order.
    bool IsCommandDone(uint64_t ticket) const;
    // Waits at most `most` for IsCommandDone(ticket), ending as soon as the command ends.
    bool WaitCommandDone(uint64_t ticket, std::chrono::milliseconds most) const;
    // How it ended; Pending before. For a ticket too old to remember: Answered.
    CommandOutcome GetCommandOutcome(uint64_t ticket) const;
    // Whether the main window has popped the answer of `ticket` (true when it ended with none for
    // it): an answer still queued may tell of a state the main window has changed since.
    bool IsAnswerTaken(uint64_t ticket) const;
    // Commands dropped unanswered since the worker was made.
    uint64_t DroppedCount() const { return droppedCommands_.load(); }
    // Whether a command the radio left unanswered is still unanswered (see CAnswerWatch).
    // Changes are announced with the answer message.
    bool IsRadioSilent() const { return radioSilent_.load(); }
    // Whether the last frequency read or set went unanswered: then nothing the radio is told can
    // be taken as done. Announced like IsRadioSilent.
    bool IsFrequencyUnanswered() const { return frequencyUnanswered_.load(); }
    // From any receiving thread: a frame from the radio. Frames from other addresses (and
    // fragments too short to carry one) are dropped and count as handled (true).
    bool PushReceivedFrame(int length, const uint8_t* bytes);
    // From a receiving thread: bytes arrived, whether or not they make a frame. A reply wait
    // does not run out while the line is busy (up to kAnswerWindowMs longer): a write into a
    // long answer would only queue more answers behind it.
    void NoteLineActivity() { lineActivity_.fetch_add(1, std::memory_order_relaxed); }
    // From the GUI: the oldest frame for the main window; false when none waits.
    bool PopFrameForGui(int& size, uint8_t* buffer);

    void AcknowledgeFramesAvailable();
    void AcknowledgeIdleTick();

    // Nothing queued, nothing waiting for an answer, nothing waiting for the main window.
    bool IsIdle() const;
    bool IsWaiting() const { return waiting_.load(); }
    int GetPortKind() const { return portKind_.load(); }
    void ClearQueues();

protected:
    void Run(void* parameter) override;

private:
    using Clock = std::chrono::steady_clock;

    void ProcessingLoop(ICivWriter* transport);
    CommandOutcome SendUntilAnswered(ICivWriter* transport, const uint8_t* frame, int length,
                                     uint8_t flagFB);
    bool Write(ICivWriter* transport, const uint8_t* frame, int length);
    // Answered or Refused, or Pending when the reply time-out ran out (or the worker stops).
    CommandOutcome WaitForReply(const uint8_t* sent, int length, uint8_t flagFB);
    void NoteAnswer(const uint8_t* frame, int length, bool answered);
    void NotifyAnswerState();
    void WaitReplyStep();
    void MoveRepliesToGui();
    // True when queued; each queued frame is numbered, counting from 1.
    bool PushToGui(const uint8_t* bytes, int length);
    void NotifyFramesAvailable();
    void NotifyIdleTick();
    bool PushReporting(CFrameQueue& queue, int length, uint8_t tag, const uint8_t* bytes,
                       std::atomic<bool>& refusing);
    // Logs a refused push (once per run of refusals); always false.
    bool Refused(QueueResult result, int length, const uint8_t* bytes, std::atomic<bool>& refusing);

    void Wake();
    // Waits until Wake or the deadline; true when woken.
    bool WaitForWake(Clock::time_point deadline);
    bool Stopping() const { return abort_.load() || !IsRunning(); }

    // Takes the oldest command and gives it its ticket number.
    QueueResult PopCommand(int& length, uint8_t* frame, uint8_t* flagFB, uint64_t& ticket);
    void FinishCommand(uint64_t ticket, CommandOutcome outcome, uint64_t answerFrame);
    // Ends the GUI's waits on commands that just ended.
    void WakeDoneWaits();

    CFrameQueue commands_;
    // Ticket bookkeeping of the command queue: pushed, popped, finished and cleared-away
    // counts. The mutex keeps each push or pop and its count together.
    mutable std::mutex ticketMutex_;
    uint64_t pushedTickets_ = 0;
    uint64_t poppedTickets_ = 0;
    uint64_t clearedTickets_ = 0;
    std::atomic<uint64_t> finishedTickets_{0};
    // How the latest commands ended, by ticket modulo the size.
    struct Ending {
        uint64_t ticket = 0;
        CommandOutcome outcome = CommandOutcome::Pending;
        uint64_t answerFrame = 0;  // its number in the main window's queue; 0: none
    };
    static constexpr size_t kEndings = 2048;
    mutable std::mutex endingMutex_;
    std::array<Ending, kEndings> endings_{};
    std::atomic<uint64_t> droppedCommands_{0};
    CAnswerWatch answerWatch_;  // worker thread only
    std::atomic<bool> radioSilent_{false};
    std::atomic<bool> frequencyUnanswered_{false};
    std::atomic<uint64_t> lineActivity_{0};
    CFrameQueue replies_;  // every frame from the radio, in arrival order; only the worker pops
    CFrameQueue gui_;
    // Frames queued for the main window and taken by it, so that an answer's number tells
    // whether it was taken. A clear counts as taking.
    std::atomic<uint64_t> guiPushed_{0};
    std::atomic<uint64_t> guiTaken_{0};
    uint64_t answerFrame_ = 0;  // worker thread: the number of the current command's answer

    std::atomic<int> portKind_{0};
    std::atomic<IWorkerNotify*> mainWindow_{nullptr};
    std::atomic<unsigned> framesMessage_{0};
    std::atomic<unsigned> idleMessage_{0};
    std::atomic<unsigned> answerMessage_{0};
    std::atomic<int> pollInterval_{kDefaultPollInterval};
    std::atomic<int> replyTimeout_{kDefaultReplyTimeout};
    std::atomic<int> radioAddress_{-1};
    std::atomic<CTraceLog*> log_{nullptr};
    std::atomic<ICivWriter*> driver_{nullptr};

    std::atomic<bool> waiting_{false};
    std::atomic<bool> abort_{false};
    std::atomic<bool> idle_{true};
    std::atomic<bool> framesPending_{false};
    std::atomic<bool> idlePending_{false};
    std::atomic<bool> commandsRefusing_{false};
    std::atomic<bool> repliesRefusing_{false};
    std::atomic<bool> guiRefusing_{false};

    std::mutex wakeMutex_;
    std::condition_variable wakeCv_;
    bool woken_ = false;

    mutable std::mutex doneMutex_;
    mutable std::condition_variable doneCv_;
};

}  // namespace cat
