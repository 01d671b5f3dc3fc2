#include "LanguageFile.h"

#include "AsciiCase.h"

namespace language {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Splits off the next line; a CR before the LF is dropped.
std::string_view NextLine(std::string_view text, std::size_t& pos)
{
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos)
        end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end < text.size() ? end + 1 : end;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

}  // namespace

bool HasSignature(std::string_view firstLine)
{
    return firstLine.find(kSignature) != std::string_view::npos;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Unescape(std::string_view text)
{
    if (text.size() <= 1 || text.find('\\') == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size())
            break;  // trailing backslash
        switch (text[i]) {
        case '"': out += '"'; break;
        case '\'': out += '\''; break;
        case '\\': out += '\\'; break;
        case 'a': out += '\a'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'v': out += '\v'; break;
        default: break;  // unknown escape: both characters go
        }
    }
    return out;
}

bool ParseEntryLine(std::string_view line, FileEntry& entry)
{
    // Shortest entry: "k"="" (the key may not be empty).
    if (line.size() < 6 || line.front() != '"' || line.back() != '"')
        return false;
    std::size_t pair = line.find("\"=");
    if (pair == std::string_view::npos || pair < 1)
        return false;
    std::size_t valueStart = pair + 3;
    // The value needs its opening quote and must end before the closing one.
    if (valueStart > line.size() - 1 || line[pair + 2] != '"')
        return false;
    std::string key(Trim(Unescape(line.substr(1, pair - 1))));
    if (key.empty())
        return false;
    std::string value = Unescape(line.substr(valueStart, line.size() - 1 - valueStart));
    entry.translation = (value == key) ? std::string() : std::move(value);
    entry.key = std::move(key);
    return true;
}

FileContent ParseLanguageText(std::string_view text)
{
    FileContent content;
    std::size_t pos = 0;
    if (!HasSignature(NextLine(text, pos)))
        return content;
    content.signature = true;
    while (pos < text.size()) {
        std::string_view line = Trim(NextLine(text, pos));
        if (line.empty())
            continue;
        if (platform::AsciiIStartsWith(line, "HELP=")) {
            std::string_view name = Trim(line.substr(5));
            if (!name.empty())
                content.helpFile = std::string(name);
            continue;
        }
        FileEntry entry;
        if (ParseEntryLine(line, entry))
            content.entries.push_back(std::move(entry));
    }
    return content;
}

}  // namespace language
