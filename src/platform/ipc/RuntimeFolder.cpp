#include "RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace platform::ipc {
namespace {

FolderResult Fail(const std::string& path, const std::string& why)
{
    return FolderResult{{}, path + ": " + why};
}

std::string Mode(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

bool UsableBase(const char* base)
{
    if (!base || base[0] != '/')
        return false;
    struct stat st {};
    return ::stat(base, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

FolderResult PreparePrivateFolder(const std::string& path)
{
    if (path.empty())
        return Fail(path, "no folder");
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return Fail(path, std::strerror(errno));
    // lstat: a symlink planted in a shared temporary folder must not redirect us.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return Fail(path, std::strerror(errno));
    if (S_ISLNK(st.st_mode))
        return Fail(path, "is a symbolic link");
    if (!S_ISDIR(st.st_mode))
        return Fail(path, "is not a folder");
    if (st.st_uid != ::geteuid())
        return Fail(path, "belongs to another user (uid " + std::to_string(st.st_uid) + ")");
    if ((st.st_mode & 077) != 0)
        return Fail(path, "is open to other users (mode " + Mode(st.st_mode) + ")");
    return FolderResult{path, {}};
}

FolderResult RuntimeFolder()
{
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (UsableBase(xdg))
        return PreparePrivateFolder(std::string(xdg) + "/corvane");
    std::error_code ec;
    std::string tmp = std::filesystem::temp_directory_path(ec).string();
    if (ec || tmp.empty())
        tmp = "/tmp";
    while (tmp.size() > 1 && tmp.back() == '/')
        tmp.pop_back();
    return PreparePrivateFolder(tmp + "/corvane-" + std::to_string(::geteuid()));
}

}  // namespace platform::ipc
