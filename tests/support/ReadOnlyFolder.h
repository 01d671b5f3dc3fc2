// A folder no one may write into while this lives: mode 0555; for root, whom the mode does not
// stop, the immutable attribute, or where the file system refuses that, the effective user
// "nobody" meanwhile (root again afterwards). Ok() is false where none of it holds: skip then.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace testing_support {

inline bool CanCreateIn(const std::string& folder)
{
    const std::string probe = folder + "/.probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

inline bool SetImmutable(const std::string& folder, bool on)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder) : folder_(std::move(folder))
    {
        ::chmod(folder_.c_str(), 0555);
        if (CanCreateIn(folder_))
            immutable_ = SetImmutable(folder_, true);
        if (CanCreateIn(folder_) && ::geteuid() == 0)
            asNobody_ = ::seteuid(kNobody) == 0;
        ok_ = !CanCreateIn(folder_);
    }
    ~ReadOnlyFolder()
    {
        if (asNobody_ && ::seteuid(0) != 0)
            std::abort();
        if (immutable_)
            SetImmutable(folder_, false);
        ::chmod(folder_.c_str(), 0700);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Ok() const { return ok_; }

private:
    static constexpr uid_t kNobody = 65534;
    std::string folder_;
    bool immutable_ = false;
    bool asNobody_ = false;
    bool ok_ = false;
};

}  // namespace testing_support
