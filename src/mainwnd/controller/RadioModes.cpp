#include "RadioModes.h"

#include <cstddef>

namespace radio {

namespace {

constexpr ModeInfo kTable[kModeCount] = {
    {kLsb, "LSB", 0x00, 1},
    {kUsb, "USB", 0x01, 2},
    {kAm, "AM", 0x02, 3},
    {kCw, "CW", 0x03, 4},
    {kRtty, "RTTY", 0x04, 5},
    {kFm, "FM", 0x05, 6},
    {kWfm, "WFM", 0x06, 7},
};

}  // namespace

const ModeInfo* ModeTable()
{
    return kTable;
}

const ModeInfo* ModeInfoFor(int mode)
{
    if (mode < 0 || mode >= kModeCount)
        return nullptr;
    return &kTable[static_cast<size_t>(mode)];
}

std::optional<RadioMode> ModeFromCiv(uint8_t civ)
{
    for (const ModeInfo& entry : kTable)
        if (entry.civ == civ)
            return entry.mode;
    return std::nullopt;
}

std::optional<RadioMode> ModeFromRemote(int number)
{
    for (const ModeInfo& entry : kTable)
        if (entry.remote == number)
            return entry.mode;
    return std::nullopt;
}

}  // namespace radio
