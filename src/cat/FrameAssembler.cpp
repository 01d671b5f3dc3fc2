#include "FrameAssembler.h"

#include <utility>

namespace cat {

CFrameAssembler::CFrameAssembler(FrameSink sink) : sink_(std::move(sink)) {}

void CFrameAssembler::SetSink(FrameSink sink)
{
    sink_ = std::move(sink);
}

void CFrameAssembler::SetOverlongSink(std::function<void()> sink)
{
    overlongSink_ = std::move(sink);
}

void CFrameAssembler::Reset()
{
    count_ = 0;
}

void CFrameAssembler::Discard()
{
    if (count_ > 2)
        ++discarded_;
    count_ = 0;
}

void CFrameAssembler::Feed(const uint8_t* bytes, size_t length)
{
    if (bytes == nullptr)
        return;
    for (size_t i = 0; i < length; ++i)
        FeedByte(bytes[i]);
}

void CFrameAssembler::FeedByte(uint8_t b)
{
    const bool inFrame = count_ >= 2;  // the buffer holds FE FE and maybe more
    switch (b) {
    case kPreamble:
        if (count_ > 2)
            Discard();  // a new preamble inside a frame: the old one was cut off
        if (count_ < 2)
            buffer_[count_++] = kPreamble;
        // A third FE of a long preamble keeps FE FE.
        return;
    case kEndOfFrame:
        if (inFrame) {
            buffer_[count_++] = kEndOfFrame;
            const int length = count_;
            count_ = 0;
            if (sink_)
                sink_(buffer_, length);
        } else {
            count_ = 0;  // an end byte without a preamble is noise
        }
        return;
    case kCollision:
        Discard();  // another station talked at the same time: the frame is garbled
        return;
    default:
        if (!inFrame) {
            count_ = 0;  // a lone FE followed by noise
            return;
        }
        // Room must stay for the end byte: a frame never exceeds 256 bytes.
        if (count_ >= kMaxFrameSize - 1) {
            Discard();
            if (overlongSink_)
                overlongSink_();
            return;
        }
        buffer_[count_++] = b;
        return;
    }
}

}  // namespace cat
