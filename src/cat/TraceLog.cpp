#include "TraceLog.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace cat {

CTraceLog::~CTraceLog()
{
    Close();
}

bool CTraceLog::Open(const std::string& path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd_ >= 0;
}

void CTraceLog::Close()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool CTraceLog::IsOpen() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return fd_ >= 0;
}

std::string CTraceLog::Hex(const uint8_t* bytes, size_t length)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    if (bytes == nullptr)
        return text;
    text.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        text.push_back(kDigits[bytes[i] >> 4]);
        text.push_back(kDigits[bytes[i] & 0x0F]);
    }
    return text;
}

void CTraceLog::WriteFrame(std::string_view prefix, const uint8_t* bytes, size_t length, int flagFB)
{
    char tail[32];
    std::snprintf(tail, sizeof tail, " - flagFB=%d\r\n", flagFB);
    WriteBytes(prefix, bytes, length, tail);
}

void CTraceLog::WriteBytes(std::string_view prefix, const uint8_t* bytes, size_t length,
                           std::string_view suffix)
{
    if (!IsOpen())
        return;
    std::string line(prefix);
    line += Hex(bytes, length);
    line += suffix;
    WriteLine(line);
}

void CTraceLog::WriteText(std::string_view text)
{
    if (!IsOpen())
        return;
    WriteLine(std::string(text));
}

void CTraceLog::WriteLine(const std::string& line)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd_ < 0)
        return;
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;  // disk full, file gone: the line is lost, nothing else
        done += static_cast<size_t>(n);
    }
}

}  // namespace cat
