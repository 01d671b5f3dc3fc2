#include "RadioCore.h"

#include <algorithm>

#include "BcdDigits.h"
#include "FrameParser.h"

namespace sim {

namespace {
constexpr int kMinChannelsToScan = 2;
}  // namespace

RadioCore::RadioCore(const ModelInfo& model, uint8_t address, uint64_t frequencyHz, int mode)
    : model_(model), address_(address)
{
    const int startMode = civ::HasMode(model, mode) ? mode : 1;
    for (VfoSetting& vfo : state_.vfo)
        vfo = VfoSetting{Clamp(frequencyHz), startMode, 1};
}

uint64_t RadioCore::Clamp(uint64_t hz) const
{
    return civ::NearestReceived(model_, hz);
}

VfoSetting* RadioCore::Receive()
{
    if (state_.memoryMode)
        return workingUsed_ ? &working_ : nullptr;
    return &state_.vfo[state_.currentVfo];
}

VfoSetting* RadioCore::Settable()
{
    // A blank channel gets a working setting, starting from what the VFO holds, that lives until
    // a channel is selected again.
    if (state_.memoryMode && !workingUsed_) {
        working_ = state_.vfo[state_.currentVfo];
        workingUsed_ = true;
    }
    return Receive();
}

const VfoSetting* RadioCore::Receive() const
{
    return const_cast<RadioCore*>(this)->Receive();
}

uint64_t RadioCore::TransmitFrequency() const
{
    const VfoSetting* rx = Receive();
    if (!rx)
        return 0;
    if (state_.split && !state_.memoryMode)
        return state_.vfo[1 - state_.currentVfo].frequencyHz;
    if (state_.duplex == Duplex::Plus)
        return rx->frequencyHz + state_.offsetHz;
    if (state_.duplex == Duplex::Minus && rx->frequencyHz > state_.offsetHz)
        return rx->frequencyHz - state_.offsetHz;
    return rx->frequencyHz;
}

RadioCore::Shown RadioCore::CurrentShown() const
{
    const VfoSetting* rx = Receive();
    if (!rx)
        return Shown{true, 0, 0, 0};
    return Shown{false, state_.transmitting ? TransmitFrequency() : rx->frequencyHz, rx->mode,
                 rx->filter};
}

FrameList RadioCore::Changes(const Shown& before) const
{
    FrameList frames;
    const Shown now = CurrentShown();
    if (!state_.transceive || now.blank)
        return frames;
    if (before.blank || before.frequencyHz != now.frequencyHz) {
        Bytes data;
        AppendBcdLsbFirst(now.frequencyHz, 5, data);
        frames.push_back(Reply(civ::kBroadcastAddress, civ::kCmdTransceiveFrequency, data));
    }
    if (before.blank || before.mode != now.mode || before.filter != now.filter) {
        frames.push_back(Reply(civ::kBroadcastAddress, civ::kCmdTransceiveMode,
                               {static_cast<uint8_t>(now.mode), static_cast<uint8_t>(now.filter)}));
    }
    return frames;
}

int RadioCore::SignalAt(uint64_t hz) const
{
    int reading = 0;
    for (const SignalRange& s : signals_)
        if (hz >= s.lowHz && hz <= s.highHz)
            reading = std::max(reading, s.reading);
    return std::clamp(reading, 0, 255);
}

bool RadioCore::SquelchOpen() const
{
    const VfoSetting* rx = Receive();
    if (!rx || state_.transmitting)
        return false;
    return SignalAt(rx->frequencyHz) >= state_.squelchLevel;
}

void RadioCore::SetSquelchLevel(int reading)
{
    state_.squelchLevel = std::clamp(reading, 0, 256);
}

void RadioCore::LoadWorking()
{
    const MemoryChannel& ch = memories_[state_.channel];
    workingUsed_ = ch.used;
    if (!ch.used)
        return;
    working_ = VfoSetting{ch.frequencyHz, ch.mode, ch.filter};
    state_.duplex = ch.duplex;
    state_.offsetHz = ch.offsetHz;
    state_.tone = ch.tone;
    state_.toneSquelch = ch.toneSquelch;
}

RadioState RadioCore::State() const
{
    RadioState s = state_;
    const Shown shown = CurrentShown();
    s.blank = shown.blank;
    s.frequencyHz = shown.frequencyHz;
    s.mode = shown.mode;
    s.filter = shown.filter;
    const VfoSetting* rx = Receive();
    s.sReading = (rx && !state_.transmitting) ? SignalAt(rx->frequencyHz) : 0;
    s.squelchOpen = SquelchOpen();
    return s;
}

MemoryChannel RadioCore::Channel(int number) const
{
    if (!HasChannel(number))
        return MemoryChannel{};
    return memories_[number];
}

bool RadioCore::SetChannel(int number, const MemoryChannel& channel)
{
    if (!HasChannel(number))
        return false;
    if (channel.used
        && (!InRange(channel.frequencyHz) || !civ::HasMode(model_, channel.mode)
            || channel.filter < 1 || channel.filter > 2
            || (channel.split
                && (!InRange(channel.other.frequencyHz) || !civ::HasMode(model_, channel.other.mode)
                    || channel.other.filter < 1 || channel.other.filter > 2))))
        return false;
    memories_[number] = channel;
    if (state_.memoryMode && number == state_.channel)
        LoadWorking();
    return true;
}

FrameList RadioCore::TurnKnob(int steps)
{
    const Shown before = CurrentShown();
    state_.scanning = false;
    if (state_.memoryMode) {
        // In memory mode the dial walks through the channel numbers 1..99.
        const int64_t span = model_.channels.lastOrdinary;
        const int64_t ch = state_.channel > span ? 1 : state_.channel;
        // Wide: a step count near the int limits must not overflow.
        state_.channel = static_cast<int>(((ch - 1 + steps) % span + span) % span + 1);
        LoadWorking();
        return Changes(before);
    }
    VfoSetting& vfo = state_.vfo[state_.currentVfo];
    const int64_t delta = static_cast<int64_t>(TuningStepHz(state_.tuningStep)) * steps;
    const int64_t target = static_cast<int64_t>(vfo.frequencyHz) + delta;
    vfo.frequencyHz = Clamp(static_cast<uint64_t>(std::max<int64_t>(target, 0)));
    return Changes(before);
}

FrameList RadioCore::SetFrequencyByHand(uint64_t hz)
{
    const Shown before = CurrentShown();
    state_.scanning = false;
    state_.memoryMode = false;
    state_.vfo[state_.currentVfo].frequencyHz = Clamp(hz);
    return Changes(before);
}

FrameList RadioCore::SetModeByHand(int mode, int filter)
{
    const Shown before = CurrentShown();
    VfoSetting* rx = Receive();
    if (rx && civ::HasMode(model_, mode) && (filter == 1 || filter == 2)) {
        rx->mode = mode;
        rx->filter = std::min<int>(filter, civ::Mode(mode).filters);
    }
    return Changes(before);
}

FrameList RadioCore::SelectVfoByHand(int vfo)
{
    const Shown before = CurrentShown();
    state_.scanning = false;
    state_.memoryMode = false;
    state_.currentVfo = vfo == 1 ? 1 : 0;
    return Changes(before);
}

FrameList RadioCore::Key(bool on)
{
    const Shown before = CurrentShown();
    state_.scanning = false;
    state_.transmitting = on;
    return Changes(before);
}

int RadioCore::NextUsedChannel(int from) const
{
    const int span = model_.channels.lastOrdinary;
    for (int i = 1; i <= span; ++i) {
        const int ch = (from - 1 + i) % span + 1;
        if (memories_[ch].used)
            return ch;
    }
    return 0;
}

bool RadioCore::StartScan()
{
    if (state_.transmitting)
        return false;
    if (state_.memoryMode) {
        int used = 0;
        for (int ch = 1; ch <= model_.channels.lastOrdinary; ++ch)
            used += memories_[ch].used ? 1 : 0;
        if (used < kMinChannelsToScan)
            return false;
    } else {
        const MemoryChannel& a = memories_[100];
        const MemoryChannel& b = memories_[101];
        if (!a.used || !b.used || a.frequencyHz == b.frequencyHz)
            return false;
        scanLowHz_ = std::min(a.frequencyHz, b.frequencyHz);
        scanHighHz_ = std::max(a.frequencyHz, b.frequencyHz);
        VfoSetting& vfo = state_.vfo[state_.currentVfo];
        if (vfo.frequencyHz < scanLowHz_ || vfo.frequencyHz > scanHighHz_)
            vfo.frequencyHz = scanLowHz_;
    }
    state_.scanning = true;
    return true;
}

FrameList RadioCore::ScanStep()
{
    if (!state_.scanning)
        return {};
    const Shown before = CurrentShown();
    if (state_.memoryMode) {
        const int next = NextUsedChannel(std::min(state_.channel, model_.channels.lastOrdinary));
        if (next == 0) {
            state_.scanning = false;
            return {};
        }
        state_.channel = next;
        LoadWorking();
    } else {
        VfoSetting& vfo = state_.vfo[state_.currentVfo];
        const uint64_t step = TuningStepHz(state_.tuningStep);
        vfo.frequencyHz =
            vfo.frequencyHz + step > scanHighHz_ ? scanLowHz_ : vfo.frequencyHz + step;
    }
    if (SquelchOpen())
        state_.scanning = false;
    return Changes(before);
}

}  // namespace sim
