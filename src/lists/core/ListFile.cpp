#include "ListFile.h"

#include "AtomicFile.h"
#include "TildeTextRecord.h"

namespace lists {

namespace {

// Far beyond any list a person keeps; a larger file is refused rather than read into memory.
constexpr std::size_t kMaxListBytes = 64u << 20;

}  // namespace

ListFileResult ReadListFile(const std::string& path, std::string& text)
{
    ListFileResult result;
    bool missing = false;
    if (platform::ReadWholeFile(path, text, &result.error, &missing, kMaxListBytes))
        return result;
    result.status = missing ? ListFileResult::Missing : ListFileResult::Failed;
    if (!missing && result.error.empty())
        result.error = "the file is larger than " + std::to_string(kMaxListBytes >> 20) + " MB";
    return result;
}

ListFileResult WriteListFile(const std::string& path, const std::string& text)
{
    ListFileResult result;
    if (!platform::WriteFileAtomic(path, text, &result.error)) {
        result.status = ListFileResult::Failed;
        if (result.error.empty())
            result.error = "write failed";
    }
    return result;
}

std::vector<std::string_view> ListFileLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        // A line ending "\r\r\n" loses every "\r".
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!TrimBlanks(line).empty())
            lines.push_back(line);
    }
    return lines;
}

}  // namespace lists
