// Sound devices through PortAudio, in PortAudio's device order (inputs are the devices with
// input channels, outputs those with output channels); -1 is PortAudio's default device.
// Devices run 16-bit samples; the format's coding is done on the way (DeviceQueues.h).
// Buffers are posted from PortAudio's callback thread; the window receives them in order.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "WaveDevices.h"

namespace audio {

class PortAudioSystem : public WaveSystem {
public:
    PortAudioSystem();
    ~PortAudioSystem() override;
    PortAudioSystem(const PortAudioSystem&) = delete;
    PortAudioSystem& operator=(const PortAudioSystem&) = delete;

    // False (with the reason) when PortAudio could not start; the system then has no devices.
    bool Ready() const { return ready_; }
    std::string Problem() const override { return problem_; }

    std::vector<std::string> InputNames() const override;
    std::vector<std::string> OutputNames() const override;
    bool CanOpenInput(int id, const WaveFormat& format) const override;
    bool CanOpenOutput(int id, const WaveFormat& format) const override;
    std::unique_ptr<WaveInput> OpenInput(int id, const WaveFormat& format,
                                         DeviceTarget target) override;
    std::unique_ptr<WaveOutput> OpenOutput(int id, const WaveFormat& format,
                                           DeviceTarget target) override;

private:
    struct Device {
        int paIndex;
        std::string name;
    };
    // The PortAudio index for an id, -1 when there is none.
    int PaIndex(bool input, int id) const;
    bool Supported(bool input, int id, const WaveFormat& format) const;

    bool ready_ = false;
    std::string problem_;
    std::vector<Device> inputs_;
    std::vector<Device> outputs_;
};

}  // namespace audio
