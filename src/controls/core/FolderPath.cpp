#include "FolderPath.h"

#include <filesystem>
#include <string_view>
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

bool ValidComponent(std::string_view c)
{
    if (c.empty())
        return false;
    auto bad_edge = [](char ch) { return ch == ' ' || ch == '\t' || ch == '.'; };
    if (bad_edge(c.front()) || bad_edge(c.back()))
        return false;
    for (char ch : c) {
        if (std::string_view("\"*:<>?\\|").find(ch) != std::string_view::npos)
            return false;
        if (static_cast<unsigned char>(ch) < 0x20)
            return false;
    }
    return true;
}
}  // namespace

bool IsValid(const std::string& path)
{
    if (path.empty() || path.size() > kMaxPath || path.front() != '/')
        return false;
    for (const auto& c : Components(path))
        if (!ValidComponent(c))
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
