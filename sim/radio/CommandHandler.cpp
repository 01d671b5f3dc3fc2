// The answers to the controller's commands. Every number is checked before it is used: data that
// is not BCD, out of range or of the wrong length gets FA and changes nothing.
#include <algorithm>

#include "BcdDigits.h"
#include "FrameParser.h"
#include "RadioCore.h"

namespace sim {

namespace {
constexpr size_t kHeaderBytes = 5;          // FE FE to from command
constexpr uint64_t kMaxOffsetUnits = 99999; // duplex offset, 100 Hz units: up to 9.9999 MHz
constexpr uint8_t kBandEdgeSeparator = 0x2D;
}  // namespace

Bytes RadioCore::Reply(uint8_t to, uint8_t command, const Bytes& data) const {
    Bytes frame;
    frame.reserve(data.size() + kMinFrameBytes);
    frame.assign({kPreamble, kPreamble, to, address_, command});
    for (uint8_t b : data) frame.push_back(b);
    frame.push_back(kEndOfFrame);
    return frame;
}

Bytes RadioCore::Ok(uint8_t to) const { return Bytes{kPreamble, kPreamble, to, address_, kOk, kEndOfFrame}; }

Bytes RadioCore::NgAnswer(uint8_t to) const {
    return Bytes{kPreamble, kPreamble, to, address_, kNg, kEndOfFrame};
}

Bytes RadioCore::HandleCommand(const Bytes& frame) {
    if (frame.size() < kMinFrameBytes) return {};
    const uint8_t to = frame[3];
    const uint8_t command = frame[4];
    const Bytes data(frame.begin() + kHeaderBytes, frame.end() - 1);
    switch (command) {
        case 0x02:
        case 0x03:
        case 0x05:
            return HandleFrequency(to, command, data);
        case 0x04:
        case 0x06:
            return HandleMode(to, command, data);
        case 0x07:
            return HandleVfo(to, data);
        case 0x08:
        case 0x09:
        case 0x0A:
        case 0x0B:
            return HandleMemory(to, command, data);
        case 0x0C:
        case 0x0D:
        case 0x0F:
        case 0x10:
            return HandleDuplex(to, command, data);
        case 0x0E:
            return HandleScan(to, data);
        case 0x11:
            return HandleAttenuator(to, data);
        case 0x15:
            return HandleMeter(to, data);
        case 0x16:
            return HandleFunction(to, data);
        case 0x19:
            if (data.size() == 1 && data[0] == 0x00) return Reply(to, 0x19, {0x00, address_});
            return NgAnswer(to);
        default:
            return NgAnswer(to);
    }
}

Bytes RadioCore::HandleFrequency(uint8_t to, uint8_t command, const Bytes& data) {
    if (command == 0x02) {
        if (!data.empty()) return NgAnswer(to);
        Bytes out;
        AppendBcdLsbFirst(model_.lowHz, 5, out);
        out.push_back(kBandEdgeSeparator);
        AppendBcdLsbFirst(model_.highHz, 5, out);
        return Reply(to, 0x02, out);
    }
    if (command == 0x03) {
        if (!data.empty()) return NgAnswer(to);
        const Shown shown = CurrentShown();
        if (shown.blank) return Reply(to, 0x03, {0xFF});
        Bytes out;
        AppendBcdLsbFirst(shown.frequencyHz, 5, out);
        return Reply(to, 0x03, out);
    }
    uint64_t hz = 0;
    VfoSetting* rx = Receive();
    if (data.size() != 5 || !DecodeBcdLsbFirst(data.data(), 5, hz) || !InRange(hz) || !rx)
        return NgAnswer(to);
    state_.scanning = false;
    rx->frequencyHz = hz;
    return Ok(to);
}

Bytes RadioCore::HandleMode(uint8_t to, uint8_t command, const Bytes& data) {
    VfoSetting* rx = Receive();
    if (command == 0x04) {
        if (!data.empty() || !rx) return NgAnswer(to);
        return Reply(to, 0x04, {static_cast<uint8_t>(rx->mode), static_cast<uint8_t>(rx->filter)});
    }
    if (data.empty() || data.size() > 2 || !rx) return NgAnswer(to);
    const int mode = data[0];
    const int filter = data.size() == 2 ? data[1] : 1;
    if (!ModelHasMode(model_, mode) || filter < 1 || filter > 2) return NgAnswer(to);
    if (mode == kModeWfm && filter != 1) return NgAnswer(to);   // WFM has one filter
    rx->mode = mode;
    rx->filter = filter;
    return Ok(to);
}

Bytes RadioCore::HandleVfo(uint8_t to, const Bytes& data) {
    if (data.size() > 1) return NgAnswer(to);
    const int sub = data.empty() ? -1 : data[0];
    VfoSetting* vfo = state_.vfo;
    switch (sub) {
        case -1:
            state_.memoryMode = false;
            break;
        case 0x00:
        case 0x01:
            state_.memoryMode = false;
            state_.currentVfo = sub;
            break;
        case 0xA0:
            vfo[1 - state_.currentVfo] = vfo[state_.currentVfo];
            break;
        case 0xB0:
            std::swap(vfo[0], vfo[1]);
            break;
        default:
            return NgAnswer(to);
    }
    state_.scanning = false;
    return Ok(to);
}

Bytes RadioCore::HandleMemory(uint8_t to, uint8_t command, const Bytes& data) {
    if (command == 0x08) {
        if (data.empty()) {
            state_.memoryMode = true;
            LoadWorking();
        } else {
            uint64_t number = 0;
            if (data.size() != 2 || !DecodeBcdMsbFirst(data.data(), 2, number) ||
                number < kFirstChannel || number > kLastChannel)
                return NgAnswer(to);
            state_.channel = static_cast<int>(number);
            if (state_.memoryMode) LoadWorking();
        }
        state_.scanning = false;
        return Ok(to);
    }
    if (!data.empty()) return NgAnswer(to);
    MemoryChannel& ch = memories_[state_.channel];
    if (command == 0x09) {
        const VfoSetting* rx = Receive();
        if (!rx) return NgAnswer(to);
        ch = MemoryChannel{true, rx->frequencyHz, rx->mode, rx->filter, state_.duplex,
                           state_.offsetHz};
        if (state_.memoryMode) LoadWorking();
        return Ok(to);
    }
    if (!ch.used) return NgAnswer(to);
    state_.scanning = false;
    if (command == 0x0A) {
        state_.vfo[state_.currentVfo] = VfoSetting{ch.frequencyHz, ch.mode, ch.filter};
        state_.duplex = ch.duplex;
        state_.offsetHz = ch.offsetHz;
        state_.memoryMode = false;
    } else {
        ch = MemoryChannel{};
        if (state_.memoryMode) LoadWorking();
    }
    return Ok(to);
}

Bytes RadioCore::HandleDuplex(uint8_t to, uint8_t command, const Bytes& data) {
    if (command == 0x0C || command == 0x0D) {
        if (!model_.hasDuplexOffset) return NgAnswer(to);
        if (command == 0x0C) {
            if (!data.empty()) return NgAnswer(to);
            Bytes out;
            AppendBcdLsbFirst(state_.offsetHz / 100, 3, out);
            return Reply(to, 0x0C, out);
        }
        uint64_t units = 0;
        if (data.size() != 3 || !DecodeBcdLsbFirst(data.data(), 3, units) ||
            units > kMaxOffsetUnits)
            return NgAnswer(to);
        state_.offsetHz = static_cast<uint32_t>(units * 100);
        return Ok(to);
    }
    if (data.size() != 1) return NgAnswer(to);
    if (command == 0x10) {
        if (data[0] >= kTuningStepCount) return NgAnswer(to);
        state_.tuningStep = data[0];
        return Ok(to);
    }
    switch (data[0]) {
        case 0x00:
            state_.split = false;
            break;
        case 0x01:
            state_.split = true;
            state_.duplex = Duplex::Simplex;
            break;
        case 0x10:
            state_.duplex = Duplex::Simplex;
            break;
        case 0x11:
            state_.duplex = Duplex::Minus;
            state_.split = false;
            break;
        case 0x12:
            state_.duplex = Duplex::Plus;
            state_.split = false;
            break;
        default:
            return NgAnswer(to);
    }
    return Ok(to);
}

Bytes RadioCore::HandleScan(uint8_t to, const Bytes& data) {
    if (data.size() != 1) return NgAnswer(to);
    if (data[0] == 0x00) {
        state_.scanning = false;
        return Ok(to);
    }
    if (data[0] == 0x01 && StartScan()) return Ok(to);
    return NgAnswer(to);
}

Bytes RadioCore::HandleAttenuator(uint8_t to, const Bytes& data) {
    if (!model_.hasAttenuator || data.size() > 1) return NgAnswer(to);
    if (data.empty()) return Reply(to, 0x11, {static_cast<uint8_t>(state_.attenuator ? 0x20 : 0x00)});
    if (data[0] != 0x00 && data[0] != 0x20) return NgAnswer(to);
    state_.attenuator = data[0] == 0x20;
    if (state_.attenuator) state_.preamp = false;   // one front-end switch: off, P.AMP or ATT
    return Ok(to);
}

Bytes RadioCore::HandleMeter(uint8_t to, const Bytes& data) {
    if (data.size() != 1) return NgAnswer(to);
    const RadioState s = State();
    if (data[0] == 0x01) return Reply(to, 0x15, {0x01, static_cast<uint8_t>(s.squelchOpen ? 1 : 0)});
    if (data[0] == 0x02) {
        Bytes out{0x02};
        AppendBcdMsbFirst(static_cast<uint64_t>(s.sReading), 2, out);
        return Reply(to, 0x15, out);
    }
    return NgAnswer(to);
}

Bytes RadioCore::HandleFunction(uint8_t to, const Bytes& data) {
    if (!model_.hasFunctions || data.empty() || data.size() > 2) return NgAnswer(to);
    const uint8_t sub = data[0];
    bool* flag = nullptr;
    int* level = nullptr;
    int low = 0, high = 1;
    switch (sub) {
        case 0x02: flag = &state_.preamp; break;
        case 0x12: level = &state_.agc; low = 1; high = 2; break;
        case 0x22: flag = &state_.noiseBlanker; break;
        case 0x40: if (model_.hasNrAnfSubs) flag = &state_.noiseReduction; break;
        case 0x41: if (model_.hasNrAnfSubs) flag = &state_.autoNotch; break;
        case 0x42: if (model_.hasToneSubs) flag = &state_.tone; break;
        case 0x43: if (model_.hasToneSubs) flag = &state_.toneSquelch; break;
        case 0x44: flag = &state_.compressor; break;
        case 0x46: flag = &state_.vox; break;
        case 0x47: level = &state_.breakIn; high = 2; break;
        default: break;
    }
    if (!flag && !level) return NgAnswer(to);
    if (data.size() == 1) {
        const int value = flag ? (*flag ? 1 : 0) : *level;
        return Reply(to, 0x16, {sub, static_cast<uint8_t>(value)});
    }
    const int value = data[1];
    if (value < low || value > high) return NgAnswer(to);
    if (flag) *flag = value == 1;
    else *level = value;
    if (sub == 0x02 && value == 1) state_.attenuator = false;
    return Ok(to);
}

}  // namespace sim
