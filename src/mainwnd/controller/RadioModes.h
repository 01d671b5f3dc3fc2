// The radio's modes as the program numbers them (also the mode menu's and the mode
// list's position), the name the display shows, the CI-V mode byte and the number remote clients
// use for it.
#pragma once

#include <cstdint>
#include <optional>

#include "ModelCaps.h"

namespace radio {

enum RadioMode : int { kLsb = 0, kUsb = 1, kAm = 2, kCw = 3, kRtty = 4, kFm = 5, kWfm = 6 };
constexpr int kModeCount = civ::kModeCount;
static_assert(kFm == civ::kModeFm && kWfm == civ::kModeWfm);

struct ModeInfo {
    RadioMode mode;
    const char* name;
    uint8_t civ;  // the mode byte of commands 01, 04 and 06
    int remote;   // the mode's number for remote clients (kGetMode, kSetMode)
};

// The whole table, in RadioMode order (kModeCount entries).
const ModeInfo* ModeTable();

// The entry of a mode number; null when it is none.
const ModeInfo* ModeInfoFor(int mode);
// The mode a CI-V mode byte or a remote number stands for.
std::optional<RadioMode> ModeFromCiv(uint8_t civ);
std::optional<RadioMode> ModeFromRemote(int number);

}  // namespace radio
