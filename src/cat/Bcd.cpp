#include "Bcd.h"

#include <cstring>
#include <limits>

namespace cat {

int64_t BcdToNumber(const uint8_t* frame, size_t length)
{
    if (frame == nullptr || length < 7)
        return 0;
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (size_t pos = length - 2; pos >= 5; --pos) {
        const int nibbles[2] = {frame[pos] >> 4, frame[pos] & 0x0F};
        for (int digit : nibbles) {
            if (digit > 9)
                return value;
            if (value > (kMax - digit) / 10)
                return kMax;
            value = value * 10 + digit;
        }
    }
    return value;
}

bool NumberToBcd(int64_t value, uint8_t* out, int byteCount)
{
    if (out == nullptr || byteCount <= 0)
        return false;
    std::memset(out, 0, static_cast<size_t>(byteCount));
    if (value < 0)
        return false;
    int64_t rest = value;
    for (int i = 0; i < byteCount; ++i) {
        const int low = static_cast<int>(rest % 10);
        rest /= 10;
        const int high = static_cast<int>(rest % 10);
        rest /= 10;
        out[i] = static_cast<uint8_t>((high << 4) | low);
    }
    if (rest != 0) {
        std::memset(out, 0, static_cast<size_t>(byteCount));
        return false;
    }
    return true;
}

int64_t FrequencyToBcd(int64_t frequencyHz, int64_t lowerHz, int64_t upperHz, uint8_t out[5])
{
    std::memset(out, 0, 5);
    if (frequencyHz < lowerHz || frequencyHz > upperHz)
        return 0;
    return NumberToBcd(frequencyHz, out, 5) ? frequencyHz : 0;
}

}  // namespace cat
