#include "RadioScanSequence.h"

#include "Bcd.h"
#include "CivCodes.h"

namespace lists {

namespace {

constexpr std::array<std::string_view, 7> kModeNames{"LSB", "USB", "AM", "CW", "RTTY", "FM", "WFM"};
// The scan-edge channels, as the channel select's two bytes.
constexpr uint8_t kEdgeHigh = 0x01;
constexpr uint8_t kLowEdge = 0x00;
constexpr uint8_t kHighEdge = 0x01;

// 05 with the ten-digit frequency; the edges are checked before, not here.
ScanCommand FrequencyCommand(int64_t hz)
{
    uint8_t bcd[5] = {};
    cat::NumberToBcd(hz, bcd, 5);
    return {civ::kCmdSetFrequency, bcd[0], {bcd[1], bcd[2], bcd[3], bcd[4]}};
}

}  // namespace

std::optional<uint8_t> ScanModeCode(std::string_view name)
{
    for (std::size_t i = 0; i < kModeNames.size(); ++i)
        if (kModeNames[i] == name)
            return static_cast<uint8_t>(i);
    return std::nullopt;
}

uint8_t ScanFilterByte(uint8_t mode, bool narrow)
{
    return narrow && mode != kWfmCode ? 2 : 1;
}

std::vector<ScanCommand> BandScanEdges(int64_t startHz, int64_t endHz, uint8_t mode,
                                       uint8_t filterByte)
{
    const ScanCommand setMode{civ::kCmdSetMode, mode, {filterByte}};
    std::vector<ScanCommand> commands{{civ::kCmdMemory, 0, {}}};
    for (auto [edge, hz] : {std::pair{kLowEdge, startHz}, std::pair{kHighEdge, endHz}}) {
        commands.push_back({civ::kCmdSelectChannel, kEdgeHigh, {edge}});
        commands.push_back(setMode);
        commands.push_back(FrequencyCommand(hz));
        commands.push_back({civ::kCmdMemoryClear, 0, {}});
        commands.push_back({civ::kCmdMemoryWrite, 0, {}});
    }
    commands.push_back({civ::kCmdSelectVfoMode, 0, {}});
    commands.push_back(setMode);
    commands.push_back(FrequencyCommand(startHz));
    return commands;
}

ScanCommand ScanStepCommand(int stepIndex)
{
    return {civ::kCmdTuningStep, static_cast<uint8_t>(stepIndex), {}};
}

}  // namespace lists
