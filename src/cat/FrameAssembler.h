// Turns the byte stream of a serial line into whole CI-V frames FE FE .. FD, fed with blocks in
// any split. Bytes between frames are dropped; the radio's echo of a sent frame comes out like any
// other frame (the worker recognises it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "CivFrame.h"

namespace cat {

class CFrameAssembler {
public:
    // Called for every complete frame, on the feeding thread; the bytes are valid during the call.
    using FrameSink = std::function<void(const uint8_t* frame, int length)>;

    explicit CFrameAssembler(FrameSink sink = {});

    void SetSink(FrameSink sink);
    // Called, on the feeding thread, for a frame given up for growing beyond 256 bytes.
    void SetOverlongSink(std::function<void()> sink);
    void Feed(const uint8_t* bytes, size_t length);
    void FeedByte(uint8_t b);
    // Forgets the frame under assembly.
    void Reset();

    // Frames given up: collisions, overlong frames, a preamble restarting a frame.
    uint64_t DiscardedCount() const { return discarded_; }

private:
    void Discard();

    FrameSink sink_;
    std::function<void()> overlongSink_;
    uint8_t buffer_[kMaxFrameSize] = {};
    int count_ = 0;
    uint64_t discarded_ = 0;
};

}  // namespace cat
