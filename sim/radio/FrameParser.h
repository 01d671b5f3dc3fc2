// Gathers CI-V frames (FE FE .. FD) out of a byte stream in any split. A collision byte FC or an
// FE inside a frame spoils that frame; a frame that grows past 256 bytes is dropped; bytes
// outside frames are skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace sim {

constexpr uint8_t kPreamble = 0xFE;
constexpr uint8_t kEndOfFrame = 0xFD;
constexpr uint8_t kCollision = 0xFC;
constexpr uint8_t kOk = 0xFB;
constexpr uint8_t kNg = 0xFA;
constexpr size_t kMaxFrameBytes = 256;
constexpr size_t kMinFrameBytes = 6;   // FE FE to from command FD

class FrameParser {
public:
    using FrameSink = std::function<void(const std::vector<uint8_t>& frame)>;

    void Feed(const uint8_t* bytes, size_t length, const FrameSink& sink);
    void Reset();

private:
    std::vector<uint8_t> frame_;
    int preambles_ = 0;     // FE bytes seen outside a frame
    bool inFrame_ = false;
};

}  // namespace sim
