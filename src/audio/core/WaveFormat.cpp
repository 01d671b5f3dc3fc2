#include "WaveFormat.h"

#include <algorithm>

namespace audio {

bool IsValid(const WaveFormat& f)
{
    return f.channels >= 1 && f.channels <= 8 && f.samplesPerSec >= 1 && f.avgBytesPerSec >= 1
           && f.blockAlign >= 1 && kFormatHeadSize + f.extra.size() <= kFormatSize;
}

std::optional<WaveFormat> ParseFormat(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 16)
        return std::nullopt;
    WaveFormat f;
    f.tag = ReadLe16(data);
    f.channels = ReadLe16(data + 2);
    f.samplesPerSec = ReadLe32(data + 4);
    f.avgBytesPerSec = ReadLe32(data + 8);
    f.blockAlign = ReadLe16(data + 12);
    f.bitsPerSample = ReadLe16(data + 14);
    if (size >= kFormatHeadSize) {
        const std::size_t extra = ReadLe16(data + 16);
        if (kFormatHeadSize + extra > size)
            return std::nullopt;
        f.extra.assign(data + kFormatHeadSize, data + kFormatHeadSize + extra);
    }
    if (!IsValid(f))
        return std::nullopt;
    return f;
}

std::vector<std::uint8_t> FormatBytes(const WaveFormat& f)
{
    std::vector<std::uint8_t> out(kFormatHeadSize + f.extra.size());
    PutLe16(&out[0], f.tag);
    PutLe16(&out[2], f.channels);
    PutLe32(&out[4], f.samplesPerSec);
    PutLe32(&out[8], f.avgBytesPerSec);
    PutLe16(&out[12], f.blockAlign);
    PutLe16(&out[14], f.bitsPerSample);
    PutLe16(&out[16], static_cast<std::uint16_t>(f.extra.size()));
    std::copy(f.extra.begin(), f.extra.end(), out.begin() + kFormatHeadSize);
    return out;
}

std::optional<FormatBlock> ToBlock(const WaveFormat& f)
{
    if (kFormatHeadSize + f.extra.size() > kFormatSize)
        return std::nullopt;
    FormatBlock block{};
    const auto bytes = FormatBytes(f);
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

std::uint32_t FramesPerBlock(const WaveFormat& f)
{
    if (f.tag != kTagImaAdpcm || f.channels == 0)
        return 1;
    if (f.extra.size() >= 2) {
        const std::uint32_t stored = ReadLe16(f.extra.data());
        if (stored >= 1)
            return stored;
    }
    const std::uint32_t header = 4u * f.channels;
    return f.blockAlign > header ? (f.blockAlign - header) * 2u / f.channels + 1u : 1u;
}

std::uint64_t FramesInBytes(const WaveFormat& f, std::uint64_t bytes)
{
    if (f.blockAlign == 0)
        return 0;
    const std::uint64_t whole = bytes / f.blockAlign * FramesPerBlock(f);
    const std::uint64_t rest = bytes % f.blockAlign;
    const std::uint64_t header = 4u * f.channels;
    if (f.tag != kTagImaAdpcm || rest < header)
        return whole;
    return whole + std::min<std::uint64_t>((rest - header) * 2 / f.channels + 1, FramesPerBlock(f));
}

std::uint64_t BytesForFrames(const WaveFormat& f, std::uint64_t frames)
{
    return frames / FramesPerBlock(f) * f.blockAlign;
}

}  // namespace audio
