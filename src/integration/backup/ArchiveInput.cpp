#include "ArchiveInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace backup {

namespace {

constexpr std::size_t kBufferBytes = 256u << 10;

// A part of the file held in memory.
struct Window {
    std::vector<char> bytes = std::vector<char>(kBufferBytes);
    ZPOS64_T start = 0;
    std::size_t size = 0;
    bool Holds(ZPOS64_T at) const { return at >= start && at < start + size; }
};

// Two windows: minizip goes back and forth between the directory at the end and the entries.
struct Input {
    int fd = -1;
    ZPOS64_T size = 0;
    ZPOS64_T pos = 0;
    Window windows[2];
    int older = 0;  // the window the next miss refills
    int error = 0;
};

// Reads at `at` until `bytes` arrived or the file ends; -1 with errno on a read error.
ssize_t ReadAt(int fd, char* to, std::size_t bytes, ZPOS64_T at)
{
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t n = ::pread(fd, to + got, bytes - got, static_cast<off_t>(at + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

voidpf Open(voidpf, const void* filename, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ || !filename)
        return nullptr;
    std::uint64_t size = 0;
    const int fd = OpenRegularFile(static_cast<const char*>(filename), &size);
    if (fd < 0)
        return nullptr;
    auto* in = new Input;
    in->fd = fd;
    in->size = size;
    return in;
}

uLong Read(voidpf, voidpf stream, void* buf, uLong size)
{
    auto* in = static_cast<Input*>(stream);
    char* to = static_cast<char*>(buf);
    uLong done = 0;
    while (done < size) {
        const ZPOS64_T at = in->pos;
        const int hit = in->windows[0].Holds(at) ? 0 : in->windows[1].Holds(at) ? 1 : -1;
        if (hit >= 0) {
            const Window& w = in->windows[hit];
            const std::size_t offset = static_cast<std::size_t>(at - w.start);
            const std::size_t n = std::min<std::size_t>(size - done, w.size - offset);
            std::memcpy(to + done, w.bytes.data() + offset, n);
            done += static_cast<uLong>(n);
            in->pos += n;
            in->older = 1 - hit;
            continue;
        }
        // Large reads go straight to the caller; small ones refill the older window.
        Window& w = in->windows[in->older];
        const bool direct = size - done >= w.bytes.size();
        const ssize_t n = direct ? ReadAt(in->fd, to + done, size - done, at)
                                 : ReadAt(in->fd, w.bytes.data(), w.bytes.size(), at);
        if (n < 0) {
            in->error = errno;
            break;
        }
        if (n == 0)
            break;
        if (direct) {
            done += static_cast<uLong>(n);
            in->pos += static_cast<ZPOS64_T>(n);
        } else {
            w.start = at;
            w.size = static_cast<std::size_t>(n);
        }
    }
    return done;
}

uLong Write(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T Tell(voidpf, voidpf stream)
{
    return static_cast<Input*>(stream)->pos;
}

long Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* in = static_cast<Input*>(stream);
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: in->pos = offset; return 0;
    case ZLIB_FILEFUNC_SEEK_CUR: in->pos += offset; return 0;
    case ZLIB_FILEFUNC_SEEK_END: in->pos = in->size + offset; return 0;
    default: return -1;
    }
}

int Close(voidpf, voidpf stream)
{
    auto* in = static_cast<Input*>(stream);
    const int result = ::close(in->fd);
    delete in;
    return result;
}

int Error(voidpf, voidpf stream)
{
    return static_cast<Input*>(stream)->error;
}

}  // namespace

int OpenRegularFile(const char* path, std::uint64_t* size)
{
    // Non-blocking: a FIFO put under the name must not wait for a writer.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    if (size != nullptr)
        *size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

zlib_filefunc64_def BufferedArchiveInput()
{
    return {Open, Read, Write, Tell, Seek, Close, Error, nullptr};
}

}  // namespace backup
