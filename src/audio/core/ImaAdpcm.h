// 4-bit IMA ADPCM in the block layout of WAV files: per block and channel a 4-byte head
// (first sample, step index, 0), then the remaining samples as nibbles, low nibble first,
// the channels interleaved in 4-byte groups of 8 samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace audio {

// Frames in a block of `blockBytes` bytes for `channels` channels.
std::uint32_t ImaFramesPerBlock(std::uint32_t blockBytes, std::uint32_t channels);

class ImaEncoder {
public:
    ImaEncoder(std::uint32_t blockBytes, std::uint32_t channels);
    // Encodes ImaFramesPerBlock interleaved frames into one block of blockBytes bytes.
    void EncodeBlock(const std::int16_t* frames, std::uint8_t* out);

private:
    std::uint32_t blockBytes_;
    std::uint32_t channels_;
    std::vector<int> index_;  // carried from block to block, per channel
};

// Decodes one block, or the part of one that is there, appending interleaved frames to `out`.
void ImaDecodeBlock(const std::uint8_t* block, std::size_t size, std::uint32_t channels,
                    std::uint32_t framesPerBlock, std::vector<std::int16_t>& out);

}  // namespace audio
