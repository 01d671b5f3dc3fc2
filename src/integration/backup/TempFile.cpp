#include "TempFile.h"

#include "ProgramFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace backup {

TempFile::TempFile(const std::string& folder, const std::string& stem, std::string* error)
{
    std::string pattern = platform::JoinPath(folder, "." + stem + "-XXXXXX");
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = platform::ErrorText(errno);
        return;
    }
    fd_ = fd;
    path_ = std::move(pattern);
}

TempFile::~TempFile()
{
    CloseFd(nullptr);
    if (!path_.empty())
        ::unlink(path_.c_str());
}

bool TempFile::CloseFd(std::string* error)
{
    if (fd_ < 0)
        return true;
    const bool ok = ::close(fd_) == 0;
    if (!ok && error)
        *error = platform::ErrorText(errno);
    fd_ = -1;
    return ok;
}

std::string TempFile::Name() const
{
    return platform::BaseName(path_);
}

bool SyncFile(const std::string& path, std::string* error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    const int err = errno;
    if (fd >= 0)
        ::close(fd);
    if (!ok && error)
        *error = platform::ErrorText(err);
    return ok;
}

}  // namespace backup
