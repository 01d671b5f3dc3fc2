// Hand-made WAV files for the cases no writer makes: odd formats, chunks after the data,
// truncated data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "WaveFormat.h"

namespace audio_test {

using Bytes = std::vector<std::uint8_t>;

inline void Append32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void AppendChunk(Bytes& b, const char* id, const Bytes& body, std::uint32_t declared)
{
    b.insert(b.end(), id, id + 4);
    Append32(b, declared);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2)
        b.push_back(0);
}

// A "fmt " body as it stands in the file, the data bytes present, the data size the header
// declares (UINT32_MAX: the bytes present) and whole chunks after the data chunk.
inline Bytes MakeWave(const Bytes& fmt, const Bytes& data, std::uint32_t declaredData = UINT32_MAX,
                      const Bytes& trailer = {})
{
    Bytes body{'W', 'A', 'V', 'E'};
    AppendChunk(body, "fmt ", fmt, static_cast<std::uint32_t>(fmt.size()));
    const std::uint32_t declared =
        declaredData == UINT32_MAX ? static_cast<std::uint32_t>(data.size()) : declaredData;
    AppendChunk(body, "data", data, declared);
    body.insert(body.end(), trailer.begin(), trailer.end());
    Bytes file{'R', 'I', 'F', 'F'};
    Append32(file, static_cast<std::uint32_t>(body.size() + (declared - data.size())));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

inline std::string AsString(const Bytes& b)
{
    return std::string(b.begin(), b.end());
}

}  // namespace audio_test
