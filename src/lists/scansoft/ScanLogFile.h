// The scan log "LogSQL.Dat" while a scan runs: one line per squelch opening. After a failed
// write the scan says so once and goes on without log.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

class CLanguage;

namespace lists {

// The fields of one log line.
struct ScanLogEvent {
    std::tm when{};
    int64_t position = 0;
    std::string signal;
    int64_t audioStart = -1;
    int64_t audioBytes = 0;
};

// The line as the scan log dialog reads it.
std::string ScanLogLine(const ScanLogEvent& event);

class CScanLogFile {
public:
    explicit CScanLogFile(const CLanguage& language) : language_(language) {}
    ~CScanLogFile() { Close(); }
    CScanLogFile(const CScanLogFile&) = delete;
    CScanLogFile& operator=(const CScanLogFile&) = delete;

    // A fresh scan empties the file, a resumed one appends; false (message 145) when it cannot.
    bool Open(const std::string& path, bool append);
    bool IsOpen() const { return file_ != nullptr; }
    // Writes and flushes the line; a failure shows message 113 and closes the log.
    void Write(const ScanLogEvent& event);
    void Close();

private:
    const CLanguage& language_;
    std::FILE* file_ = nullptr;
};

}  // namespace lists
