#include "TestWaveSystem.h"

#include <cmath>

#include "DeviceQueues.h"
#include "SampleCodec.h"
#include "WindowMessages.h"

namespace audio {

void TestClock::Advance(std::uint32_t ms)
{
    nowMs_ += ms;
    // A device may close itself while the others catch up.
    const std::set<TestDeviceBase*> devices = devices_;
    for (TestDeviceBase* d : devices)
        if (devices_.count(d))
            d->Catch(nowMs_);
}

TestDeviceBase::TestDeviceBase(TestClock* clock) : clock_(clock)
{
    if (clock_)
        clock_->devices_.insert(this);
}

TestDeviceBase::~TestDeviceBase()
{
    if (clock_)
        clock_->devices_.erase(this);
}

namespace {

// Frames a device at `rate` owes for the time since `sinceMs`.
std::uint64_t FramesDue(std::uint64_t nowMs, std::uint64_t sinceMs, std::uint32_t rate)
{
    return (nowMs - sinceMs) * rate / 1000;
}

class TestInput : public WaveInput, public TestDeviceBase {
public:
    TestInput(const WaveFormat& format, DeviceTarget target, TestClock* clock,
              TestWaveSystem::Signal signal)
        : TestDeviceBase(clock),
          format_(format),
          queue_(SampleCodec::For(format), std::move(target)),
          signal_(std::move(signal))
    {
    }
    int AddBuffer(WaveHeader& header) override
    {
        queue_.Add(header);
        if (started_ && !clock_)
            Produce(queue_.FramesWanted());
        return 0;
    }
    int Start() override
    {
        started_ = true;
        if (clock_) {
            startedMs_ = clock_->NowMs();
            producedSinceStart_ = 0;
        } else {
            while (queue_.HasBuffer())
                Produce(queue_.FramesWanted());
        }
        return 0;
    }
    int Reset() override
    {
        if (clock_ && started_)
            Catch(clock_->NowMs());
        started_ = false;
        queue_.ReturnAll();
        return 0;
    }
    std::int64_t FramesDone() const override { return queue_.FramesDone(); }
    void Catch(std::uint64_t nowMs) override
    {
        if (!started_)
            return;
        const std::uint64_t due = FramesDue(nowMs, startedMs_, format_.samplesPerSec);
        if (due > producedSinceStart_)
            Produce(static_cast<std::size_t>(due - producedSinceStart_));
    }

private:
    void Produce(std::size_t frames)
    {
        if (frames == 0)
            return;
        std::vector<std::int16_t> samples(frames * format_.channels);
        for (std::size_t i = 0; i < frames; ++i)
            for (unsigned c = 0; c < format_.channels; ++c)
                samples[i * format_.channels + c] = signal_(frame_ + i, c);
        frame_ += frames;
        producedSinceStart_ += frames;
        queue_.Feed(samples.data(), frames);
    }

    WaveFormat format_;
    CaptureQueue queue_;
    TestWaveSystem::Signal signal_;
    bool started_ = false;
    std::uint64_t startedMs_ = 0;
    std::uint64_t producedSinceStart_ = 0;
    std::uint64_t frame_ = 0;
};

class TestOutput : public WaveOutput, public TestDeviceBase {
public:
    TestOutput(const WaveFormat& format, DeviceTarget target, TestClock* clock,
               TestWaveSystem::Played& played)
        : TestDeviceBase(clock),
          format_(format),
          target_(target),
          queue_(SampleCodec::For(format), target),
          played_(played)
    {
        sinceMs_ = clock_ ? clock_->NowMs() : 0;
    }
    ~TestOutput() override
    {
        queue_.ReturnAll();
        target_.window.Post(msg::kWomClose, target_.session, 0);
    }
    int Write(WaveHeader& header) override
    {
        played_.bytes.insert(played_.bytes.end(), header.data, header.data + header.bufferLength);
        queue_.Add(header);
        if (!clock_ && !paused_)
            Take(queue_.FramesQueued());
        return 0;
    }
    int Pause() override
    {
        if (clock_)
            Catch(clock_->NowMs());
        paused_ = true;
        return 0;
    }
    int Restart() override
    {
        paused_ = false;
        if (clock_) {
            sinceMs_ = clock_->NowMs();
            takenSince_ = 0;
        } else {
            Take(queue_.FramesQueued());
        }
        return 0;
    }
    int Reset() override
    {
        queue_.ReturnAll();
        return 0;
    }
    std::int64_t FramesDone() const override { return queue_.FramesDone(); }
    void Catch(std::uint64_t nowMs) override
    {
        if (paused_)
            return;
        const std::uint64_t due = FramesDue(nowMs, sinceMs_, format_.samplesPerSec);
        if (due > takenSince_)
            Take(static_cast<std::size_t>(due - takenSince_));
    }

private:
    void Take(std::size_t frames)
    {
        // Time passes whether or not there is something to play.
        takenSince_ += frames;
        if (frames == 0)
            return;
        std::vector<std::int16_t> out(frames * format_.channels);
        const std::size_t got = queue_.Take(out.data(), frames);
        played_.frames.insert(played_.frames.end(), out.begin(),
                              out.begin() + static_cast<std::ptrdiff_t>(got * format_.channels));
    }

    WaveFormat format_;
    DeviceTarget target_;
    PlaybackQueue queue_;
    TestWaveSystem::Played& played_;
    bool paused_ = false;
    std::uint64_t sinceMs_ = 0;
    std::uint64_t takenSince_ = 0;
};

const TestWaveSystem::Played kNothingPlayed;

}  // namespace

TestWaveSystem::TestWaveSystem(std::vector<std::string> inputs, std::vector<std::string> outputs)
    : inputs_(std::move(inputs)), outputs_(std::move(outputs)), played_(outputs_.size())
{
}

void TestWaveSystem::SetDefaultDevices(int input, int output)
{
    defaultInput_ = input;
    defaultOutput_ = output;
}

int TestWaveSystem::Resolve(bool input, int id) const
{
    const int count = static_cast<int>(input ? inputs_.size() : outputs_.size());
    if (id == -1)
        id = input ? defaultInput_ : defaultOutput_;
    return id >= 0 && id < count ? id : -2;
}

bool TestWaveSystem::Accept(bool input, int id, const WaveFormat& format) const
{
    const int device = Resolve(input, id);
    if (device < 0 || !SampleCodec::For(format))
        return false;
    return !accepts_ || accepts_(input, device, format);
}

bool TestWaveSystem::CanOpenInput(int id, const WaveFormat& format) const
{
    return Accept(true, id, format);
}

bool TestWaveSystem::CanOpenOutput(int id, const WaveFormat& format) const
{
    return Accept(false, id, format);
}

std::unique_ptr<WaveInput> TestWaveSystem::OpenInput(int id, const WaveFormat& format,
                                                     DeviceTarget target)
{
    if (!Accept(true, id, format))
        return nullptr;
    ++inputOpenings_;
    lastInputFormat_ = format;
    Signal signal = signal_;
    if (!signal) {
        const double rate = format.samplesPerSec;
        signal = [rate](std::uint64_t frame, unsigned) {
            return static_cast<std::int16_t>(16000.0
                                             * std::sin(2.0 * M_PI * 1000.0 * frame / rate));
        };
    }
    return std::make_unique<TestInput>(format, std::move(target), clock_, std::move(signal));
}

std::unique_ptr<WaveOutput> TestWaveSystem::OpenOutput(int id, const WaveFormat& format,
                                                       DeviceTarget target)
{
    if (!Accept(false, id, format))
        return nullptr;
    Played& played = played_[static_cast<std::size_t>(Resolve(false, id))];
    played.formats.push_back(format);
    return std::make_unique<TestOutput>(format, std::move(target), clock_, played);
}

const TestWaveSystem::Played& TestWaveSystem::Output(int id) const
{
    const int device = Resolve(false, id);
    return device < 0 ? kNothingPlayed : played_[static_cast<std::size_t>(device)];
}

void TestWaveSystem::ClearOutputs()
{
    for (Played& p : played_)
        p = Played{};
}

}  // namespace audio
