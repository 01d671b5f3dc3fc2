// Packed decimal as CI-V carries it: two digits a byte, the high nibble the tens digit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

bool IsBcdByte(uint8_t byte);
// Least significant pair first (frequencies, band edges, duplex offset). False when a nibble is
// not a decimal digit.
bool DecodeBcdLsbFirst(const uint8_t* bytes, size_t count, uint64_t& value);
void AppendBcdLsbFirst(uint64_t value, size_t count, std::vector<uint8_t>& out);
// Most significant pair first (memory channel numbers, meter readings).
bool DecodeBcdMsbFirst(const uint8_t* bytes, size_t count, uint64_t& value);
void AppendBcdMsbFirst(uint64_t value, size_t count, std::vector<uint8_t>& out);

}  // namespace sim
