// The optional CI-V traffic log: "TX:"/"RX:" lines of frame bytes as two hex digits each, written
// by the worker and the main window at once. Every line goes out in one write; a failing write is
// ignored (the log never stops the radio link).
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace cat {

class CTraceLog {
public:
    CTraceLog() = default;
    ~CTraceLog();
    CTraceLog(const CTraceLog&) = delete;
    CTraceLog& operator=(const CTraceLog&) = delete;

    // Creates or truncates the file; false when it cannot be opened.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const;

    // prefix + bytes as "%02X" without separators + " - flagFB=%d\r\n".
    void WriteFrame(std::string_view prefix, const uint8_t* bytes, size_t length, int flagFB);
    // prefix + bytes as "%02X" + suffix.
    void WriteBytes(std::string_view prefix, const uint8_t* bytes, size_t length,
                    std::string_view suffix);
    void WriteText(std::string_view text);

    // Hex digits of the bytes, "FEFE58E003FD".
    static std::string Hex(const uint8_t* bytes, size_t length);

private:
    void WriteLine(const std::string& line);

    mutable std::mutex mutex_;
    int fd_ = -1;
};

}  // namespace cat
