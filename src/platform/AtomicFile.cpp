#include "AtomicFile.h"

#include "Process.h"
#include "ProgramFolder.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr const char* kTooLarge = "The file is too large";

std::atomic<unsigned> g_tempCounter{0};

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

// Creates the temporary file beside the target. O_EXCL with a fresh name each try; mode 0666 so
// the umask shapes a new file's bits as it would for a plain open().
int CreateTemp(const std::string& target, std::string& tempPath, int* err)
{
    std::string dir = DirName(target);
    std::string base = BaseName(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned n = g_tempCounter.fetch_add(1);
        tempPath = JoinPath(
            dir, "." + base + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(n));
        int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno == EINTR || errno == EEXIST)
            continue;
        *err = errno;
        return -1;
    }
    *err = EEXIST;
    return -1;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out, std::string* error, bool* missing,
                   std::size_t maxBytes)
{
    out.clear();
    if (missing)
        *missing = false;
    int fd;
    do {
        // Non-blocking: opening a FIFO planted under the name would otherwise wait for a writer.
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (missing)
            *missing = (errno == ENOENT);
        SetError(error, ErrorText(errno));
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) {
        close(fd);
        SetError(error, "Not a regular file");
        return false;
    }
    // Refused before a byte is read; a file that grows while it is read is caught below.
    if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        close(fd);
        SetError(error, kTooLarge);
        return false;
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0)
        out.reserve(static_cast<size_t>(st.st_size));
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            close(fd);
            SetError(error, ErrorText(err));
            return false;
        }
        if (n == 0)
            break;
        if (static_cast<size_t>(n) > maxBytes - out.size()) {
            close(fd);
            out.clear();
            SetError(error, kTooLarge);
            return false;
        }
        out.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    return true;
}

bool WriteFileAtomic(const std::string& pathIn, std::string_view content, std::string* error)
{
    if (pathIn.empty()) {
        SetError(error, "No file name");
        return false;
    }
    std::string path = pathIn;
    struct stat st {};
    bool exists = false;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved))
            path = resolved;
    }
    if (stat(path.c_str(), &st) == 0) {
        exists = true;
        if (!S_ISREG(st.st_mode)) {
            SetError(error, "Not a regular file");
            return false;
        }
        // The rename would replace a read-only file as long as the folder is writable: refuse,
        // as writing into the file itself would fail.
        if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
            SetError(error, ErrorText(errno));
            return false;
        }
    }

    int err = 0;
    std::string temp;
    int fd = CreateTemp(path, temp, &err);
    if (fd < 0) {
        SetError(error, ErrorText(err));
        return false;
    }
    bool ok = WriteAll(fd, content, &err);
    if (ok && exists && fchmod(fd, st.st_mode & 07777) != 0) {
        err = errno;
        ok = false;
    }
    if (ok && fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        unlink(temp.c_str());
        SetError(error, ErrorText(err));
        return false;
    }
    // Make the rename itself durable; a failure here does not undo the new content.
    int dfd = open(DirName(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

int RemoveLeftoverTemps(const std::string& folder, bool ownAreLeftOver)
{
    // ".NAME.tmp-PID-N", as CreateTemp names them.
    int removed = 0;
    for (const std::string& name : GlobFolder(folder, ".*.tmp-*-*")) {
        const std::size_t tmp = name.rfind(".tmp-");
        const std::size_t dash = name.rfind('-');
        if (tmp == 0 || dash <= tmp + 5
            || name.find_first_not_of("0123456789", dash + 1) != std::string::npos
            || dash + 1 == name.size())
            continue;
        const std::string_view pid = std::string_view(name).substr(tmp + 5, dash - tmp - 5);
        if (WriterHasEnded(pid, ownAreLeftOver) && unlink(JoinPath(folder, name).c_str()) == 0)
            ++removed;
    }
    return removed;
}

FolderLock::FolderLock(const std::string& folder)
{
    fd_ = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    int rc;
    do {
        rc = flock(fd_, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        close(fd_);
        fd_ = -1;
    }
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        close(fd_);  // closing the last descriptor releases the lock
}

bool WriteAll(int fd, std::string_view data, int* err)
{
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t n = write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (err)
                *err = errno;
            return false;
        }
        if (n == 0) {
            if (err)
                *err = ENOSPC;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace platform
