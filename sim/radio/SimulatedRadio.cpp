// The threads around RadioCore: Write() may come from any thread; everything the radio sends
// leaves from its own thread, in the order it is due.
#include "SimulatedRadio.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "FaultPlan.h"
#include "FrameParser.h"
#include "OutputQueue.h"
#include "RadioCore.h"

namespace sim {

namespace {
constexpr int kMaxLatencyMs = 600000;
constexpr int kMaxBaud = 10000000;

uint8_t ChosenAddress(const SimConfig& config)
{
    if (config.address >= 0 && config.address <= 0xFF)
        return static_cast<uint8_t>(config.address);
    return DefaultAddress(config.model);
}
}  // namespace

struct SimulatedRadio::Impl {
    explicit Impl(const SimConfig& config)
        : core(ModelInfoFor(config.model), ChosenAddress(config), config.frequencyHz, config.mode),
          echo(config.echo),
          latencyMs(std::clamp(config.latencyMs, 0, kMaxLatencyMs)),
          scanStep(std::chrono::milliseconds(std::max(config.scanStepMs, 1)))
    {
        pacing.pacing = config.pacing;
        pacing.baud = std::clamp(config.baud, 1, kMaxBaud);
        thread = std::thread([this] { Run(); });
    }

    ~Impl()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stop = true;
        }
        changed.notify_all();
        thread.join();
    }

    void Run();
    void OnFrame(const Bytes& frame);
    void ScheduleUnasked(const FrameList& frames);
    void AfterChange(bool wasScanning);
    bool SleepUntil(Clock::time_point when);
    void Deliver(const uint8_t* bytes, size_t length);

    // A front-panel action: its transceive frames go out at once.
    template <class Action>
    void Panel(Action action)
    {
        std::lock_guard<std::mutex> lock(mutex);
        const bool wasScanning = core.Scanning();
        ScheduleUnasked(action(core));
        AfterChange(wasScanning);
    }

    mutable std::mutex mutex;
    mutable std::condition_variable changed;  // state, queue or stop changed
    RadioCore core;
    FrameParser parser;
    FaultPlan faults;
    OutputQueue queue;
    std::vector<RecordedFrame> frames;
    bool echo;
    int latencyMs;
    PacingParams pacing;
    Clock::duration scanStep;
    Clock::time_point nextScan{};
    bool linkUp = true;
    bool busy = false;
    bool stop = false;

    std::mutex outputMutex;  // held while the output callback runs
    Output output;

    std::thread thread;
};

void SimulatedRadio::Impl::Deliver(const uint8_t* bytes, size_t length)
{
    std::lock_guard<std::mutex> lock(outputMutex);
    if (output)
        output(bytes, length);
}

bool SimulatedRadio::Impl::SleepUntil(Clock::time_point when)
{
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait_until(lock, when, [&] { return stop || Clock::now() >= when; });
    return !stop;
}

void SimulatedRadio::Impl::Run()
{
    std::unique_lock<std::mutex> lock(mutex);
    while (!stop) {
        const auto now = Clock::now();
        if (core.Scanning() && now >= nextScan) {
            nextScan = now + scanStep;
            ScheduleUnasked(core.ScanStep());
            changed.notify_all();
            continue;
        }
        if (!queue.Empty() && queue.NextDue() <= now) {
            OutputItem item = queue.PopFront();
            if (!item.record.empty())
                frames.push_back(RecordedFrame{true, item.record});
            busy = true;
            const PacingParams paced = pacing;
            lock.unlock();
            Transmit(
                item, paced, [this](const uint8_t* b, size_t n) { Deliver(b, n); },
                [this](Clock::time_point t) { return SleepUntil(t); });
            lock.lock();
            busy = false;
            changed.notify_all();
            continue;
        }
        auto wake = Clock::time_point::max();
        if (!queue.Empty())
            wake = queue.NextDue();
        if (core.Scanning())
            wake = std::min(wake, nextScan);
        if (wake == Clock::time_point::max())
            changed.wait(lock);
        else
            changed.wait_until(lock, wake);
    }
}

void SimulatedRadio::Impl::ScheduleUnasked(const FrameList& unasked)
{
    if (!linkUp)
        return;
    const auto now = Clock::now();
    for (const Bytes& frame : unasked)
        queue.Push(now, OutputItem{frame, frame, 0, 0});
}

void SimulatedRadio::Impl::AfterChange(bool wasScanning)
{
    if (core.Scanning() && !wasScanning)
        nextScan = Clock::now() + scanStep;
    changed.notify_all();
}

void SimulatedRadio::Impl::OnFrame(const Bytes& frame)
{
    frames.push_back(RecordedFrame{false, frame});
    if (frame[2] != core.Address())
        return;
    if (faults.TakeSilenced(frame) || faults.TakeNoAnswer())
        return;
    const bool wasScanning = core.Scanning();
    const Bytes answer = faults.TakeNg() ? core.NgAnswer(frame[3]) : core.HandleCommand(frame);
    AfterChange(wasScanning);
    const auto due = Clock::now() + std::chrono::milliseconds(latencyMs);
    for (PlannedOutput& planned : faults.Plan(answer, core.Address()))
        queue.Push(due + std::chrono::milliseconds(planned.extraDelayMs), std::move(planned.item));
}

SimulatedRadio::SimulatedRadio(const SimConfig& config) : impl_(std::make_unique<Impl>(config)) {}

SimulatedRadio::~SimulatedRadio() = default;

void SimulatedRadio::SetOutput(Output output)
{
    std::lock_guard<std::mutex> lock(impl_->outputMutex);
    impl_->output = std::move(output);
}

void SimulatedRadio::Write(const uint8_t* bytes, size_t length)
{
    if (!bytes || length == 0)
        return;
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (!impl_->linkUp)
        return;
    if (impl_->echo)
        impl_->queue.Push(Clock::now(), OutputItem{Bytes(bytes, bytes + length), {}, 0, 0});
    impl_->parser.Feed(bytes, length, [this](const Bytes& frame) { impl_->OnFrame(frame); });
    impl_->changed.notify_all();
}

std::vector<RecordedFrame> SimulatedRadio::Frames() const
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->frames;
}

void SimulatedRadio::ClearFrames()
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->frames.clear();
}

bool SimulatedRadio::WaitQuiet(int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(impl_->mutex);
    return impl_->changed.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                                   [&] { return impl_->queue.Empty() && !impl_->busy; });
}

bool SimulatedRadio::WaitForState(const std::function<bool(const RadioState&)>& predicate,
                                  int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(impl_->mutex);
    return impl_->changed.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                                   [&] { return predicate(impl_->core.State()); });
}

RadioModel SimulatedRadio::Model() const
{
    return impl_->core.Model().model;
}

uint8_t SimulatedRadio::Address() const
{
    return impl_->core.Address();
}

RadioState SimulatedRadio::State() const
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    RadioState s = impl_->core.State();
    s.linkUp = impl_->linkUp;
    return s;
}

MemoryChannel SimulatedRadio::Channel(int number) const
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->core.Channel(number);
}

bool SimulatedRadio::SetChannel(int number, const MemoryChannel& channel)
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    const bool ok = impl_->core.SetChannel(number, channel);
    impl_->changed.notify_all();
    return ok;
}

void SimulatedRadio::SetEcho(bool on)
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->echo = on;
}

void SimulatedRadio::SetPacing(bool on, int baud)
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->pacing.pacing = on;
    impl_->pacing.baud = std::clamp(baud, 1, kMaxBaud);
}

void SimulatedRadio::SetLatency(int ms)
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->latencyMs = std::clamp(ms, 0, kMaxLatencyMs);
}

void SimulatedRadio::SetTransceive(bool on)
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->core.SetTransceive(on);
    impl_->changed.notify_all();
}

void SimulatedRadio::TurnKnob(int steps)
{
    impl_->Panel([&](RadioCore& core) { return core.TurnKnob(steps); });
}
void SimulatedRadio::SetFrequencyByHand(uint64_t hz)
{
    impl_->Panel([&](RadioCore& core) { return core.SetFrequencyByHand(hz); });
}
void SimulatedRadio::SetModeByHand(int mode, int filter)
{
    impl_->Panel([&](RadioCore& core) { return core.SetModeByHand(mode, filter); });
}
void SimulatedRadio::SelectVfoByHand(int vfo)
{
    impl_->Panel([&](RadioCore& core) { return core.SelectVfoByHand(vfo); });
}
void SimulatedRadio::Key(bool on)
{
    impl_->Panel([&](RadioCore& core) { return core.Key(on); });
}
void SimulatedRadio::StepScan()
{
    impl_->Panel([&](RadioCore& core) { return core.ScanStep(); });
}

void SimulatedRadio::SetSignals(const std::vector<SignalRange>& signals)
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->core.SetSignals(signals);
    impl_->changed.notify_all();
}

void SimulatedRadio::SetSquelchLevel(int reading)
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->core.SetSquelchLevel(reading);
    impl_->changed.notify_all();
}

void SimulatedRadio::SetLinkUp(bool up)
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->linkUp = up;
    if (!up) {
        // A pulled cable: what was on its way is lost, and so is a half-heard frame.
        impl_->queue.Clear();
        impl_->parser.Reset();
    }
    impl_->changed.notify_all();
}

bool SimulatedRadio::LinkUp() const
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->linkUp;
}

void SimulatedRadio::InjectFault(const Fault& fault)
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->faults.Add(fault);
}

void SimulatedRadio::ClearFaults()
{
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->faults.Clear();
}

}  // namespace sim
