#include "ImaAdpcm.h"

#include <algorithm>

#include "WaveFormat.h"

namespace audio {

namespace {

constexpr int kSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int kIndexShift[8] = {-1, -1, -1, -1, 2, 4, 6, 8};

struct Channel {
    int predictor = 0;
    int index = 0;

    int Decode(int nibble)
    {
        const int step = kSteps[index];
        int diff = step >> 3;
        if (nibble & 4)
            diff += step;
        if (nibble & 2)
            diff += step >> 1;
        if (nibble & 1)
            diff += step >> 2;
        predictor = std::clamp(nibble & 8 ? predictor - diff : predictor + diff, -32768, 32767);
        index = std::clamp(index + kIndexShift[nibble & 7], 0, 88);
        return predictor;
    }
    int Encode(int sample)
    {
        int diff = sample - predictor;
        int nibble = 0;
        if (diff < 0) {
            nibble = 8;
            diff = -diff;
        }
        int step = kSteps[index];
        for (int bit = 4; bit >= 1; bit >>= 1) {
            if (diff >= step) {
                nibble |= bit;
                diff -= step;
            }
            step >>= 1;
        }
        Decode(nibble);  // keeps the predictor where the decoder will be
        return nibble;
    }
};

}  // namespace

std::uint32_t ImaFramesPerBlock(std::uint32_t blockBytes, std::uint32_t channels)
{
    const std::uint32_t head = 4 * channels;
    return channels == 0 || blockBytes <= head ? 1 : (blockBytes - head) * 2 / channels + 1;
}

ImaEncoder::ImaEncoder(std::uint32_t blockBytes, std::uint32_t channels)
    : blockBytes_(blockBytes), channels_(channels), index_(channels, 0)
{
}

void ImaEncoder::EncodeBlock(const std::int16_t* frames, std::uint8_t* out)
{
    std::fill(out, out + blockBytes_, 0);
    const std::uint32_t frameCount = ImaFramesPerBlock(blockBytes_, channels_);
    for (std::uint32_t c = 0; c < channels_; ++c) {
        Channel ch{frames[c], index_[c]};
        PutLe16(out + 4 * c, static_cast<std::uint16_t>(frames[c]));
        out[4 * c + 2] = static_cast<std::uint8_t>(ch.index);
        // Sample n (from 1) of channel c goes into group (n-1)/8, nibble (n-1)%8.
        for (std::uint32_t n = 1; n < frameCount; ++n) {
            const int nibble = ch.Encode(frames[n * channels_ + c]);
            const std::uint32_t k = n - 1;
            const std::uint32_t byte =
                4 * channels_ + (k / 8) * 4 * channels_ + 4 * c + (k % 8) / 2;
            out[byte] |= static_cast<std::uint8_t>(k % 2 ? nibble << 4 : nibble);
        }
        index_[c] = ch.index;
    }
}

void ImaDecodeBlock(const std::uint8_t* block, std::size_t size, std::uint32_t channels,
                    std::uint32_t framesPerBlock, std::vector<std::int16_t>& out)
{
    const std::size_t head = 4 * channels;
    if (channels == 0 || size < head)
        return;
    std::uint32_t frames = framesPerBlock;
    const std::size_t complete = 1 + (size - head) * 2 / channels;
    if (complete < frames)
        frames = static_cast<std::uint32_t>(complete);
    const std::size_t base = out.size();
    out.resize(base + static_cast<std::size_t>(frames) * channels);
    for (std::uint32_t c = 0; c < channels; ++c) {
        Channel ch{static_cast<std::int16_t>(ReadLe16(block + 4 * c)),
                   std::min<int>(block[4 * c + 2], 88)};
        out[base + c] = static_cast<std::int16_t>(ch.predictor);
        for (std::uint32_t n = 1; n < frames; ++n) {
            const std::uint32_t k = n - 1;
            const std::size_t byte = head + (k / 8) * head + 4 * c + (k % 8) / 2;
            if (byte >= size)
                break;
            const int nibble = k % 2 ? block[byte] >> 4 : block[byte] & 0x0F;
            out[base + static_cast<std::size_t>(n) * channels + c] =
                static_cast<std::int16_t>(ch.Decode(nibble));
        }
    }
}

}  // namespace audio
