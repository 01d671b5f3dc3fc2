#include "IpcFrame.h"

namespace platform::ipc {

bool AppendFrame(std::string& out, std::uint8_t type, std::string_view payload)
{
    const std::size_t body = payload.size() + 1;
    if (body > kMaxFrameBody)
        return false;
    const auto len = static_cast<std::uint32_t>(body);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((len >> (8 * i)) & 0xFF));
    out.push_back(static_cast<char>(type));
    out.append(payload);
    return true;
}

void FrameReader::Feed(const char* data, std::size_t size)
{
    if (malformed_ || size == 0)
        return;
    // Drop what was consumed before growing, so a long-lived connection does not accumulate.
    if (start_ > 0 && (start_ == buffer_.size() || start_ >= 4096)) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(data, size);
}

FrameReader::Result FrameReader::Next(Frame& frame)
{
    if (malformed_)
        return Result::Malformed;
    const std::size_t avail = buffer_.size() - start_;
    if (avail < kFrameHeader)
        return Result::NeedMore;
    const auto* p = reinterpret_cast<const unsigned char*>(buffer_.data() + start_);
    const std::uint32_t len = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8)
                              | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
    if (len == 0 || len > kMaxFrameBody) {
        malformed_ = true;
        buffer_.clear();
        start_ = 0;
        return Result::Malformed;
    }
    if (avail - kFrameHeader < len)
        return Result::NeedMore;
    frame.type = p[kFrameHeader];
    frame.payload.assign(buffer_, start_ + kFrameHeader + 1, len - 1);
    start_ += kFrameHeader + len;
    return Result::Frame;
}

void FrameReader::Reset()
{
    buffer_.clear();
    start_ = 0;
    malformed_ = false;
}

}  // namespace platform::ipc
