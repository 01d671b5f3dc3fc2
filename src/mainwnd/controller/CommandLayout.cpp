#include "CommandLayout.h"

#include <optional>

#include "RadioFunctions.h"
#include "RadioModes.h"
#include "RemoteCodes.h"

namespace radio {

using namespace civ;

namespace {

CommandFrame Make(uint8_t address, uint8_t command, std::initializer_list<uint8_t> body,
                  uint8_t flagFB)
{
    CommandFrame out;
    out.flagFB = flagFB;
    if (address == cat::kEndOfFrame || address == cat::kPreamble)
        return out;
    for (uint8_t b : body)
        if (b == cat::kEndOfFrame || b == cat::kPreamble)
            return out;
    const std::array<uint8_t, 6> bytes = [&] {
        std::array<uint8_t, 6> a{};
        size_t i = 0;
        for (uint8_t b : body)
            a[i++] = b;
        return a;
    }();
    out.frame =
        cat::CivFrame::Build(address, cat::kControllerAddress, command, bytes.data(), body.size());
    return out;
}

}  // namespace

CommandFrame BuildCommand(uint8_t address, uint8_t command, uint8_t sub,
                          const std::array<uint8_t, 4>& d)
{
    switch (command) {
    case kCmdSetFrequency: return Make(address, command, {sub, d[0], d[1], d[2], d[3]}, 1);
    case kCmdSetMode: return Make(address, command, {sub, d[0]}, 1);
    case kCmdVfo:
    case kCmdScan:
    case kCmdSplitDuplex:
    case kCmdTuningStep: return Make(address, command, {sub}, 1);
    case kCmdMemory:
    case kCmdMemoryWrite:
    case kCmdMemoryToVfo:
    case kCmdMemoryClear:  // the radio answers OK, which must end the wait
        return Make(address, command, {}, 1);
    case kCmdSetOffset: return Make(address, command, {sub, d[0], d[1]}, 1);
    case kCmdAttenuator:
        if (sub == kRead)
            return Make(address, command, {}, 0);
        return Make(address, command, {sub}, 1);
    case kCmdMeter:
    case kCmdReadId: return Make(address, command, {sub}, 0);
    case kCmdFunction:
        if (d[0] == kRead)
            return Make(address, command, {sub}, 0);
        return Make(address, command, {sub, d[0]}, 1);
    case kCmdSelectVfoMode: return Make(address, kCmdVfo, {}, 1);
    case kCmdSelectChannel: return Make(address, kCmdMemory, {sub, d[0]}, 1);
    default: return Make(address, command, {}, 0);
    }
}

Notifications CommandNotifications(uint8_t command, uint8_t sub, const std::array<uint8_t, 4>& d,
                                   int64_t frequencyHz, int64_t offsetKHz)
{
    Notifications n;
    switch (command) {
    case civ::kCmdSetFrequency: n.Add(remote::kNoteFrequency, frequencyHz); break;
    case civ::kCmdSetMode:
        // A mode byte the table does not know has no number a client could read.
        if (const std::optional<RadioMode> mode = ModeFromCiv(sub))
            n.Add(remote::kNoteMode, ModeInfoFor(*mode)->remote);
        n.Add(remote::kNoteFilter, static_cast<int64_t>(d[0]) - 1);
        break;
    case civ::kCmdVfo:
        // Name the VFO actually selected; A=B and exchange select none.
        if (sub == civ::kVfoA)
            n.Add(remote::kNoteVfoA, 1);
        else if (sub == civ::kVfoB)
            n.Add(remote::kNoteVfoB, 1);
        break;
    case civ::kCmdSetOffset: n.Add(remote::kNoteDuplexOffset, offsetKHz); break;
    case civ::kCmdSplitDuplex:
        if (sub == civ::kDuplexMinus)
            n.Add(remote::kNoteDupMinus, 1);
        else if (sub == civ::kDuplexPlus)
            n.Add(remote::kNoteDupPlus, 1);
        else
            n.Add(remote::kNoteSplit, sub);
        break;
    case kCmdAttenuator:
        if (sub != kRead)
            n.Add(FunctionInfo(RadioFunction::Attenuator).notifyCode, sub == kAttenuatorOn ? 1 : 0);
        break;
    case kCmdFunction: {
        if (d[0] == kRead)
            break;
        const std::optional<RadioFunction> f = FunctionFromCommand(kCmdFunction, sub);
        if (!f)
            break;
        const int64_t value = *f == RadioFunction::Agc ? (d[0] == kAgcFast ? 1 : 0) : d[0];
        n.Add(FunctionInfo(*f).notifyCode, value);
        break;
    }
    default: break;
    }
    return n;
}

}  // namespace radio
