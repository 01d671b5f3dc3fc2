#include "PortAudioSystem.h"

#include <portaudio.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "DeviceQueues.h"
#include "SampleCodec.h"
#include "WindowMessages.h"

namespace audio {

namespace {

PaStreamParameters Parameters(int paIndex, bool input, const WaveFormat& format)
{
    PaStreamParameters p{};
    p.device = paIndex;
    p.channelCount = format.channels;
    p.sampleFormat = paInt16;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(paIndex);
    p.suggestedLatency =
        info ? (input ? info->defaultLowInputLatency : info->defaultLowOutputLatency) : 0.05;
    return p;
}

class PaInput : public WaveInput {
public:
    PaInput(std::unique_ptr<SampleCodec> codec, DeviceTarget target)
        : queue_(std::move(codec), std::move(target))
    {
    }
    ~PaInput() override
    {
        if (stream_) {
            Pa_AbortStream(stream_);
            Pa_CloseStream(stream_);
        }
    }
    bool OpenStream(int paIndex, const WaveFormat& format)
    {
        const PaStreamParameters in = Parameters(paIndex, true, format);
        return Pa_OpenStream(&stream_, &in, nullptr, format.samplesPerSec,
                             paFramesPerBufferUnspecified, paNoFlag, &PaInput::Callback, this)
               == paNoError;
    }
    int AddBuffer(WaveHeader& header) override
    {
        queue_.Add(header);
        return 0;
    }
    int Start() override
    {
        if (Pa_IsStreamActive(stream_) == 1)
            return 0;
        return Pa_StartStream(stream_) == paNoError ? 0 : 1;
    }
    int Reset() override
    {
        if (Pa_IsStreamStopped(stream_) == 0 && Pa_AbortStream(stream_) != paNoError)
            return 1;
        queue_.ReturnAll();
        return 0;
    }
    std::int64_t FramesDone() const override { return queue_.FramesDone(); }

private:
    static int Callback(const void* input, void*, unsigned long frames,
                        const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* self)
    {
        if (input)
            static_cast<PaInput*>(self)->queue_.Feed(static_cast<const std::int16_t*>(input),
                                                     frames);
        return paContinue;
    }

    PaStream* stream_ = nullptr;
    CaptureQueue queue_;
};

class PaOutput : public WaveOutput {
public:
    PaOutput(std::unique_ptr<SampleCodec> codec, DeviceTarget target)
        : target_(target), queue_(std::move(codec), target)
    {
    }
    ~PaOutput() override
    {
        if (stream_) {
            Pa_AbortStream(stream_);
            Pa_CloseStream(stream_);
            queue_.ReturnAll();
            target_.window.Post(msg::kWomClose, target_.session, 0);
        }
    }
    bool OpenStream(int paIndex, const WaveFormat& format)
    {
        const PaStreamParameters out = Parameters(paIndex, false, format);
        return Pa_OpenStream(&stream_, nullptr, &out, format.samplesPerSec,
                             paFramesPerBufferUnspecified, paNoFlag, &PaOutput::Callback, this)
                   == paNoError
               && Pa_StartStream(stream_) == paNoError;
    }
    int Write(WaveHeader& header) override
    {
        queue_.Add(header);
        return 0;
    }
    int Pause() override
    {
        paused_ = true;
        return 0;
    }
    int Restart() override
    {
        paused_ = false;
        return 0;
    }
    int Reset() override
    {
        queue_.ReturnAll();
        return 0;
    }
    std::int64_t FramesDone() const override { return queue_.FramesDone(); }

private:
    static int Callback(const void*, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* context)
    {
        auto* self = static_cast<PaOutput*>(context);
        auto* out = static_cast<std::int16_t*>(output);
        const std::size_t channels = self->queue_.Channels();
        std::size_t got = 0;
        if (!self->paused_)
            got = self->queue_.Take(out, frames);
        std::memset(out + got * channels, 0, (frames - got) * channels * sizeof(std::int16_t));
        return paContinue;
    }

    DeviceTarget target_;
    PaStream* stream_ = nullptr;
    PlaybackQueue queue_;
    std::atomic<bool> paused_{false};
};

}  // namespace

PortAudioSystem::PortAudioSystem()
{
    const PaError error = Pa_Initialize();
    if (error != paNoError) {
        problem_ = Pa_GetErrorText(error);
        return;
    }
    ready_ = true;
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (!info)
            continue;
        const std::string name = info->name ? info->name : "";
        if (info->maxInputChannels > 0)
            inputs_.push_back(Device{i, name});
        if (info->maxOutputChannels > 0)
            outputs_.push_back(Device{i, name});
    }
}

PortAudioSystem::~PortAudioSystem()
{
    if (ready_)
        Pa_Terminate();
}

std::vector<std::string> PortAudioSystem::InputNames() const
{
    std::vector<std::string> names;
    for (const Device& d : inputs_)
        names.push_back(d.name);
    return names;
}

std::vector<std::string> PortAudioSystem::OutputNames() const
{
    std::vector<std::string> names;
    for (const Device& d : outputs_)
        names.push_back(d.name);
    return names;
}

int PortAudioSystem::PaIndex(bool input, int id) const
{
    if (!ready_)
        return -1;
    if (id == -1) {
        const PaDeviceIndex d = input ? Pa_GetDefaultInputDevice() : Pa_GetDefaultOutputDevice();
        return d == paNoDevice ? -1 : d;
    }
    const auto& list = input ? inputs_ : outputs_;
    return id >= 0 && static_cast<std::size_t>(id) < list.size()
               ? list[static_cast<std::size_t>(id)].paIndex
               : -1;
}

bool PortAudioSystem::Supported(bool input, int id, const WaveFormat& format) const
{
    const int index = PaIndex(input, id);
    if (index < 0 || !SampleCodec::For(format))
        return false;
    const PaStreamParameters p = Parameters(index, input, format);
    return Pa_IsFormatSupported(input ? &p : nullptr, input ? nullptr : &p, format.samplesPerSec)
           == paFormatIsSupported;
}

bool PortAudioSystem::CanOpenInput(int id, const WaveFormat& format) const
{
    return Supported(true, id, format);
}

bool PortAudioSystem::CanOpenOutput(int id, const WaveFormat& format) const
{
    return Supported(false, id, format);
}

std::unique_ptr<WaveInput> PortAudioSystem::OpenInput(int id, const WaveFormat& format,
                                                      DeviceTarget target)
{
    const int index = PaIndex(true, id);
    auto codec = SampleCodec::For(format);
    if (index < 0 || !codec)
        return nullptr;
    auto device = std::make_unique<PaInput>(std::move(codec), std::move(target));
    if (!device->OpenStream(index, format))
        return nullptr;
    return device;
}

std::unique_ptr<WaveOutput> PortAudioSystem::OpenOutput(int id, const WaveFormat& format,
                                                        DeviceTarget target)
{
    const int index = PaIndex(false, id);
    auto codec = SampleCodec::For(format);
    if (index < 0 || !codec)
        return nullptr;
    auto device = std::make_unique<PaOutput>(std::move(codec), std::move(target));
    if (!device->OpenStream(index, format))
        return nullptr;
    return device;
}

}  // namespace audio
