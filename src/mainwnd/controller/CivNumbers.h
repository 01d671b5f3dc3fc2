// Numbers on the CI-V bus as the controller reads and writes them, and how they are shown.
#pragma once

#include <cstdint>
#include <string>

namespace radio {

// The packed-decimal number in `count` bytes from frame[first] on, least significant pair
// first. False when a nibble is not a decimal digit (a garbled or foreign reply).
bool ReadBcd(const uint8_t* frame, int first, int count, int64_t& value);

// The three bytes of command 0D for an offset in kHz (100-Hz units, least significant pair
// first: 600 kHz gives 00 60 00). False for a value outside 0..9999, which would not fit.
bool DuplexOffsetToBcd(int offsetKHz, uint8_t& sub, uint8_t& d0, uint8_t& d1);

// A frequency as the frequency display shows it: groups of three digits, "14.250.000".
std::string FormatFrequency(int64_t hz);

}  // namespace radio
