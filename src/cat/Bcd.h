// Packed-decimal numbers of the CI-V bus: two digits a byte, least significant byte first, the
// tens digit of each pair in the high nibble.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cat {

// The number in the data bytes of a reply: bytes from position length - 2 down to position 5,
// read as decimal digits. Reading stops at the first nibble that is not a decimal digit (an
// empty frequency FF reads as 0); a result that would not fit saturates instead of overflowing.
int64_t BcdToNumber(const uint8_t* frame, size_t length);

// Packs `value` into `byteCount` bytes. False, with the bytes zeroed, when it has more digits
// than fit (or is negative).
bool NumberToBcd(int64_t value, uint8_t* out, int byteCount);

// The five frequency bytes of command 05; returns the frequency, or 0 with the bytes zeroed when
// it lies outside [lower, upper].
int64_t FrequencyToBcd(int64_t frequencyHz, int64_t lowerHz, int64_t upperHz, uint8_t out[5]);

}  // namespace cat
