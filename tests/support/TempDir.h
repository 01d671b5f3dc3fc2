// A private temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testing_support {

struct TempDir {
    std::string path;
    explicit TempDir(const std::string& prefix = "corvane-test")
    {
        std::string templ =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(templ.data()))
            path = templ;
    }
    ~TempDir()
    {
        if (path.empty())
            return;
        ::chmod(path.c_str(), 0700);  // a test may have made it read-only
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

inline void PutFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string GetFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Permission bits do not stop root; tests that rely on them skip when this is false.
inline bool PermissionsHold()
{
    TempDir d;
    ::chmod(d.path.c_str(), 0500);
    const int fd = ::open((d / "probe").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    ::chmod(d.path.c_str(), 0700);
    return fd < 0;
}

}  // namespace testing_support
