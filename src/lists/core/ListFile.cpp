#include "ListFile.h"

#include "AtomicFile.h"
#include "TildeTextRecord.h"

namespace lists {

std::optional<std::string> ListSizeRefusal(std::size_t bytes)
{
    if (bytes <= kMaxListFileBytes)
        return std::nullopt;
    return "the list would take " + std::to_string(bytes) + " bytes, more than the "
           + std::to_string(kMaxListFileBytes >> 20) + " MB a list file may hold";
}

ListFileResult ReadListFile(const std::string& path, std::string& text)
{
    ListFileResult result;
    bool missing = false;
    if (platform::ReadWholeFile(path, text, &result.error, &missing, kMaxListFileBytes))
        return result;
    result.status = missing ? ListFileResult::Missing : ListFileResult::Failed;
    if (!missing && result.error.empty())
        result.error = "the file is larger than " + std::to_string(kMaxListFileBytes >> 20) + " MB";
    return result;
}

ListFileResult WriteListFile(const std::string& path, const std::string& text)
{
    ListFileResult result;
    if (std::optional<std::string> refusal = ListSizeRefusal(text.size())) {
        result.status = ListFileResult::Failed;
        result.error = std::move(*refusal);
    } else if (!platform::WriteFileAtomic(path, text, &result.error)) {
        result.status = ListFileResult::Failed;
        if (result.error.empty())
            result.error = "write failed";
    }
    return result;
}

void AppendUnreadLines(std::string& text, const std::vector<std::string>& unread)
{
    for (const std::string& line : unread) {
        text += line;
        text += '\n';
    }
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
