#include "GestCommand.h"

#include <algorithm>
#include <cstring>

#include "CivCodes.h"
#include "SettingFrames.h"
#include "TraceLog.h"
#include "WindowMessages.h"

namespace cat {

namespace {

// A reply time-out of no steps would never take an answer off the queue: the frame would be sent
// again and again as fast as the line takes it.
int AtLeastOneStep(int replyTimeout)
{
    return replyTimeout < 1 ? 1 : replyTimeout;
}

// Longest quiet wait of the loop; every event that needs the worker wakes it sooner.
constexpr auto kMaxIdleWait = std::chrono::milliseconds(1000);
constexpr auto kStep = std::chrono::milliseconds(1);
// Bytes reach us in bursts, not one per step: a serial adapter hands them over every 16 ms or
// so, and a busy sender later still. The line counts as busy this long after the last burst.
constexpr auto kLineBusyGap = std::chrono::milliseconds(50);

}  // namespace

int CGestCommand::MaxWrites(int replyTimeout)
{
    const int steps = AtLeastOneStep(replyTimeout);
    // Whole time-outs that fit the window, so that a drop comes within it when it can.
    return std::max(kMinWrites, kAnswerWindowMs / steps);
}

CGestCommand::CGestCommand() = default;

CGestCommand::~CGestCommand()
{
    Stop(true);
    ClearQueues();
}

void CGestCommand::Configure(int portKind, IWorkerNotify* mainWindow, int pollInterval,
                             int replyTimeout, int radioAddress, CTraceLog* log, ICivWriter* driver)
{
    portKind_.store(portKind);
    mainWindow_.store(mainWindow);
    pollInterval_.store(pollInterval);
    replyTimeout_.store(AtLeastOneStep(replyTimeout));
    radioAddress_.store(radioAddress);
    log_.store(log);
    driver_.store(driver);
    SetMessages(msg::kFramesAvailable, msg::kIdleTick, msg::kAnswerState);
}

void CGestCommand::SetTimes(int pollInterval, int replyTimeout)
{
    pollInterval_.store(pollInterval);
    replyTimeout_.store(AtLeastOneStep(replyTimeout));
    Wake();
}

void CGestCommand::SetMessages(unsigned framesMessage, unsigned idleMessage, unsigned answerMessage)
{
    framesMessage_.store(framesMessage);
    idleMessage_.store(idleMessage);
    answerMessage_.store(answerMessage);
}

bool CGestCommand::Start(ICivWriter* serial)
{
    if (IsStarted())
        return false;
    // Cleared here rather than on the new thread, so that a command queued right after Start
    // is not wiped out by a late clear.
    ClearQueues();
    abort_.store(false);
    waiting_.store(false);
    idle_.store(true);
    framesPending_.store(false);
    idlePending_.store(false);
    // A new link starts without a verdict on the radio.
    answerWatch_.Reset();
    const bool silent = radioSilent_.exchange(false);
    if (frequencyUnanswered_.exchange(false) || silent)
        NotifyAnswerState();
    return CThread::Start(serial);
}

void CGestCommand::Stop(bool wait)
{
    abort_.store(true);
    Wake();
    CThread::Stop(wait);
}

void CGestCommand::ClearQueues()
{
    {
        std::lock_guard<std::mutex> lock(ticketMutex_);
        commands_.Clear();
        // Cleared commands will never be answered: their waits end now.
        poppedTickets_ = pushedTickets_;
        clearedTickets_ = pushedTickets_;
    }
    WakeDoneWaits();
    replies_.Clear();
    gui_.Clear();
    guiTaken_.store(guiPushed_.load());
}

bool CGestCommand::EnqueueCommand(int length, uint8_t flagFB, const uint8_t* bytes)
{
    return EnqueueCommand(length, flagFB, bytes, nullptr);
}

bool CGestCommand::EnqueueCommand(int length, uint8_t flagFB, const uint8_t* bytes,
                                  uint64_t* ticket)
{
    if (ticket != nullptr)
        *ticket = 0;
    {
        std::lock_guard<std::mutex> lock(ticketMutex_);
        const QueueResult result =
            commands_.PushOrReplaceLastRetrying(length, flagFB ? 1 : 0, bytes, &SetsSameSetting);
        if (result == QueueResult::Ok)
            ++pushedTickets_;
        else if (result != QueueResult::Replaced)
            return Refused(result, length, bytes, commandsRefusing_);
        commandsRefusing_.store(false);
        // The newest waiting entry always holds the newest ticket, replaced or not.
        if (ticket != nullptr)
            *ticket = pushedTickets_;
    }
    Wake();
    return true;
}

bool CGestCommand::IsCommandDone(uint64_t ticket) const
{
    if (finishedTickets_.load() >= ticket)
        return true;
    std::lock_guard<std::mutex> lock(ticketMutex_);
    return ticket <= clearedTickets_;
}

CommandOutcome CGestCommand::GetCommandOutcome(uint64_t ticket) const
{
    if (ticket == 0 || !IsCommandDone(ticket))
        return CommandOutcome::Pending;
    {
        std::lock_guard<std::mutex> lock(endingMutex_);
        const Ending& e = endings_[ticket % kEndings];
        if (e.ticket == ticket)
            return e.outcome;
    }
    std::lock_guard<std::mutex> lock(ticketMutex_);
    return ticket <= clearedTickets_ ? CommandOutcome::NotSent : CommandOutcome::Answered;
}

bool CGestCommand::IsAnswerTaken(uint64_t ticket) const
{
    if (ticket == 0 || !IsCommandDone(ticket))
        return false;
    uint64_t frame = 0;
    {
        std::lock_guard<std::mutex> lock(endingMutex_);
        const Ending& e = endings_[ticket % kEndings];
        if (e.ticket == ticket)
            frame = e.answerFrame;
    }
    return frame == 0 || guiTaken_.load() >= frame;
}

QueueResult CGestCommand::PopCommand(int& length, uint8_t* frame, uint8_t* flagFB, uint64_t& ticket)
{
    std::lock_guard<std::mutex> lock(ticketMutex_);
    const QueueResult result = commands_.PopRetrying(length, frame, flagFB);
    if (result == QueueResult::Ok)
        ticket = ++poppedTickets_;
    return result;
}

void CGestCommand::FinishCommand(uint64_t ticket, CommandOutcome outcome, uint64_t answerFrame)
{
    {
        std::lock_guard<std::mutex> lock(endingMutex_);
        endings_[ticket % kEndings] = Ending{ticket, outcome, answerFrame};
    }
    uint64_t done = finishedTickets_.load();
    while (done < ticket && !finishedTickets_.compare_exchange_weak(done, ticket)) {
    }
    WakeDoneWaits();
}

void CGestCommand::WakeDoneWaits()
{
    // Taken and released so a wait between its check and its sleep cannot miss the wake.
    {
        std::lock_guard<std::mutex> lock(doneMutex_);
    }
    doneCv_.notify_all();
}

bool CGestCommand::WaitCommandDone(uint64_t ticket, std::chrono::milliseconds most) const
{
    std::unique_lock<std::mutex> lock(doneMutex_);
    return doneCv_.wait_for(lock, most, [&] { return IsCommandDone(ticket); });
}

bool CGestCommand::PushReceivedFrame(int length, const uint8_t* bytes)
{
    if (bytes == nullptr || length <= kPosSource || length > kMaxFrameSize)
        return true;
    if (bytes[kPosSource] != radioAddress_.load())
        return true;
    // Every frame goes through the one reply queue, whose only reader is the worker: frames
    // reach the main window in arrival order whether or not a command is waiting.
    if (!PushReporting(replies_, length, 0, bytes, repliesRefusing_))
        return false;
    Wake();
    return true;
}

bool CGestCommand::PopFrameForGui(int& size, uint8_t* buffer)
{
    if (gui_.PopRetrying(size, buffer) != QueueResult::Ok)
        return false;
    guiTaken_.fetch_add(1);
    if (gui_.GetCount() == 0)
        Wake();  // the worker may report idle now
    return true;
}

void CGestCommand::AcknowledgeFramesAvailable()
{
    framesPending_.store(false);
    Wake();  // frames left behind by a partial drain are announced again
}

void CGestCommand::AcknowledgeIdleTick()
{
    idlePending_.store(false);
}

bool CGestCommand::IsIdle() const
{
    // The count is read before the flag: the worker clears the flag before it takes a command,
    // so a command is never seen neither queued nor being handled.
    if (commands_.GetCount() != 0)
        return false;
    return idle_.load() && gui_.GetCount() == 0;
}

bool CGestCommand::PushReporting(CFrameQueue& queue, int length, uint8_t tag, const uint8_t* bytes,
                                 std::atomic<bool>& refusing)
{
    const QueueResult result = queue.PushRetrying(length, tag, bytes);
    if (result == QueueResult::Ok) {
        refusing.store(false);
        return true;
    }
    return Refused(result, length, bytes, refusing);
}

bool CGestCommand::Refused(QueueResult result, int length, const uint8_t* bytes,
                           std::atomic<bool>& refusing)
{
    // One line per run of refusals: a full queue under a chatty radio must not flood the log.
    if (result == QueueResult::Full && !refusing.exchange(true)) {
        if (CTraceLog* log = log_.load())
            log->WriteBytes("Queue full, frame refused:", bytes,
                            static_cast<size_t>(std::clamp(length, 0, kMaxFrameSize)), "\r\n");
    }
    return false;
}

void CGestCommand::Wake()
{
    {
        std::lock_guard<std::mutex> lock(wakeMutex_);
        woken_ = true;
    }
    wakeCv_.notify_one();
}

bool CGestCommand::WaitForWake(Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(wakeMutex_);
    const bool woken = wakeCv_.wait_until(lock, deadline, [this] { return woken_; });
    woken_ = false;
    return woken;
}

void CGestCommand::Run(void* parameter)
{
    ICivWriter* transport = driver_.load();
    if (transport == nullptr)
        transport = static_cast<ICivWriter*>(parameter);
    ProcessingLoop(transport);
}

void CGestCommand::ProcessingLoop(ICivWriter* transport)
{
    Clock::time_point lastTick = Clock::now();
    while (!Stopping()) {
        // Command step: one frame at a time, written until it is answered.
        if (!waiting_.load() && commands_.GetCount() > 0) {
            idle_.store(false);
            uint8_t frame[kMaxFrameSize] = {};
            int length = kMaxFrameSize;
            uint8_t flagFB = 0;
            uint64_t ticket = 0;
            if (PopCommand(length, frame, &flagFB, ticket) == QueueResult::Ok) {
                // With no link the frame is dropped; empty entries and noise are dropped too.
                CommandOutcome outcome = CommandOutcome::NotSent;
                answerFrame_ = 0;
                if (transport != nullptr && length != 0
                    && IsCivFrame(frame, static_cast<size_t>(length)))
                    outcome = SendUntilAnswered(transport, frame, length, flagFB);
                FinishCommand(ticket, outcome,
                              outcome == CommandOutcome::Answered ? answerFrame_ : 0);
                if (transport == nullptr)
                    continue;
            }
        }

        MoveRepliesToGui();
        if (gui_.GetCount() > 0) {
            idle_.store(false);
            NotifyFramesAvailable();
        }

        const bool commandsEmpty = commands_.GetCount() == 0;
        Clock::time_point now = Clock::now();
        const auto poll = std::chrono::milliseconds(std::max(0, pollInterval_.load()));
        if (commandsEmpty && !waiting_.load() && now - lastTick > poll) {
            NotifyIdleTick();
            lastTick = now;
        }

        idle_.store(commandsEmpty && !waiting_.load() && gui_.GetCount() == 0
                    && replies_.GetCount() == 0);

        if (!commandsEmpty || replies_.GetCount() > 0)
            continue;  // more work already waits
        // Quiet: sleep until the next idle tick is due, or until new work wakes the worker.
        const Clock::time_point tickDue = lastTick + poll + kStep;
        WaitForWake(std::min(tickDue, now + kMaxIdleWait));
    }
}

CommandOutcome CGestCommand::SendUntilAnswered(ICivWriter* transport, const uint8_t* frame,
                                               int length, uint8_t flagFB)
{
    waiting_.store(true);
    CommandOutcome outcome = CommandOutcome::NotSent;
    const int maxWrites = MaxWrites(replyTimeout_.load());
    for (int writes = 0; !Stopping(); ++writes) {
        if (writes == maxWrites) {
            outcome = CommandOutcome::NoAnswer;
            droppedCommands_.fetch_add(1);
            if (CTraceLog* log = log_.load())
                log->WriteBytes("No answer, command dropped:", frame, static_cast<size_t>(length),
                                "\r\n");
            break;
        }
        Write(transport, frame, length);
        outcome = WaitForReply(frame, length, flagFB);
        if (outcome != CommandOutcome::Pending)
            break;
    }
    if (outcome == CommandOutcome::Pending)
        outcome = CommandOutcome::NotSent;  // stopped: the worker gave up, not the radio
    if (outcome != CommandOutcome::NotSent)
        NoteAnswer(frame, length, outcome != CommandOutcome::NoAnswer);
    waiting_.store(false);
    return outcome;
}

bool CGestCommand::Write(ICivWriter* transport, const uint8_t* frame, int length)
{
    if (!transport->MayHang())
        return transport->WriteFrame(frame, length);
    // A driver that never returns leaves this thread behind when the worker is stopped.
    return CallOutside([transport, frame, length] { return transport->WriteFrame(frame, length); });
}

void CGestCommand::NoteAnswer(const uint8_t* frame, int length, bool answered)
{
    const int key = CAnswerWatch::KeyOf(frame, length);
    const auto now = CAnswerWatch::Clock::now();
    bool changed = false;
    if (answered) {
        // A command dropped and never sent again stops counting after a few polling rounds
        // of other answers.
        const int timeout = AtLeastOneStep(replyTimeout_.load());
        const int poll = std::max(0, pollInterval_.load());
        const auto forget = std::chrono::milliseconds(2 * MaxWrites(timeout) * timeout + 6 * poll);
        changed = answerWatch_.OnAnswered(key, now, forget);
    } else {
        changed = answerWatch_.OnDropped(key, now);
    }
    // The frequency's read and set: polling reads it only when nothing else waits, and a
    // client that keeps setting it keeps the worker busy.
    const uint8_t command = length > kPosCommand ? frame[kPosCommand] : 0;
    if (command == civ::kCmdReadFrequency || command == civ::kCmdSetFrequency)
        changed = (frequencyUnanswered_.exchange(!answered) != !answered) || changed;
    if (changed) {
        radioSilent_.store(answerWatch_.IsSilent());
        NotifyAnswerState();
    }
}

void CGestCommand::NotifyAnswerState()
{
    const unsigned message = answerMessage_.load();
    IWorkerNotify* target = mainWindow_.load();
    if (message != 0 && target != nullptr)
        target->PostWorkerMessage(message);
}

void CGestCommand::WaitReplyStep()
{
    // One step of the reply time-out: ends early only when a reply arrives or the worker stops.
    const Clock::time_point deadline = Clock::now() + kStep;
    while (replies_.GetCount() == 0 && !Stopping()) {
        if (!WaitForWake(deadline))
            return;
    }
}

CommandOutcome CGestCommand::WaitForReply(const uint8_t* sent, int length, uint8_t flagFB)
{
    CTraceLog* log = log_.load();
    if (log != nullptr)
        log->WriteFrame("TX:", sent, static_cast<size_t>(length), flagFB);

    // The sent frame lies in a zeroed 256-byte buffer (the caller's), so comparisons past its end
    // see zeros, as do those past the end of a shorter reply.
    int steps = replyTimeout_.load();
    int busySteps = 0;
    uint64_t activity = lineActivity_.load(std::memory_order_relaxed);
    Clock::time_point lastBytes = Clock::now() - kLineBusyGap;  // quiet so far
    while (IsRunning()) {
        if (steps <= 0)
            return CommandOutcome::Pending;
        if (abort_.load())
            break;
        if (replies_.GetCount() == 0) {
            const uint64_t seen = lineActivity_.load(std::memory_order_relaxed);
            const Clock::time_point now = Clock::now();
            if (seen != activity)
                lastBytes = now;
            activity = seen;
            if (now - lastBytes < kLineBusyGap && busySteps < kAnswerWindowMs)
                ++busySteps;  // bytes are coming in: an answer may be on its way
            else
                --steps;
            WaitReplyStep();
            continue;
        }
        uint8_t reply[kMaxFrameSize] = {};
        int size = kMaxFrameSize;
        if (replies_.PopRetrying(size, reply) != QueueResult::Ok)
            continue;  // emptied by a clear meanwhile
        if (size < 5)
            continue;
        const size_t tail = static_cast<size_t>(size - kPosCommand);
        if (std::memcmp(reply + kPosCommand, sent + kPosCommand, tail) == 0
            || !IsCivFrame(reply, static_cast<size_t>(size))) {
            // The bus echo of our own frame, or noise.
            --steps;
            WaitReplyStep();
            continue;
        }
        const uint8_t command = reply[kPosCommand];
        if (command == kReplyNg || (command == kReplyOk && flagFB)) {
            if (log != nullptr)
                log->WriteFrame("RX:", reply, static_cast<size_t>(size), flagFB);
            return command == kReplyNg ? CommandOutcome::Refused : CommandOutcome::Answered;
        }
        const bool queued = PushToGui(reply, size);
        // The answer repeats the command, sub-command and data bytes of what was sent.
        const int compared = length - 1 - kPosCommand;
        if (compared <= 0
            || std::memcmp(reply + kPosCommand, sent + kPosCommand, static_cast<size_t>(compared))
                   == 0) {
            answerFrame_ = queued ? guiPushed_.load() : 0;
            return CommandOutcome::Answered;
        }
        --steps;
        WaitReplyStep();
    }
    return CommandOutcome::Pending;  // stopped
}

void CGestCommand::MoveRepliesToGui()
{
    while (replies_.GetCount() > 0) {
        uint8_t frame[kMaxFrameSize];
        int size = kMaxFrameSize;
        uint8_t tag = 0;
        if (replies_.PopRetrying(size, frame, &tag) != QueueResult::Ok)
            return;
        PushToGui(frame, size);
    }
}

bool CGestCommand::PushToGui(const uint8_t* bytes, int length)
{
    const bool queued = PushReporting(gui_, length, 0, bytes, guiRefusing_);
    if (queued)
        guiPushed_.fetch_add(1);
    NotifyFramesAvailable();
    return queued;
}

void CGestCommand::NotifyFramesAvailable()
{
    const unsigned message = framesMessage_.load();
    IWorkerNotify* target = mainWindow_.load();
    if (message == 0 || target == nullptr)
        return;
    if (!framesPending_.exchange(true))
        target->PostWorkerMessage(message);
}

void CGestCommand::NotifyIdleTick()
{
    const unsigned message = idleMessage_.load();
    IWorkerNotify* target = mainWindow_.load();
    if (message == 0 || target == nullptr)
        return;
    if (!idlePending_.exchange(true))
        target->PostWorkerMessage(message);
}

}  // namespace cat
