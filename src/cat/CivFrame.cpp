#include "CivFrame.h"

#include <cstring>

namespace cat {

bool IsCivFrame(const uint8_t* bytes, size_t length)
{
    if (bytes == nullptr || length < 3)
        return false;
    return bytes[0] == kPreamble && bytes[1] == kPreamble && bytes[length - 1] == kEndOfFrame;
}

CivFrame CivFrame::Build(uint8_t to, uint8_t from, uint8_t command, const uint8_t* body,
                         size_t bodyLength)
{
    CivFrame frame;
    if (bodyLength > static_cast<size_t>(kMaxFrameSize - 6) || (bodyLength > 0 && body == nullptr))
        return frame;
    size_t n = 0;
    frame.bytes[n++] = kPreamble;
    frame.bytes[n++] = kPreamble;
    frame.bytes[n++] = to;
    frame.bytes[n++] = from;
    frame.bytes[n++] = command;
    if (bodyLength > 0)
        std::memcpy(frame.bytes.data() + n, body, bodyLength);
    n += bodyLength;
    frame.bytes[n++] = kEndOfFrame;
    frame.length = static_cast<int>(n);
    return frame;
}

bool CivFrame::Assign(const uint8_t* data, size_t size)
{
    bytes.fill(0);
    length = 0;
    if (size > static_cast<size_t>(kMaxFrameSize) || (size > 0 && data == nullptr))
        return false;
    if (size > 0)
        std::memcpy(bytes.data(), data, size);
    length = static_cast<int>(size);
    return true;
}

}  // namespace cat
