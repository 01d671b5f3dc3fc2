#include "G711.h"

namespace audio {

namespace {

// The segment of a magnitude: the first end it does not exceed, 8 when above all.
int Segment(int value, const int (&ends)[8])
{
    for (int i = 0; i < 8; ++i)
        if (value <= ends[i])
            return i;
    return 8;
}

constexpr int kAlawEnds[8] = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};
constexpr int kMulawEnds[8] = {0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF, 0x1FFF};
constexpr int kMulawBias = 0x84;
constexpr int kMulawClip = 8159;

}  // namespace

std::uint8_t LinearToAlaw(std::int16_t sample)
{
    int value = sample >> 3;
    int mask = 0xD5;
    if (value < 0) {
        mask = 0x55;
        value = -value - 1;
    }
    const int seg = Segment(value, kAlawEnds);
    if (seg >= 8)
        return static_cast<std::uint8_t>(0x7F ^ mask);
    int code = seg << 4;
    code |= seg < 2 ? (value >> 1) & 0x0F : (value >> seg) & 0x0F;
    return static_cast<std::uint8_t>(code ^ mask);
}

std::int16_t AlawToLinear(std::uint8_t code)
{
    const int c = code ^ 0x55;
    int t = (c & 0x0F) << 4;
    const int seg = (c & 0x70) >> 4;
    if (seg == 0)
        t += 8;
    else
        t = (t + 0x108) << (seg - 1);
    return static_cast<std::int16_t>((c & 0x80) ? t : -t);
}

std::uint8_t LinearToMulaw(std::int16_t sample)
{
    int value = sample >> 2;
    int mask = 0xFF;
    if (value < 0) {
        value = -value;
        mask = 0x7F;
    }
    if (value > kMulawClip)
        value = kMulawClip;
    value += kMulawBias >> 2;
    const int seg = Segment(value, kMulawEnds);
    if (seg >= 8)
        return static_cast<std::uint8_t>(0x7F ^ mask);
    const int code = (seg << 4) | ((value >> (seg + 1)) & 0x0F);
    return static_cast<std::uint8_t>(code ^ mask);
}

std::int16_t MulawToLinear(std::uint8_t code)
{
    const int c = ~code & 0xFF;
    int t = ((c & 0x0F) << 3) + kMulawBias;
    t <<= (c & 0x70) >> 4;
    return static_cast<std::int16_t>((c & 0x80) ? kMulawBias - t : t - kMulawBias);
}

}  // namespace audio
