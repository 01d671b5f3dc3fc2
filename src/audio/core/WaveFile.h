// RIFF/WAV files: finding the parts of one (ParseWave works on any byte source, so it is tested
// on damaged input without files), reading the data of one, and writing one.
//
// Error numbers are those the engine passes on (10 + n from its file steps):
//   reading:  1 cannot open, 2 no RIFF "WAVE", 3 no "fmt ", 4 "fmt " larger than kFormatSize,
//             5 "fmt " short or invalid, 6 no "data", 8 a seek failed, 9 "data" is not the last
//             chunk (append only)
//   writing: 11 cannot create, 12..17 the header could not be written
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "WaveFormat.h"

namespace audio {

struct WaveLayout {
    WaveFormat format;
    std::uint64_t fileSize = 0;
    std::uint32_t dataStart = 0;    // file offset of the first data byte
    std::uint32_t dataSize = 0;     // data bytes present (a truncated file has fewer than declared)
    bool dataIsLast = false;        // nothing but a pad byte follows the data
    std::int64_t factValueAt = -1;  // file offset of the "fact" sample count, -1 without one
};

// Reads `n` bytes at `offset` into `out`; returns how many it read.
using ReadAt = std::function<std::size_t(std::uint64_t offset, std::uint8_t* out, std::size_t n)>;
int ParseWave(const ReadAt& read, std::uint64_t size, WaveLayout& out);
int ReadWaveLayout(const std::string& path, WaveLayout& out);

class WaveFileReader {
public:
    WaveFileReader() = default;
    ~WaveFileReader();
    WaveFileReader(const WaveFileReader&) = delete;
    WaveFileReader& operator=(const WaveFileReader&) = delete;

    int Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const WaveLayout& Layout() const { return layout_; }
    // Positions the next read at a data offset (0 = the first data byte).
    bool SeekData(std::uint32_t dataOffset);
    // Up to n bytes of data from the position; 0 at the end of what the file holds.
    std::size_t Read(std::uint8_t* out, std::size_t n);

private:
    int fd_ = -1;
    WaveLayout layout_;
    std::uint32_t position_ = 0;
};

// A new file is written under a temporary name in the same folder and takes the real name only
// when Finish succeeds, so a failed recording leaves an older file of that name as it was.
// An appended file gets its samples after the old ones; Finish fixes its sizes.
class WaveFileWriter {
public:
    WaveFileWriter() = default;
    ~WaveFileWriter();  // an unfinished file is abandoned
    WaveFileWriter(const WaveFileWriter&) = delete;
    WaveFileWriter& operator=(const WaveFileWriter&) = delete;

    int Create(const std::string& path, const WaveFormat& format);
    // The file's own format is Format() afterwards.
    int OpenForAppend(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    const WaveFormat& Format() const { return format_; }

    bool Write(const std::uint8_t* data, std::size_t n);
    // Sizes, pad byte and sample count written, flushed, renamed into place; false when any of
    // it failed (a new file is then removed, the old one kept).
    bool Finish();
    void Abandon();

    // File offset after the last data byte.
    std::uint64_t Offset() const { return dataStart_ + dataBytes_; }
    std::uint64_t DataBytes() const { return dataBytes_; }

private:
    int fd_ = -1;
    bool appending_ = false;
    std::string path_;
    std::string tempPath_;
    WaveFormat format_;
    std::uint32_t dataStart_ = 0;
    std::uint64_t dataBytes_ = 0;
    std::int64_t factValueAt_ = -1;
};

}  // namespace audio
