#include "BcdDigits.h"

namespace sim {

bool IsBcdByte(uint8_t byte)
{
    return (byte >> 4) <= 9 && (byte & 0x0F) <= 9;
}

bool DecodeBcdLsbFirst(const uint8_t* bytes, size_t count, uint64_t& value)
{
    uint64_t result = 0;
    for (size_t i = count; i-- > 0;) {
        if (!IsBcdByte(bytes[i]))
            return false;
        result = result * 100 + (bytes[i] >> 4) * 10 + (bytes[i] & 0x0F);
    }
    value = result;
    return true;
}

void AppendBcdLsbFirst(uint64_t value, size_t count, std::vector<uint8_t>& out)
{
    for (size_t i = 0; i < count; ++i) {
        const unsigned pair = static_cast<unsigned>(value % 100);
        value /= 100;
        out.push_back(static_cast<uint8_t>(((pair / 10) << 4) | (pair % 10)));
    }
}

bool DecodeBcdMsbFirst(const uint8_t* bytes, size_t count, uint64_t& value)
{
    uint64_t result = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!IsBcdByte(bytes[i]))
            return false;
        result = result * 100 + (bytes[i] >> 4) * 10 + (bytes[i] & 0x0F);
    }
    value = result;
    return true;
}

void AppendBcdMsbFirst(uint64_t value, size_t count, std::vector<uint8_t>& out)
{
    const size_t start = out.size();
    AppendBcdLsbFirst(value, count, out);
    for (size_t i = 0; i < count / 2; ++i)
        std::swap(out[start + i], out[start + count - 1 - i]);
}

}  // namespace sim
