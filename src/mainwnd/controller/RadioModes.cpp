#include "RadioModes.h"

#include <array>
#include <cstddef>

namespace radio {

namespace {

// Names and bus bytes come from the radios' own mode table; remote clients count from 1.
const std::array<ModeInfo, kModeCount>& Table()
{
    static const std::array<ModeInfo, kModeCount> table = [] {
        std::array<ModeInfo, kModeCount> t{};
        for (int m = 0; m < kModeCount; ++m) {
            const civ::ModeInfo& bus = civ::Mode(m);
            t[static_cast<size_t>(m)] = {static_cast<RadioMode>(m), bus.name, bus.code, m + 1};
        }
        return t;
    }();
    return table;
}

}  // namespace

const ModeInfo* ModeTable()
{
    return Table().data();
}

const ModeInfo* ModeInfoFor(int mode)
{
    if (mode < 0 || mode >= kModeCount)
        return nullptr;
    return &Table()[static_cast<size_t>(mode)];
}

std::optional<RadioMode> ModeFromCiv(uint8_t civ)
{
    for (const ModeInfo& entry : Table())
        if (entry.civ == civ)
            return entry.mode;
    return std::nullopt;
}

std::optional<RadioMode> ModeFromRemote(int number)
{
    for (const ModeInfo& entry : Table())
        if (entry.remote == number)
            return entry.mode;
    return std::nullopt;
}

}  // namespace radio
