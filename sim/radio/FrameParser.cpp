#include "FrameParser.h"

namespace sim {

void FrameParser::Reset()
{
    frame_.clear();
    preambles_ = 0;
    inFrame_ = false;
}

void FrameParser::Feed(const uint8_t* bytes, size_t length, const FrameSink& sink)
{
    for (size_t i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        if (b == kCollision) {
            Reset();
            continue;
        }
        if (b == kPreamble) {
            if (inFrame_ && frame_.size() == 2)
                continue;  // a longer preamble
            if (inFrame_)
                Reset();  // FE inside a frame: start over
            if (++preambles_ == 2) {
                inFrame_ = true;
                preambles_ = 0;
                frame_.assign({kPreamble, kPreamble});
            }
            continue;
        }
        preambles_ = 0;
        if (!inFrame_)
            continue;
        if (frame_.size() + 1 > kMaxFrameBytes) {
            Reset();
            continue;
        }
        frame_.push_back(b);
        if (b == kEndOfFrame) {
            if (frame_.size() >= kMinFrameBytes)
                sink(frame_);
            Reset();
        }
    }
}

}  // namespace sim
