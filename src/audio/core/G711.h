// The two companding laws of 8-bit telephone audio, one sample at a time.
#pragma once

#include <cstdint>

namespace audio {

std::uint8_t LinearToAlaw(std::int16_t sample);
std::int16_t AlawToLinear(std::uint8_t code);
std::uint8_t LinearToMulaw(std::int16_t sample);
std::int16_t MulawToLinear(std::uint8_t code);

}  // namespace audio
