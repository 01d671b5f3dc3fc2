#include "WaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "AtomicFile.h"
#include "ProgramFolder.h"

namespace audio {

namespace {

constexpr std::uint32_t kMaxChunks = 4096;  // a file of endless empty chunks still ends
constexpr std::uint64_t kMaxData = 0xFFFFFF00u;

bool IdIs(const std::uint8_t* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

bool PWriteAll(int fd, const void* data, std::size_t n, std::uint64_t offset)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (n > 0) {
        const ssize_t w = ::pwrite(fd, p, n, static_cast<off_t>(offset));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        p += w;
        n -= static_cast<std::size_t>(w);
        offset += static_cast<std::uint64_t>(w);
    }
    return true;
}

bool PutLe32At(int fd, std::uint64_t offset, std::uint32_t value)
{
    std::uint8_t b[4];
    PutLe32(b, value);
    return PWriteAll(fd, b, 4, offset);
}

std::size_t PReadAll(int fd, std::uint64_t offset, std::uint8_t* out, std::size_t n)
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t r = ::pread(fd, out + done, n - done, static_cast<off_t>(offset + done));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        done += static_cast<std::size_t>(r);
    }
    return done;
}

int ParseFd(int fd, WaveLayout& out)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return 1;
    return ParseWave([fd](std::uint64_t offset, std::uint8_t* dst,
                          std::size_t n) { return PReadAll(fd, offset, dst, n); },
                     static_cast<std::uint64_t>(st.st_size), out);
}

}  // namespace

int ParseWave(const ReadAt& read, std::uint64_t size, WaveLayout& out)
{
    out = WaveLayout{};
    out.fileSize = size;
    std::uint8_t head[12];
    if (size < 12 || read(0, head, 12) != 12 || !IdIs(head, "RIFF") || !IdIs(head + 8, "WAVE"))
        return 2;
    const std::uint64_t end = std::min<std::uint64_t>(size, 8ull + ReadLe32(head + 4));
    bool haveFormat = false;
    bool haveData = false;
    std::uint64_t at = 12;
    for (std::uint32_t count = 0; count < kMaxChunks && at + 8 <= end; ++count) {
        std::uint8_t chunk[8];
        if (read(at, chunk, 8) != 8)
            break;
        const std::uint32_t chunkSize = ReadLe32(chunk + 4);
        const std::uint64_t body = at + 8;
        if (IdIs(chunk, "fmt ") && !haveFormat) {
            if (chunkSize > kFormatSize)
                return 4;
            std::uint8_t bytes[kFormatSize];
            if (read(body, bytes, chunkSize) != chunkSize)
                return 5;
            auto format = ParseFormat(bytes, chunkSize);
            if (!format)
                return 5;
            out.format = *format;
            haveFormat = true;
        } else if (IdIs(chunk, "fact") && chunkSize >= 4 && out.factValueAt < 0) {
            out.factValueAt = static_cast<std::int64_t>(body);
        } else if (IdIs(chunk, "data") && !haveData) {
            if (body > 0xFFFFFFFFull)
                break;
            haveData = true;
            out.dataStart = static_cast<std::uint32_t>(body);
            out.dataSize =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(chunkSize, size - body));
            out.dataIsLast = body + chunkSize + (chunkSize & 1) >= size;
        }
        at = body + chunkSize + (chunkSize & 1);
    }
    if (!haveFormat)
        return 3;
    if (!haveData)
        return 6;
    return 0;
}

int ReadWaveLayout(const std::string& path, WaveLayout& out)
{
    const int fd = ::open(platform::ResolvePathCase(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 1;
    const int result = ParseFd(fd, out);
    ::close(fd);
    return result;
}

// ---- reading ----

WaveFileReader::~WaveFileReader()
{
    Close();
}

int WaveFileReader::Open(const std::string& path)
{
    Close();
    fd_ = ::open(platform::ResolvePathCase(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return 1;
    const int result = ParseFd(fd_, layout_);
    if (result != 0)
        Close();
    position_ = 0;
    return result;
}

void WaveFileReader::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool WaveFileReader::SeekData(std::uint32_t dataOffset)
{
    if (fd_ < 0 || dataOffset > layout_.dataSize)
        return false;
    position_ = dataOffset;
    return true;
}

std::size_t WaveFileReader::Read(std::uint8_t* out, std::size_t n)
{
    if (fd_ < 0 || position_ >= layout_.dataSize)
        return 0;
    n = std::min<std::size_t>(n, layout_.dataSize - position_);
    const std::size_t got = PReadAll(fd_, std::uint64_t{layout_.dataStart} + position_, out, n);
    position_ += static_cast<std::uint32_t>(got);
    return got;
}

// ---- writing ----

WaveFileWriter::~WaveFileWriter()
{
    Abandon();
}

int WaveFileWriter::Create(const std::string& path, const WaveFormat& format)
{
    Abandon();
    if (!IsValid(format))
        return 13;
    path_ = platform::ResolvePathCase(path);
    const std::string folder = platform::DirName(path_);
    tempPath_ =
        (folder.empty() ? std::string(".") : folder) + "/." + platform::BaseName(path_) + ".XXXXXX";
    fd_ = ::mkstemp(tempPath_.data());
    if (fd_ < 0)
        return 11;
    ::fchmod(fd_, 0644);
    appending_ = false;
    format_ = format;
    const std::vector<std::uint8_t> fmt = FormatBytes(format);
    std::vector<std::uint8_t> h(12 + 8 + fmt.size() + 12 + 8);
    std::memcpy(&h[0], "RIFF", 4);
    std::memcpy(&h[8], "WAVE", 4);
    std::memcpy(&h[12], "fmt ", 4);
    PutLe32(&h[16], static_cast<std::uint32_t>(fmt.size()));
    std::copy(fmt.begin(), fmt.end(), h.begin() + 20);
    std::size_t at = 20 + fmt.size();
    std::memcpy(&h[at], "fact", 4);
    PutLe32(&h[at + 4], 4);
    factValueAt_ = static_cast<std::int64_t>(at + 8);
    at += 12;
    std::memcpy(&h[at], "data", 4);
    dataStart_ = static_cast<std::uint32_t>(at + 8);
    dataBytes_ = 0;
    // fmt.size() is even (18 + cbSize, cbSize even for every format we write): no pad needed.
    if (!PWriteAll(fd_, h.data(), h.size(), 0)) {
        Abandon();
        return 12;
    }
    return 0;
}

int WaveFileWriter::OpenForAppend(const std::string& path)
{
    Abandon();
    path_ = platform::ResolvePathCase(path);
    fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0)
        return 1;
    WaveLayout layout;
    const int result = ParseFd(fd_, layout);
    if (result == 0 && !layout.dataIsLast) {
        Abandon();
        return 9;
    }
    if (result != 0) {
        Abandon();
        return result;
    }
    appending_ = true;
    format_ = layout.format;
    dataStart_ = layout.dataStart;
    dataBytes_ = layout.dataSize;
    factValueAt_ = layout.factValueAt;
    return 0;
}

bool WaveFileWriter::Write(const std::uint8_t* data, std::size_t n)
{
    if (fd_ < 0 || dataBytes_ + n > kMaxData)
        return false;
    if (!PWriteAll(fd_, data, n, Offset()))
        return false;
    dataBytes_ += n;
    return true;
}

bool WaveFileWriter::Finish()
{
    if (fd_ < 0)
        return false;
    const std::uint64_t end = Offset();
    const std::uint8_t pad = 0;
    bool ok = (dataBytes_ % 2 == 0 || PWriteAll(fd_, &pad, 1, end));
    const std::uint64_t fileSize = end + (dataBytes_ & 1);
    ok = ok && ::ftruncate(fd_, static_cast<off_t>(fileSize)) == 0;
    ok = ok && PutLe32At(fd_, 4, static_cast<std::uint32_t>(fileSize - 8));
    ok = ok && PutLe32At(fd_, dataStart_ - 4, static_cast<std::uint32_t>(dataBytes_));
    if (factValueAt_ >= 0)
        ok = ok
             && PutLe32At(fd_, static_cast<std::uint64_t>(factValueAt_),
                          static_cast<std::uint32_t>(FramesInBytes(format_, dataBytes_)));
    ok = ok && ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
    if (!appending_) {
        ok = ok && ::rename(tempPath_.c_str(), path_.c_str()) == 0;
        if (!ok)
            ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    return ok;
}

void WaveFileWriter::Abandon()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!appending_ && !tempPath_.empty())
        ::unlink(tempPath_.c_str());
    tempPath_.clear();
}

}  // namespace audio
