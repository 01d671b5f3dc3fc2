// A folder nobody may write into while this lives: its permission bits, or for root (whom they
// do not stop) the immutable flag. Ok() is false where neither holds (the test then skips).
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace testing_support {

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder) : folder_(std::move(folder))
    {
        ::chmod(folder_.c_str(), 0500);
        if (!Writable())
            return;
        SetImmutable(true);
        immutable_ = true;
    }
    ~ReadOnlyFolder()
    {
        if (immutable_)
            SetImmutable(false);
        ::chmod(folder_.c_str(), 0700);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Ok() const { return !Writable(); }

private:
    bool Writable() const
    {
        const std::string probe = folder_ + "/.probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        ::close(fd);
        ::unlink(probe.c_str());
        return true;
    }
    void SetImmutable(bool on) const
    {
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }

    std::string folder_;
    bool immutable_ = false;
};

}  // namespace testing_support
