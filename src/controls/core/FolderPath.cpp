#include "FolderPath.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace folderpath {
namespace {
std::vector<std::string> Components(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t start = 1;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    // A single trailing '/' ends the path; it is no empty component.
    if (!parts.empty() && parts.back().empty() && path.back() == '/')
        parts.pop_back();
    return parts;
}

}  // namespace

std::string Expand(const std::string& typed)
{
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0' || typed.empty() || typed[0] != '~'
        || (typed.size() > 1 && typed[1] != '/'))
        return typed;
    return home + typed.substr(1);
}

bool IsValid(const std::string& path)
{
    if (path.empty() || path.size() > kMaxPath || path.front() != '/'
        || path.find('\0') != std::string::npos)
        return false;
    for (const auto& c : Components(path))
        if (c.size() > kMaxName)
            return false;
    return true;
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

Result Create(const std::string& path)
{
    if (!IsValid(path))
        return kInvalid;
    std::string prefix;
    for (const auto& c : Components(path)) {
        prefix += '/';
        prefix += c;
        std::error_code ec;
        std::filesystem::create_directory(prefix, ec);
        if (!Exists(prefix))
            return kCannotCreate;
    }
    return Exists(path) ? kOk : kCannotCreate;
}

}  // namespace folderpath
