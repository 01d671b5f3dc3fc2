// The frame each command byte turns into: its length, end byte and whether an OK reply ends the
// wait for its answer (flagFB), and what the registered clients are told about it.
#pragma once

#include <array>
#include <cstdint>

#include "CivFrame.h"

namespace radio {

using civ::kCmdSelectChannel;
using civ::kCmdSelectVfoMode;
using civ::kRead;

struct CommandFrame {
    cat::CivFrame frame;  // length 0 when the command cannot be framed
    uint8_t flagFB = 0;
};

// FE FE address E0, then the command's layout. An address or data byte that would end or restart
// a frame (FD, FE) makes the frame empty: such a value was never valid for any command.
CommandFrame BuildCommand(uint8_t address, uint8_t command, uint8_t sub,
                          const std::array<uint8_t, 4>& data);

struct Notification {
    int code;
    int64_t value;
};

struct Notifications {
    std::array<Notification, 2> items{};
    int count = 0;
    void Add(int code, int64_t value) { items[static_cast<size_t>(count++)] = {code, value}; }
};

// What clients hear when the command is sent; frequencyHz and offsetKHz are the values of the
// frequency and offset entry fields (used by 05 and 0D).
Notifications CommandNotifications(uint8_t command, uint8_t sub, const std::array<uint8_t, 4>& data,
                                   int64_t frequencyHz, int64_t offsetKHz);

}  // namespace radio
