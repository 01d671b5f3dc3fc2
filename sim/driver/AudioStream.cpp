#include "AudioStream.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

namespace simdriver {

namespace {

void PutLe16(std::vector<uint8_t>& out, int value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void PutLe32(std::vector<uint8_t>& out, uint32_t value)
{
    PutLe16(out, static_cast<int>(value & 0xFFFF));
    PutLe16(out, static_cast<int>(value >> 16));
}

std::vector<uint8_t> FormatBlock()
{
    std::vector<uint8_t> block{1};
    PutLe16(block, 1);  // PCM
    PutLe16(block, 1);  // mono
    PutLe32(block, AudioStream::kRate);
    PutLe32(block, AudioStream::kRate * 2);
    PutLe16(block, 2);
    PutLe16(block, 16);
    PutLe16(block, 0);
    return block;
}

}  // namespace

void AudioStream::Start(DrvPostFn post, void* context, unsigned msgAudio,
                        std::function<bool()> squelchOpen)
{
    Stop();
    stopping_ = false;
    paused_ = false;
    thread_ = std::thread(&AudioStream::Run, this, post, context, msgAudio, std::move(squelchOpen));
}

void AudioStream::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void AudioStream::Run(DrvPostFn post, void* context, unsigned msgAudio,
                      std::function<bool()> squelchOpen)
{
    auto announce = [&](const std::vector<uint8_t>& block) {
        const intptr_t handle = ring_.Store(block);
        if (handle != 0 && post)
            post(context, msgAudio, block.size(), handle);
    };
    announce(FormatBlock());
    uint64_t frame = 0;
    uint32_t noise = 12345;
    auto next = std::chrono::steady_clock::now();
    std::vector<uint8_t> block;
    for (;;) {
        next += std::chrono::milliseconds(kBlockMs);
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (wake_.wait_until(lock, next, [this] { return stopping_; }))
                return;
        }
        if (paused_)
            continue;
        const bool tone = squelchOpen && squelchOpen();
        block.assign(1, 0);
        for (int i = 0; i < kBlockFrames; ++i, ++frame) {
            int sample;
            if (tone) {
                sample = static_cast<int>(12000.0 * std::sin(2.0 * M_PI * 1000.0 * frame / kRate));
            } else {
                noise = noise * 1103515245u + 12345u;
                sample = static_cast<int>((noise >> 16) % 401) - 200;
            }
            PutLe16(block, sample);
        }
        announce(block);
    }
}

}  // namespace simdriver
