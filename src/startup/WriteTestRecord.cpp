#include "WriteTestRecord.h"

#include "AtomicFile.h"
#include "ProgramFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace write_test_record {

namespace {

constexpr std::size_t kMaxMarkerBytes = 64;
constexpr int kOpenTries = 3;

bool SameFile(int fd, const std::string& path)
{
    struct stat a {
    }, b{};
    return fstat(fd, &a) == 0 && lstat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev
           && a.st_ino == b.st_ino;
}

}  // namespace

bool IsTestFileName(std::string_view name)
{
    constexpr std::string_view kExt = ".dat";
    if (name.size() <= kExt.size() || name.size() > 5 + kExt.size())
        return false;
    if (name.substr(name.size() - kExt.size()) != kExt)
        return false;
    for (char c : name.substr(0, name.size() - kExt.size()))
        if (c < '0' || c > '9')
            return false;
    return true;
}

Record::~Record()
{
    if (fd_ >= 0)
        close(fd_);
}

bool Record::Open(const std::string& folder, const std::string& testName)
{
    if (fd_ >= 0 || !IsTestFileName(testName))
        return false;
    const std::string path = platform::JoinPath(folder, std::string(kMarkerPrefix) + testName);
    for (int attempt = 0; attempt < kOpenTries; ++attempt) {
        // Locked before it holds anything, so another start never takes a marker being written.
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0)
            return false;
        if (flock(fd, LOCK_EX) != 0) {
            close(fd);
            unlink(path.c_str());
            return false;
        }
        // Another start may have taken the empty marker between open and lock: write a new one.
        if (!SameFile(fd, path)) {
            close(fd);
            continue;
        }
        // On disk before the test file exists, so a record can only lack a file, not the reverse.
        if (!platform::WriteAll(fd, testName + "\n") || fsync(fd) != 0) {
            unlink(path.c_str());
            close(fd);
            return false;
        }
        int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            fsync(dir);
            close(dir);
        }
        path_ = path;
        fd_ = fd;
        return true;
    }
    return false;
}

void Record::Close()
{
    if (fd_ < 0)
        return;
    unlink(path_.c_str());
    close(fd_);
    fd_ = -1;
}

int RemoveLeftOvers(const std::string& folder)
{
    int removed = 0;
    for (const std::string& marker :
         platform::GlobFolder(folder, std::string(kMarkerPrefix) + "*")) {
        const std::string path = platform::JoinPath(folder, marker);
        int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        // A marker locked by a test still running is left to it.
        if (flock(fd, LOCK_EX | LOCK_NB) != 0 || !SameFile(fd, path)) {
            close(fd);
            continue;
        }
        std::string text;
        platform::ReadWholeFile(path, text, nullptr, nullptr, kMaxMarkerBytes);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        // The content must name the file the marker's own name names; anything else is not
        // trusted with a removal.
        const std::string_view own = std::string_view(marker).substr(kMarkerPrefix.size());
        if (text == own && IsTestFileName(text)) {
            const std::string file = platform::JoinPath(folder, text);
            struct stat st {};
            if (lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && unlink(file.c_str()) == 0)
                ++removed;
        }
        unlink(path.c_str());
        close(fd);
    }
    return removed;
}

}  // namespace write_test_record
