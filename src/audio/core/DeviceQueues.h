// The buffer bookkeeping every device back-end shares: an input turns 16-bit frames into the
// format's bytes and fills the queued buffers in order; an output turns queued buffers into
// frames and hands them out in order. Both post the finished buffers (see WaveDevices.h) while
// holding their lock, so the window sees them in order. Any thread.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "SampleCodec.h"
#include "WaveDevices.h"

namespace audio {

class CaptureQueue {
public:
    CaptureQueue(std::unique_ptr<SampleCodec> codec, DeviceTarget target);

    void Add(WaveHeader& header);
    // Frames in; a buffer is posted when no further whole block fits into it.
    void Feed(const std::int16_t* frames, std::size_t count);
    // Posts every queued buffer with what it holds; the frames of an unfinished block are
    // dropped.
    void ReturnAll();
    bool HasBuffer() const;
    // Frames still wanted before the first queued buffer is full (0 without a buffer).
    std::size_t FramesWanted() const;
    std::int64_t FramesDone() const;

private:
    void PostFront();

    mutable std::mutex mutex_;
    std::unique_ptr<SampleCodec> codec_;
    DeviceTarget target_;
    std::deque<WaveHeader*> queue_;
    std::vector<std::int16_t> pending_;  // frames of the block being gathered
    std::int64_t framesDone_ = 0;
};

class PlaybackQueue {
public:
    PlaybackQueue(std::unique_ptr<SampleCodec> codec, DeviceTarget target);

    // Decodes the buffer at once; it is posted when its last frame has been taken.
    void Add(WaveHeader& header);
    // Up to `count` frames into `out` (interleaved); returns how many there were. The rest of
    // `out` is left alone.
    std::size_t Take(std::int16_t* out, std::size_t count);
    void ReturnAll();
    std::size_t FramesQueued() const;
    std::int64_t FramesDone() const;
    std::uint32_t Channels() const { return codec_->Channels(); }

private:
    struct Entry {
        WaveHeader* header;
        std::vector<std::int16_t> samples;
        std::size_t taken = 0;  // samples
    };
    void PostFinished();

    mutable std::mutex mutex_;
    std::unique_ptr<SampleCodec> codec_;
    DeviceTarget target_;
    std::deque<Entry> queue_;
    std::int64_t framesDone_ = 0;
};

}  // namespace audio
