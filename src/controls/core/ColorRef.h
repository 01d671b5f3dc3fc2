// Colours as the program stores and exchanges them: 0x00BBGGRR (red in the low byte).
#pragma once

#include <algorithm>
#include <cstdint>

using COLORREF = std::uint32_t;

constexpr COLORREF RgbColor(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(COLORREF c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(COLORREF c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(COLORREF c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}

// Each channel lowered by `amount`, not below 0.
constexpr COLORREF DarkenColor(COLORREF c, int amount)
{
    return RgbColor(std::max(RedOf(c) - amount, 0), std::max(GreenOf(c) - amount, 0),
                    std::max(BlueOf(c) - amount, 0));
}
