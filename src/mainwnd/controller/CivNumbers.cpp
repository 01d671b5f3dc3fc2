#include "CivNumbers.h"

namespace radio {

bool ReadBcd(const uint8_t* frame, int first, int count, int64_t& value)
{
    if (frame == nullptr || first < 0 || count <= 0 || count > 9)
        return false;
    int64_t result = 0;
    for (int pos = first + count - 1; pos >= first; --pos) {
        const int high = frame[pos] >> 4;
        const int low = frame[pos] & 0x0F;
        if (high > 9 || low > 9)
            return false;
        result = result * 100 + high * 10 + low;
    }
    value = result;
    return true;
}

bool DuplexOffsetToBcd(int offsetKHz, uint8_t& sub, uint8_t& d0, uint8_t& d1)
{
    if (offsetKHz < 0 || offsetKHz > 9999)
        return false;
    const int k1 = offsetKHz / 1000;
    const int k2 = offsetKHz / 100 % 10;
    const int k3 = offsetKHz / 10 % 10;
    const int k4 = offsetKHz % 10;
    sub = static_cast<uint8_t>(k4 * 16);
    d0 = static_cast<uint8_t>(k2 * 16 + k3);
    d1 = static_cast<uint8_t>(k1);
    return true;
}

std::string FormatFrequency(int64_t hz)
{
    const bool negative = hz < 0;
    // The magnitude in unsigned arithmetic: negating the most negative value would overflow.
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(hz) : static_cast<uint64_t>(hz);
    std::string digits = std::to_string(magnitude);
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        out += digits[i];
        const size_t left = n - 1 - i;
        if (left > 0 && left % 3 == 0)
            out += '.';
    }
    return negative ? "-" + out : out;
}

}  // namespace radio
