#include "CWaveDevice.h"

#include "Profile.h"
#include "SettingsKeys.h"

namespace audio {

namespace {

std::string NameAt(const std::vector<std::string>& names, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < names.size()
               ? names[static_cast<std::size_t>(index)]
               : std::string();
}

}  // namespace

int CWaveDevice::SetDeviceByName(bool input, const std::string& name)
{
    DeviceId = -1;
    if (name != kDefaultDeviceName) {
        const auto names = input ? system_->InputNames() : system_->OutputNames();
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) {
                DeviceId = static_cast<int>(i);
                break;
            }
    }
    return DeviceId;
}

int CWaveDevice::GetDeviceIdFromSettings(bool input, const Profile& settings)
{
    return SetDeviceByName(
        input, settings.Get(input ? settings::reg::AudioInput : settings::reg::AudioOutput));
}

bool CWaveDevice::CanOpenInput(const WaveFormat& format) const
{
    return system_->CanOpenInput(DeviceId, format);
}

bool CWaveDevice::CanOpenOutput(const WaveFormat& format) const
{
    return system_->CanOpenOutput(DeviceId, format);
}

std::string CWaveDevice::GetInputDeviceName(int index) const
{
    return NameAt(system_->InputNames(), index);
}

std::string CWaveDevice::GetOutputDeviceName(int index) const
{
    return NameAt(system_->OutputNames(), index);
}

}  // namespace audio
