// A pseudo-terminal for the serial tests: the slave's path stands in for a COM device.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace testing_support {

class Pty {
public:
    Pty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            device_ = ::ptsname(master_);
    }
    ~Pty()
    {
        if (master_ >= 0)
            ::close(master_);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Empty when no pseudo-terminal could be made.
    const std::string& Device() const { return device_; }

private:
    int master_ = -1;
    std::string device_;
};

}  // namespace testing_support
