// A sound device chosen by the name stored in the settings; -1 is the system's default device,
// shown as kDefaultDeviceName.
#pragma once

#include <string>

#include "WaveDevices.h"

class Profile;

namespace audio {

inline constexpr const char* kDefaultDeviceName = "  Default";

class CWaveDevice {
public:
    explicit CWaveDevice(const WaveSystem& system) : system_(&system) {}
    virtual ~CWaveDevice() = default;

    int DeviceId = -1;

    // The default name gives -1; else the first device of that exact name, or -1 when none.
    int SetDeviceByName(bool input, const std::string& name);
    // "AudioInput" / "AudioOutput" of the registry profile.
    int GetDeviceIdFromSettings(bool input, const Profile& settings);
    bool CanOpenInput(const WaveFormat& format) const;
    bool CanOpenOutput(const WaveFormat& format) const;
    // The device's name; empty for an index outside the list.
    std::string GetInputDeviceName(int index) const;
    std::string GetOutputDeviceName(int index) const;

private:
    const WaveSystem* system_;
};

}  // namespace audio
