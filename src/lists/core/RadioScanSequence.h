// What the radio-scan page sends to start the radio's own scan: the two scan-edge channels (100
// and 101) programmed with start and end, the radio back on its VFO at the start, then the step.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace lists {

// One command as the controller's SendCommand takes it (command, sub-command, data bytes).
struct ScanCommand {
    uint8_t command = 0;
    uint8_t sub = 0;
    std::vector<uint8_t> data;
    friend bool operator==(const ScanCommand&, const ScanCommand&) = default;
};

// The mode code of a mode name ("LSB" 0 ... "WFM" 6); nothing for another name.
std::optional<uint8_t> ScanModeCode(std::string_view name);
inline constexpr uint8_t kWfmCode = 6;
// The filter byte of command 06: 2 narrow, 1 normal (WFM never narrow).
uint8_t ScanFilterByte(uint8_t mode, bool narrow);

// The edges and the return to the VFO at the start (the step and the start come after).
std::vector<ScanCommand> BandScanEdges(int64_t startHz, int64_t endHz, uint8_t mode,
                                       uint8_t filterByte);
// 10 with the step code.
ScanCommand ScanStepCommand(int stepIndex);

}  // namespace lists
