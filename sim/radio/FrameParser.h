// Gathers CI-V frames (FE FE .. FD) out of a byte stream in any split. A collision byte FC or an
// FE inside a frame spoils that frame; a frame that grows past 256 bytes is dropped; bytes
// outside frames are skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "CivCodes.h"

namespace sim {

using civ::kCollision;
using civ::kEndOfFrame;
using civ::kNg;
using civ::kOk;
using civ::kPreamble;
constexpr size_t kMaxFrameBytes = 256;
constexpr size_t kMinFrameBytes = 6;  // FE FE to from command FD

class FrameParser {
public:
    using FrameSink = std::function<void(const std::vector<uint8_t>& frame)>;

    void Feed(const uint8_t* bytes, size_t length, const FrameSink& sink);
    void Reset();

private:
    std::vector<uint8_t> frame_;
    int preambles_ = 0;  // FE bytes seen outside a frame
    bool inFrame_ = false;
};

}  // namespace sim
