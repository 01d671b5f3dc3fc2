#include "ProgramFolder.h"

#include "AsciiCase.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::mutex g_folderMutex;
std::string g_folderOverride;

std::string WithSlash(std::string_view folder)
{
    std::string out(folder);
    if (out.empty() || out.back() != '/')
        out += '/';
    return out;
}

// Every entry name of a folder except "." and "..", sorted so that the choice among several case
// variants does not depend on the directory order.
std::vector<std::string> ListFolder(std::string_view folder)
{
    std::vector<std::string> names;
    std::string dir = folder.empty() ? std::string(".") : std::string(folder);
    DIR* d = opendir(dir.c_str());
    if (!d)
        return names;
    while (dirent* e = readdir(d)) {
        std::string_view n = e->d_name;
        if (n == "." || n == "..")
            continue;
        names.emplace_back(n);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

}  // namespace

std::string ErrorText(int err)
{
    char buf[256];
    // GNU strerror_r returns the text, which may or may not live in buf.
    const char* text = strerror_r(err, buf, sizeof buf);
    return text ? std::string(text) : std::string("error ") + std::to_string(err);
}

std::string ExecutablePath()
{
    std::string buf(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size())
        return {};
    buf.resize(static_cast<size_t>(n));
    return buf;
}

std::string ProgramFolder()
{
    {
        std::lock_guard<std::mutex> lock(g_folderMutex);
        if (!g_folderOverride.empty())
            return g_folderOverride;
    }
    std::string exe = ExecutablePath();
    if (exe.empty())
        return "./";
    return WithSlash(DirName(exe));
}

void SetProgramFolder(std::string_view folder)
{
    std::lock_guard<std::mutex> lock(g_folderMutex);
    g_folderOverride = folder.empty() ? std::string() : WithSlash(folder);
}

bool IsPlainName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    if (folder.empty())
        return std::string(name);
    return WithSlash(folder) + std::string(name);
}

std::string DirName(std::string_view path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos)
        return ".";
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

std::string BaseName(std::string_view path)
{
    size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::optional<std::string> FindInFolder(std::string_view folder, std::string_view name)
{
    if (!IsPlainName(name))
        return std::nullopt;
    std::string exact = JoinPath(folder.empty() ? "." : folder, name);
    struct stat st {};
    if (lstat(exact.c_str(), &st) == 0)
        return exact;
    for (const std::string& entry : ListFolder(folder))
        if (AsciiIEquals(entry, name))
            return JoinPath(folder.empty() ? "." : folder, entry);
    return std::nullopt;
}

std::string ResolveInFolder(std::string_view folder, std::string_view name)
{
    if (!IsPlainName(name))
        return {};
    if (auto found = FindInFolder(folder, name))
        return *found;
    return JoinPath(folder.empty() ? "." : folder, name);
}

std::string ResolvePathCase(std::string_view path)
{
    std::string base = BaseName(path);
    if (!IsPlainName(base))
        return std::string(path);
    std::string dir = path.find('/') == std::string_view::npos ? std::string() : DirName(path);
    if (auto found = FindInFolder(dir, base)) {
        // Keep the caller's folder spelling ("." only when the caller gave one).
        if (dir.empty())
            return BaseName(*found);
        return *found;
    }
    return std::string(path);
}

std::vector<std::string> GlobFolder(std::string_view folder, std::string_view pattern)
{
    std::vector<std::string> out;
    if (pattern.empty() || pattern.find('/') != std::string_view::npos)
        return out;
    // Folding both sides to lower case keeps the match independent of the user's locale.
    std::string pat = AsciiLowerCopy(pattern);
    for (const std::string& entry : ListFolder(folder)) {
        std::string lower = AsciiLowerCopy(entry);
        if (fnmatch(pat.c_str(), lower.c_str(), 0) != 0)
            continue;
        if (IsRegularFile(JoinPath(folder.empty() ? "." : folder, entry)))
            out.push_back(entry);
    }
    return out;
}

int OpenInFolder(std::string_view folder, std::string_view name, int flags, mode_t mode)
{
    std::string path = ResolveInFolder(folder, name);
    if (path.empty()) {
        errno = EINVAL;
        return -1;
    }
    int fd;
    do {
        fd = open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool RenameInFolder(std::string_view folder, std::string_view from, std::string_view to,
                    std::string* error)
{
    if (!IsPlainName(from) || !IsPlainName(to)) {
        SetError(error, "Invalid file name");
        return false;
    }
    auto source = FindInFolder(folder, from);
    if (!source) {
        SetError(error, ErrorText(ENOENT));
        return false;
    }
    std::string sourceName = BaseName(*source);
    std::string dir = folder.empty() ? std::string(".") : std::string(folder);
    if (sourceName == to)
        return true;

    // Other spellings of the target, collected before the rename so the source is not among them.
    std::vector<std::string> variants;
    for (const std::string& entry : ListFolder(folder))
        if (entry != to && entry != sourceName && AsciiIEquals(entry, to))
            variants.push_back(entry);

    std::string target = JoinPath(dir, to);
    if (rename(source->c_str(), target.c_str()) != 0) {
        SetError(error, ErrorText(errno));
        return false;
    }
    // On a folder that ignores letter case, another spelling names the file just put in place.
    struct stat placed {};
    const bool havePlaced = lstat(target.c_str(), &placed) == 0;
    for (const std::string& v : variants) {
        std::string p = JoinPath(dir, v);
        struct stat other {};
        if (havePlaced && lstat(p.c_str(), &other) == 0 && other.st_dev == placed.st_dev
            && other.st_ino == placed.st_ino)
            continue;
        if (unlink(p.c_str()) != 0 && errno != ENOENT) {
            SetError(error, ErrorText(errno));
            return false;
        }
    }
    return true;
}

bool RemoveInFolder(std::string_view folder, std::string_view name, std::string* error)
{
    if (!IsPlainName(name)) {
        SetError(error, "Invalid file name");
        return false;
    }
    auto path = FindInFolder(folder, name);
    if (!path)
        return true;
    if (unlink(path->c_str()) != 0 && errno != ENOENT) {
        SetError(error, ErrorText(errno));
        return false;
    }
    return true;
}

}  // namespace platform
