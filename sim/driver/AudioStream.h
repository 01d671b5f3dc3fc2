// The receiver audio the driver delivers: after Start a format block (first byte 1, then the
// 18-byte format: PCM, 8000 Hz, 16 bit, mono), then every 20 ms a block of 160 samples (first
// byte 0): a 1 kHz tone while the squelch is open, quiet noise while it is closed. Blocks are
// posted from the stream's own thread at real pace; a paused stream posts nothing.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "BlockRing.h"
#include "VekDriverApi.h"

namespace simdriver {

class AudioStream {
public:
    static constexpr int kRate = 8000;
    static constexpr int kBlockMs = 20;
    static constexpr int kBlockFrames = kRate * kBlockMs / 1000;
    using AudioRing = BlockRing<64, 1 + 2 * kBlockFrames>;

    ~AudioStream() { Stop(); }

    // `squelchOpen` is asked once a block, from the stream's thread.
    void Start(DrvPostFn post, void* context, unsigned msgAudio, std::function<bool()> squelchOpen);
    void Pause(bool pause) { paused_ = pause; }
    // Once it returns, nothing is posted any more.
    void Stop();
    const unsigned char* Block(intptr_t handle) const { return ring_.Find(handle); }

private:
    void Run(DrvPostFn post, void* context, unsigned msgAudio, std::function<bool()> squelchOpen);

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::atomic<bool> paused_{false};
    std::thread thread_;
    AudioRing ring_;
};

}  // namespace simdriver
