// A wave format as files, settings and drivers carry it: the 18-byte little-endian head
// (tag, channels, rate, bytes per second, block alignment, bits, extra size) and its extra bytes.
// Everything that takes a format from outside goes through ParseFormat, which refuses what
// would make the arithmetic below divide by zero or overrun.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace audio {

inline constexpr std::uint16_t kTagPcm = 0x0001;
inline constexpr std::uint16_t kTagAlaw = 0x0006;
inline constexpr std::uint16_t kTagMulaw = 0x0007;
inline constexpr std::uint16_t kTagImaAdpcm = 0x0011;

// The size of a stored format block (settings, the engine's copy).
inline constexpr std::size_t kFormatSize = 256;
inline constexpr std::size_t kFormatHeadSize = 18;

struct WaveFormat {
    std::uint16_t tag = kTagPcm;
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSec = 11025;
    std::uint32_t avgBytesPerSec = 11025;
    std::uint16_t blockAlign = 1;
    std::uint16_t bitsPerSample = 8;
    std::vector<std::uint8_t> extra;  // cbSize bytes

    bool operator==(const WaveFormat&) const = default;
};

using FormatBlock = std::array<std::uint8_t, kFormatSize>;

// 16 bytes (a plain PCM head without cbSize) or 18 + cbSize bytes; more is ignored. Nullopt when
// too short or invalid.
std::optional<WaveFormat> ParseFormat(const std::uint8_t* data, std::size_t size);
// Channels 1..8, rate, block alignment and bytes per second at least 1, extra bytes that fit a
// block.
bool IsValid(const WaveFormat& format);

// The head and the extra bytes (18 + cbSize), as the "fmt " chunk holds them.
std::vector<std::uint8_t> FormatBytes(const WaveFormat& format);
// The same, zero-padded to a block; nullopt when it does not fit.
std::optional<FormatBlock> ToBlock(const WaveFormat& format);

// Sample frames in one block of the format, and in `bytes` of its data (a partial last block of
// a block codec counts with the frames it holds).
std::uint32_t FramesPerBlock(const WaveFormat& format);
std::uint64_t FramesInBytes(const WaveFormat& format, std::uint64_t bytes);
// Data bytes that hold `frames` frames, rounded down to whole blocks.
std::uint64_t BytesForFrames(const WaveFormat& format, std::uint64_t frames);

// Little-endian helpers shared by the format and the file code.
inline std::uint16_t ReadLe16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t ReadLe32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
           | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void PutLe16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutLe32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace audio
