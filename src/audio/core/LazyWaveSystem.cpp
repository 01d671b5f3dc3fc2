#include "LazyWaveSystem.h"

namespace audio {

WaveSystem* LazyWaveSystem::System() const
{
    if (!system_ && start_) {
        system_ = start_();
        start_ = nullptr;  // a system that could not be made is not tried at every call
    }
    return system_.get();
}

std::string LazyWaveSystem::Problem() const
{
    WaveSystem* s = System();
    return s != nullptr ? s->Problem() : "the sound system could not be started";
}

std::vector<std::string> LazyWaveSystem::InputNames() const
{
    WaveSystem* s = System();
    return s != nullptr ? s->InputNames() : std::vector<std::string>{};
}

std::vector<std::string> LazyWaveSystem::OutputNames() const
{
    WaveSystem* s = System();
    return s != nullptr ? s->OutputNames() : std::vector<std::string>{};
}

bool LazyWaveSystem::CanOpenInput(int id, const WaveFormat& format) const
{
    WaveSystem* s = System();
    return s != nullptr && s->CanOpenInput(id, format);
}

bool LazyWaveSystem::CanOpenOutput(int id, const WaveFormat& format) const
{
    WaveSystem* s = System();
    return s != nullptr && s->CanOpenOutput(id, format);
}

std::unique_ptr<WaveInput> LazyWaveSystem::OpenInput(int id, const WaveFormat& format,
                                                     DeviceTarget target)
{
    WaveSystem* s = System();
    return s != nullptr ? s->OpenInput(id, format, target) : nullptr;
}

std::unique_ptr<WaveOutput> LazyWaveSystem::OpenOutput(int id, const WaveFormat& format,
                                                       DeviceTarget target)
{
    WaveSystem* s = System();
    return s != nullptr ? s->OpenOutput(id, format, target) : nullptr;
}

}  // namespace audio
