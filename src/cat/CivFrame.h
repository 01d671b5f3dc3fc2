// CI-V frames as the program handles them: FE FE, destination, source, command, optional
// sub-command and data, FD; at most 256 bytes in all.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "CivCodes.h"

namespace cat {

using civ::kCollision;
using civ::kControllerAddress;
using civ::kEndOfFrame;
using civ::kPreamble;
constexpr uint8_t kReplyOk = civ::kOk;
constexpr uint8_t kReplyNg = civ::kNg;
constexpr int kMaxFrameSize = 256;

// Fixed positions inside a frame.
constexpr int kPosDestination = 2;
constexpr int kPosSource = 3;
constexpr int kPosCommand = 4;
constexpr int kPosSubCommand = 5;

// True when the bytes start with FE FE and end with FD. Nothing else is tested; anything shorter
// than 3 bytes cannot satisfy both and is refused without being read past its end.
bool IsCivFrame(const uint8_t* bytes, size_t length);

// One frame in a fixed buffer; building never allocates.
struct CivFrame {
    std::array<uint8_t, kMaxFrameSize> bytes{};
    int length = 0;

    // FE FE to from command [body...] FD. An empty frame (length 0) when it would not fit.
    static CivFrame Build(uint8_t to, uint8_t from, uint8_t command, const uint8_t* body = nullptr,
                          size_t bodyLength = 0);
    // Copies raw bytes; false (and length 0) when there are more than 256.
    bool Assign(const uint8_t* data, size_t size);

    const uint8_t* data() const { return bytes.data(); }
    size_t size() const { return static_cast<size_t>(length); }
    bool IsFrame() const { return IsCivFrame(bytes.data(), size()); }
};

}  // namespace cat
