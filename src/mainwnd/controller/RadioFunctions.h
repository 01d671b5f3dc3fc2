// The radio's on/off functions and the one table that maps each to its CI-V command: the function
// switches send from it, the frame parser maps replies back through it, and the remote codes and
// the state snapshot use the same entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "CivCodes.h"

namespace radio {

constexpr uint8_t kNoAltOn = 0xFF;

enum class RadioFunction : int {
    Attenuator,
    Preamp,
    Agc,  // on = fast
    NoiseBlanker,
    Tone,         // noise reduction on the IC-718
    ToneSquelch,  // auto notch on the IC-718
    Vox,
    BreakIn,
    Compressor,
};
constexpr size_t kFunctionCount = 9;

struct FunctionCommand {
    RadioFunction function;
    uint8_t command;  // 11 (value in the sub-command byte) or 16 (value after the sub)
    uint8_t sub;      // 16: sub-command (models may differ, see FunctionSub); 11: unused
    uint8_t onValue;
    uint8_t offValue;
    uint8_t altOnValue;  // a further value the radio reports for "on" (kNoAltOn: none)
    int notifyCode;      // its remote Get code, also its notification code (Set is one more)
    int controlId;       // the button of the function panel
    const char* caption;
};

// The whole table, in RadioFunction order.
const FunctionCommand* FunctionTable();
const FunctionCommand& FunctionInfo(RadioFunction f);

// The sub-command a switch sends for the given model (Setup/"RTX").
uint8_t FunctionSub(RadioFunction f, int model);

// The function a reply reports: command 11 (sub ignored) or 16 with either model's sub-command.
std::optional<RadioFunction> FunctionFromCommand(uint8_t command, uint8_t sub);
// The on/off state a reported value means; nullopt for a value the function never takes.
std::optional<bool> FunctionValueState(RadioFunction f, uint8_t value);

}  // namespace radio
