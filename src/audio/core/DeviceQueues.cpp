#include "DeviceQueues.h"

#include <algorithm>
#include <cstring>

#include "WindowMessages.h"

namespace audio {

CaptureQueue::CaptureQueue(std::unique_ptr<SampleCodec> codec, DeviceTarget target)
    : codec_(std::move(codec)), target_(std::move(target))
{
    pending_.reserve(static_cast<std::size_t>(codec_->BlockFrames()) * codec_->Channels());
}

void CaptureQueue::Add(WaveHeader& header)
{
    std::lock_guard<std::mutex> lock(mutex_);
    header.bytesRecorded = 0;
    queue_.push_back(&header);
    // A buffer too small for one block could never be filled.
    if (header.bufferLength < codec_->BlockBytes())
        PostFront();
}

void CaptureQueue::PostFront()
{
    WaveHeader* h = queue_.front();
    queue_.pop_front();
    target_.window.Post(msg::kWimData, target_.session, reinterpret_cast<std::intptr_t>(h));
}

void CaptureQueue::Feed(const std::int16_t* frames, std::size_t count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t channels = codec_->Channels();
    const std::size_t blockSamples = static_cast<std::size_t>(codec_->BlockFrames()) * channels;
    framesDone_ += static_cast<std::int64_t>(count);
    std::size_t at = 0;
    const std::size_t total = count * channels;
    while (at < total && !queue_.empty()) {
        const std::size_t n = std::min(blockSamples - pending_.size(), total - at);
        pending_.insert(pending_.end(), frames + at, frames + at + n);
        at += n;
        if (pending_.size() < blockSamples)
            break;
        WaveHeader* h = queue_.front();
        codec_->EncodeBlock(pending_.data(), h->data + h->bytesRecorded);
        h->bytesRecorded += codec_->BlockBytes();
        pending_.clear();
        if (h->bytesRecorded + codec_->BlockBytes() > h->bufferLength)
            PostFront();
    }
}

void CaptureQueue::ReturnAll()
{
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.clear();
    while (!queue_.empty())
        PostFront();
}

bool CaptureQueue::HasBuffer() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return !queue_.empty();
}

std::size_t CaptureQueue::FramesWanted() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.empty())
        return 0;
    const WaveHeader* h = queue_.front();
    const std::size_t blocks = (h->bufferLength - h->bytesRecorded) / codec_->BlockBytes();
    return blocks * codec_->BlockFrames() - pending_.size() / codec_->Channels();
}

std::int64_t CaptureQueue::FramesDone() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return framesDone_;
}

PlaybackQueue::PlaybackQueue(std::unique_ptr<SampleCodec> codec, DeviceTarget target)
    : codec_(std::move(codec)), target_(std::move(target))
{
}

void PlaybackQueue::Add(WaveHeader& header)
{
    Entry entry{&header, {}, 0};
    codec_->Decode(header.data, header.bufferLength, entry.samples);
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(entry));
    PostFinished();
}

void PlaybackQueue::PostFinished()
{
    while (!queue_.empty() && queue_.front().taken >= queue_.front().samples.size()) {
        WaveHeader* h = queue_.front().header;
        queue_.pop_front();
        target_.window.Post(msg::kWomDone, target_.session, reinterpret_cast<std::intptr_t>(h));
    }
}

std::size_t PlaybackQueue::Take(std::int16_t* out, std::size_t count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t channels = codec_->Channels();
    std::size_t done = 0;
    while (done < count && !queue_.empty()) {
        Entry& e = queue_.front();
        const std::size_t n = std::min((count - done) * channels, e.samples.size() - e.taken);
        std::memcpy(out + done * channels, e.samples.data() + e.taken, n * sizeof(std::int16_t));
        e.taken += n;
        done += n / channels;
        PostFinished();
    }
    framesDone_ += static_cast<std::int64_t>(done);
    return done;
}

void PlaybackQueue::ReturnAll()
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (Entry& e : queue_)
        e.taken = e.samples.size();
    PostFinished();
    framesDone_ = 0;
}

std::size_t PlaybackQueue::FramesQueued() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t samples = 0;
    for (const Entry& e : queue_)
        samples += e.samples.size() - e.taken;
    return samples / codec_->Channels();
}

std::int64_t PlaybackQueue::FramesDone() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return framesDone_;
}

}  // namespace audio
