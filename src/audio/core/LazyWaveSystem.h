// A sound system started on first use: the program starts its sound system only when audio is
// used, so a program with audio support off never probes the machine's sound drivers.
#pragma once

#include <functional>
#include <memory>

#include "WaveDevices.h"

namespace audio {

class LazyWaveSystem : public WaveSystem {
public:
    using Factory = std::function<std::unique_ptr<WaveSystem>()>;
    explicit LazyWaveSystem(Factory start) : start_(std::move(start)) {}

    std::string Problem() const override;
    std::vector<std::string> InputNames() const override;
    std::vector<std::string> OutputNames() const override;
    bool CanOpenInput(int id, const WaveFormat& format) const override;
    bool CanOpenOutput(int id, const WaveFormat& format) const override;
    std::unique_ptr<WaveInput> OpenInput(int id, const WaveFormat& format,
                                         DeviceTarget target) override;
    std::unique_ptr<WaveOutput> OpenOutput(int id, const WaveFormat& format,
                                           DeviceTarget target) override;

private:
    WaveSystem* System() const;

    mutable Factory start_;
    mutable std::unique_ptr<WaveSystem> system_;
};

}  // namespace audio
