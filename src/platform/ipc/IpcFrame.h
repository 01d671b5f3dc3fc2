// Framing on a byte stream: every frame is a 4-byte little-endian body length, then the body,
// which is one type byte and its payload. Bodies are at most kMaxFrameBody bytes; an empty body
// or a longer length is malformed and the connection carrying it is closed.
//
// The type byte leaves room for several protocols on one framing (see IpcMessages.h for the
// extension protocol's messages).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::ipc {

constexpr std::size_t kFrameHeader = 4;
constexpr std::size_t kMaxFrameBody = 64 * 1024;

struct Frame {
    std::uint8_t type = 0;
    std::string payload;
};

// Appends one frame; false (nothing appended) when the payload is too long for a frame.
bool AppendFrame(std::string& out, std::uint8_t type, std::string_view payload);

// Cuts frames out of the bytes received so far.
class FrameReader {
public:
    enum class Result { Frame, NeedMore, Malformed };

    void Feed(const char* data, std::size_t size);
    // Frame: `frame` holds the next frame. Malformed stays Malformed until Reset.
    Result Next(Frame& frame);
    void Reset();
    std::size_t Buffered() const { return buffer_.size() - start_; }

private:
    std::string buffer_;
    std::size_t start_ = 0;
    bool malformed_ = false;
};

}  // namespace platform::ipc
