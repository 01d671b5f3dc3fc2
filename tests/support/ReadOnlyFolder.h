// A folder no one may write into while this lives. Root ignores the permission bits, so a test
// running as root acts as "nobody" meanwhile (effective user only; it is root again afterwards).
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace testing_support {

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path) : path_(std::move(path))
    {
        ::chmod(path_.c_str(), 0555);
        if (::geteuid() == 0)
            asNobody_ = ::seteuid(kNobody) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (asNobody_ && ::seteuid(0) != 0)
            std::abort();
        ::chmod(path_.c_str(), 0700);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    std::string path_;
    bool asNobody_ = false;
};

}  // namespace testing_support
