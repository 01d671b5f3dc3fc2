// Helpers of the start-up tests: a program folder with the real tolvash in it, a registry file
// of its own, and a folder that cannot be written even by root.
#pragma once

#include "TempDir.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace startup_test {

inline bool CopyTolvash(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::copy_file(std::string(CORVANE_BIN_DIR) + "/tolvash", folder + "/tolvash",
                               std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
}

inline bool CanCreateIn(const std::string& folder)
{
    std::string probe = folder + "/.probe";
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

inline bool SetImmutable(const std::string& folder, bool on)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
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

// Makes a folder unwritable for as long as it lives: mode 0555, and for root (whom the mode does
// not stop) the immutable attribute. Usable() is false where neither works.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder) : folder_(std::move(folder))
    {
        ::chmod(folder_.c_str(), 0555);
        if (CanCreateIn(folder_))
            immutable_ = SetImmutable(folder_, true);
        usable_ = !CanCreateIn(folder_);
    }
    ~ReadOnlyFolder()
    {
        if (immutable_)
            SetImmutable(folder_, false);
        ::chmod(folder_.c_str(), 0700);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool Usable() const { return usable_; }

private:
    std::string folder_;
    bool immutable_ = false;
    bool usable_ = false;
};

}  // namespace startup_test
