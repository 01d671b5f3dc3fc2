// The answers to the controller's commands. Every number is checked before it is used: data that
// is not BCD, out of range or of the wrong length gets FA and changes nothing.
#include <algorithm>

#include "BcdDigits.h"
#include "FrameParser.h"
#include "RadioCore.h"

namespace sim {

using namespace civ;

namespace {
constexpr size_t kHeaderBytes = 5;           // FE FE to from command
constexpr uint64_t kMaxOffsetUnits = 99999;  // duplex offset, 100 Hz units: up to 9.9999 MHz
}  // namespace

Bytes RadioCore::Reply(uint8_t to, uint8_t command, const Bytes& data) const
{
    Bytes frame;
    frame.reserve(data.size() + kMinFrameBytes);
    frame.assign({kPreamble, kPreamble, to, address_, command});
    for (uint8_t b : data)
        frame.push_back(b);
    frame.push_back(kEndOfFrame);
    return frame;
}

Bytes RadioCore::Ok(uint8_t to) const
{
    return Bytes{kPreamble, kPreamble, to, address_, kOk, kEndOfFrame};
}

Bytes RadioCore::NgAnswer(uint8_t to) const
{
    return Bytes{kPreamble, kPreamble, to, address_, kNg, kEndOfFrame};
}

Bytes RadioCore::HandleCommand(const Bytes& frame)
{
    if (frame.size() < kMinFrameBytes)
        return {};
    const uint8_t to = frame[3];
    const uint8_t command = frame[4];
    const Bytes data(frame.begin() + kHeaderBytes, frame.end() - 1);
    switch (command) {
    case kCmdReadBandEdges:
    case kCmdReadFrequency:
    case kCmdSetFrequency: return HandleFrequency(to, command, data);
    case kCmdReadMode:
    case kCmdSetMode: return HandleMode(to, command, data);
    case kCmdVfo: return HandleVfo(to, data);
    case kCmdMemory:
    case kCmdMemoryWrite:
    case kCmdMemoryToVfo:
    case kCmdMemoryClear: return HandleMemory(to, command, data);
    case kCmdReadOffset:
    case kCmdSetOffset:
    case kCmdSplitDuplex:
    case kCmdTuningStep: return HandleDuplex(to, command, data);
    case kCmdScan: return HandleScan(to, data);
    case kCmdAttenuator: return HandleAttenuator(to, data);
    case kCmdMeter: return HandleMeter(to, data);
    case kCmdFunction: return HandleFunction(to, data);
    case kCmdReadId:
        if (data.size() == 1 && data[0] == kIdRead)
            return Reply(to, kCmdReadId, {kIdRead, address_});
        return NgAnswer(to);
    default: return NgAnswer(to);
    }
}

Bytes RadioCore::HandleFrequency(uint8_t to, uint8_t command, const Bytes& data)
{
    if (command == kCmdReadBandEdges) {
        if (!data.empty())
            return NgAnswer(to);
        Bytes out;
        AppendBcdLsbFirst(model_.bandEdges.lowHz, 5, out);
        out.push_back(kBandEdgeSeparator);
        AppendBcdLsbFirst(model_.bandEdges.highHz, 5, out);
        return Reply(to, kCmdReadBandEdges, out);
    }
    if (command == kCmdReadFrequency) {
        if (!data.empty())
            return NgAnswer(to);
        const Shown shown = CurrentShown();
        if (shown.blank)
            return Reply(to, kCmdReadFrequency, {kNoFrequency});
        Bytes out;
        AppendBcdLsbFirst(shown.frequencyHz, 5, out);
        return Reply(to, kCmdReadFrequency, out);
    }
    uint64_t hz = 0;
    if (data.size() != 5 || !DecodeBcdLsbFirst(data.data(), 5, hz) || !InRange(hz))
        return NgAnswer(to);
    VfoSetting* rx = Settable();
    state_.scanning = false;
    rx->frequencyHz = hz;
    return Ok(to);
}

Bytes RadioCore::HandleMode(uint8_t to, uint8_t command, const Bytes& data)
{
    VfoSetting* rx = Receive();
    if (command == kCmdReadMode) {
        if (!data.empty() || !rx)
            return NgAnswer(to);
        return Reply(to, kCmdReadMode,
                     {static_cast<uint8_t>(rx->mode), static_cast<uint8_t>(rx->filter)});
    }
    if (data.empty() || data.size() > 2)
        return NgAnswer(to);
    const int mode = data[0];
    const int filter = data.size() == 2 ? data[1] : 1;
    // WFM has one filter.
    if (!civ::HasMode(model_, mode) || filter < 1 || filter > civ::Mode(mode).filters)
        return NgAnswer(to);
    rx = Settable();
    rx->mode = mode;
    rx->filter = filter;
    return Ok(to);
}

Bytes RadioCore::HandleVfo(uint8_t to, const Bytes& data)
{
    if (data.size() > 1)
        return NgAnswer(to);
    const int sub = data.empty() ? -1 : data[0];
    VfoSetting* vfo = state_.vfo;
    switch (sub) {
    case -1: state_.memoryMode = false; break;
    case kVfoA:
    case kVfoB:
        state_.memoryMode = false;
        state_.currentVfo = sub;
        break;
    case kVfoEqualize: vfo[1 - state_.currentVfo] = vfo[state_.currentVfo]; break;
    case kVfoExchange: std::swap(vfo[0], vfo[1]); break;
    default: return NgAnswer(to);
    }
    state_.scanning = false;
    return Ok(to);
}

Bytes RadioCore::HandleMemory(uint8_t to, uint8_t command, const Bytes& data)
{
    if (command == kCmdMemory) {
        if (data.empty()) {
            state_.memoryMode = true;
            LoadWorking();
        } else {
            uint64_t number = 0;
            if (data.size() != 2 || !DecodeBcdMsbFirst(data.data(), 2, number)
                || !HasChannel(static_cast<int>(number)))
                return NgAnswer(to);
            state_.channel = static_cast<int>(number);
            if (state_.memoryMode)
                LoadWorking();
        }
        state_.scanning = false;
        return Ok(to);
    }
    if (!data.empty())
        return NgAnswer(to);
    MemoryChannel& ch = memories_[state_.channel];
    if (command == kCmdMemoryWrite) {
        const VfoSetting* rx = Receive();
        if (!rx)
            return NgAnswer(to);
        ch = MemoryChannel{true,          rx->frequencyHz, rx->mode,    rx->filter,
                           state_.duplex, state_.offsetHz, state_.tone, state_.toneSquelch};
        if (state_.split && !state_.memoryMode) {
            ch.split = true;
            ch.other = state_.vfo[1 - state_.currentVfo];
        }
        if (state_.memoryMode)
            LoadWorking();
        return Ok(to);
    }
    // In memory mode a working setting (typed onto a blank channel too) survives the clear.
    const bool keepsWorking = state_.memoryMode && workingUsed_;
    if (!ch.used && !(command == kCmdMemoryClear && keepsWorking))
        return NgAnswer(to);
    state_.scanning = false;
    if (command == kCmdMemoryToVfo) {
        const VfoSetting stored{ch.frequencyHz, ch.mode, ch.filter};
        state_.vfo[state_.currentVfo] = stored;
        state_.vfo[1 - state_.currentVfo] = ch.split ? ch.other : stored;
        state_.split = ch.split;
        state_.duplex = ch.duplex;
        state_.offsetHz = ch.offsetHz;
        state_.tone = ch.tone;
        state_.toneSquelch = ch.toneSquelch;
        state_.memoryMode = false;
    } else {
        ch = MemoryChannel{};
    }
    return Ok(to);
}

Bytes RadioCore::HandleDuplex(uint8_t to, uint8_t command, const Bytes& data)
{
    if (command == kCmdReadOffset || command == kCmdSetOffset) {
        if (!model_.duplexOffset)
            return NgAnswer(to);
        if (command == kCmdReadOffset) {
            if (!data.empty())
                return NgAnswer(to);
            Bytes out;
            AppendBcdLsbFirst(state_.offsetHz / 100, 3, out);
            return Reply(to, kCmdReadOffset, out);
        }
        uint64_t units = 0;
        if (data.size() != 3 || !DecodeBcdLsbFirst(data.data(), 3, units)
            || units > kMaxOffsetUnits)
            return NgAnswer(to);
        state_.offsetHz = static_cast<uint32_t>(units * 100);
        return Ok(to);
    }
    if (data.size() != 1)
        return NgAnswer(to);
    if (command == kCmdTuningStep) {
        if (data[0] >= kTuningStepCount)
            return NgAnswer(to);
        state_.tuningStep = data[0];
        return Ok(to);
    }
    switch (data[0]) {
    case kSplitOff: state_.split = false; break;
    case kSplitOn:
        state_.split = true;
        state_.duplex = Duplex::Simplex;
        break;
    case kSimplex: state_.duplex = Duplex::Simplex; break;
    case kDuplexMinus:
        state_.duplex = Duplex::Minus;
        state_.split = false;
        break;
    case kDuplexPlus:
        state_.duplex = Duplex::Plus;
        state_.split = false;
        break;
    default: return NgAnswer(to);
    }
    return Ok(to);
}

Bytes RadioCore::HandleScan(uint8_t to, const Bytes& data)
{
    if (data.size() != 1)
        return NgAnswer(to);
    if (data[0] == kScanStop) {
        state_.scanning = false;
        return Ok(to);
    }
    if (data[0] == kScanStart && StartScan())
        return Ok(to);
    return NgAnswer(to);
}

Bytes RadioCore::HandleAttenuator(uint8_t to, const Bytes& data)
{
    if (!model_.attenuator || data.size() > 1)
        return NgAnswer(to);
    if (data.empty())
        return Reply(to, kCmdAttenuator, {state_.attenuator ? kAttenuatorOn : kAttenuatorOff});
    if (data[0] != kAttenuatorOff && data[0] != kAttenuatorOn)
        return NgAnswer(to);
    state_.attenuator = data[0] == kAttenuatorOn;
    if (state_.attenuator)
        state_.preamp = false;  // one front-end switch: off, P.AMP or ATT
    return Ok(to);
}

Bytes RadioCore::HandleMeter(uint8_t to, const Bytes& data)
{
    if (data.size() != 1)
        return NgAnswer(to);
    const RadioState s = State();
    if (data[0] == kMeterSquelch)
        return Reply(to, kCmdMeter, {kMeterSquelch, s.squelchOpen ? kOn : kOff});
    if (data[0] == kMeterS) {
        Bytes out{kMeterS};
        AppendBcdMsbFirst(static_cast<uint64_t>(s.sReading), 2, out);
        return Reply(to, kCmdMeter, out);
    }
    return NgAnswer(to);
}

Bytes RadioCore::HandleFunction(uint8_t to, const Bytes& data)
{
    if (!model_.functions || data.empty() || data.size() > 2)
        return NgAnswer(to);
    const uint8_t sub = data[0];
    bool* flag = nullptr;
    int* level = nullptr;
    int low = 0, high = 1;
    switch (sub) {
    case kFuncPreamp: flag = &state_.preamp; break;
    case kFuncAgc:
        level = &state_.agc;
        low = kAgcFast;
        high = kAgcSlow;
        break;
    case kFuncNoiseBlanker: flag = &state_.noiseBlanker; break;
    case kFuncNoiseReduction:
        if (model_.nrAnfSubs)
            flag = &state_.noiseReduction;
        break;
    case kFuncAutoNotch:
        if (model_.nrAnfSubs)
            flag = &state_.autoNotch;
        break;
    case kFuncTone:
        if (model_.toneSubs)
            flag = &state_.tone;
        break;
    case kFuncToneSquelch:
        if (model_.toneSubs)
            flag = &state_.toneSquelch;
        break;
    case kFuncCompressor: flag = &state_.compressor; break;
    case kFuncVox: flag = &state_.vox; break;
    case kFuncBreakIn:
        level = &state_.breakIn;
        high = kBreakInFull;
        break;
    default: break;
    }
    if (!flag && !level)
        return NgAnswer(to);
    if (data.size() == 1) {
        const int value = flag ? (*flag ? 1 : 0) : *level;
        return Reply(to, kCmdFunction, {sub, static_cast<uint8_t>(value)});
    }
    const int value = data[1];
    if (value < low || value > high)
        return NgAnswer(to);
    if (flag)
        *flag = value == kOn;
    else
        *level = value;
    if (sub == kFuncPreamp && value == kOn)
        state_.attenuator = false;
    return Ok(to);
}

}  // namespace sim
