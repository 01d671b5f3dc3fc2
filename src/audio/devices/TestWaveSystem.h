// An in-process sound system for tests and benchmarks: inputs that deliver a generated signal,
// outputs that keep everything they get. Unpaced (no clock) a buffer is done as soon as it is
// queued; with a TestClock the devices deliver and take only as much as the clock's time asks,
// at the format's rate, when the test advances it. Everything on the thread of the engine.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "WaveDevices.h"

namespace audio {

class TestClock {
public:
    std::uint64_t NowMs() const { return nowMs_; }
    // Moves the time on; every paced device produces or takes what the time asks for.
    void Advance(std::uint32_t ms);

private:
    friend class TestDeviceBase;
    std::uint64_t nowMs_ = 0;
    std::set<class TestDeviceBase*> devices_;
};

class TestDeviceBase {
public:
    virtual ~TestDeviceBase();
    virtual void Catch(std::uint64_t nowMs) = 0;

protected:
    explicit TestDeviceBase(TestClock* clock);
    TestClock* clock_;
};

class TestWaveSystem : public WaveSystem {
public:
    using Signal = std::function<std::int16_t(std::uint64_t frame, unsigned channel)>;
    using Accepts = std::function<bool(bool input, int id, const WaveFormat& format)>;

    struct Played {
        std::vector<WaveFormat> formats;   // one per opening
        std::vector<std::uint8_t> bytes;   // as written, in order
        std::vector<std::int16_t> frames;  // as decoded, interleaved
    };

    explicit TestWaveSystem(std::vector<std::string> inputs = {"Test input"},
                            std::vector<std::string> outputs = {"Test output"});

    void SetClock(TestClock* clock) { clock_ = clock; }
    // Default: a 1 kHz tone at the rate of the device opened (frames counted from opening).
    void SetSignal(Signal signal) { signal_ = std::move(signal); }
    // Default: every format we have a codec for.
    void SetAccepts(Accepts accepts) { accepts_ = std::move(accepts); }
    // What -1 stands for.
    void SetDefaultDevices(int input, int output);

    // By device id (-1 resolved); an empty record for an unknown one.
    const Played& Output(int id) const;
    void ClearOutputs();
    int InputOpenings() const { return inputOpenings_; }
    const WaveFormat& LastInputFormat() const { return lastInputFormat_; }

    std::vector<std::string> InputNames() const override { return inputs_; }
    std::vector<std::string> OutputNames() const override { return outputs_; }
    bool CanOpenInput(int id, const WaveFormat& format) const override;
    bool CanOpenOutput(int id, const WaveFormat& format) const override;
    std::unique_ptr<WaveInput> OpenInput(int id, const WaveFormat& format,
                                         DeviceTarget target) override;
    std::unique_ptr<WaveOutput> OpenOutput(int id, const WaveFormat& format,
                                           DeviceTarget target) override;

private:
    int Resolve(bool input, int id) const;
    bool Accept(bool input, int id, const WaveFormat& format) const;

    std::vector<std::string> inputs_;
    std::vector<std::string> outputs_;
    int defaultInput_ = 0;
    int defaultOutput_ = 0;
    TestClock* clock_ = nullptr;
    Signal signal_;
    Accepts accepts_;
    std::vector<Played> played_;
    int inputOpenings_ = 0;
    WaveFormat lastInputFormat_;
};

}  // namespace audio
