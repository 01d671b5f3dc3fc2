// Converts between 16-bit interleaved sample frames (what sound devices deliver and take) and
// the data bytes of a wave format, one block at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "WaveFormat.h"

namespace audio {

class SampleCodec {
public:
    virtual ~SampleCodec() = default;
    // Nullptr for a format we have no codec for (see FormatTable.h for what we offer).
    static std::unique_ptr<SampleCodec> For(const WaveFormat& format);

    std::uint32_t Channels() const { return channels_; }
    std::uint32_t BlockBytes() const { return blockBytes_; }
    std::uint32_t BlockFrames() const { return blockFrames_; }

    // BlockFrames() frames in, BlockBytes() bytes out.
    virtual void EncodeBlock(const std::int16_t* frames, std::uint8_t* out) = 0;
    // Any number of bytes in (a partial block decodes as far as it goes); frames appended.
    virtual void Decode(const std::uint8_t* bytes, std::size_t size,
                        std::vector<std::int16_t>& out) = 0;

protected:
    SampleCodec(std::uint32_t channels, std::uint32_t blockBytes, std::uint32_t blockFrames)
        : channels_(channels), blockBytes_(blockBytes), blockFrames_(blockFrames)
    {
    }

private:
    std::uint32_t channels_;
    std::uint32_t blockBytes_;
    std::uint32_t blockFrames_;
};

}  // namespace audio
