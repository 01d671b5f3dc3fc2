#include "TildeTextRecord.h"

#include <algorithm>

namespace lists {

namespace {

constexpr std::size_t kPaddedWidth = 6;

std::string WithoutTildes(std::string_view text)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), '~', ' ');
    return out;
}

}  // namespace

std::string JoinTildeLine(const std::vector<std::string>& fields, TildeLineStyle style)
{
    std::string line;
    for (const std::string& field : fields) {
        line += WithoutTildes(field);
        if (style == TildeLineStyle::TrimCells)
            line.erase(line.find_last_not_of(' ') + 1);
        line += kFieldSeparator;
        if (style == TildeLineStyle::PadToSix && line.size() < kPaddedWidth)
            line.append(kPaddedWidth - line.size(), ' ');
    }
    return line;
}

std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitTildeLine(std::string_view line, std::size_t maxFields,
                                        TildeTail tail)
{
    std::vector<std::string> fields;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    std::size_t tilde = line.find('~');
    if (tilde == std::string_view::npos || maxFields == 0)
        return fields;
    // The description keeps its blanks, less the one before the separator.
    std::string_view first = line.substr(0, tilde);
    if (!first.empty() && first.back() == ' ')
        first.remove_suffix(1);
    fields.emplace_back(first);
    while (fields.size() < maxFields) {
        const std::size_t next = line.find('~', tilde + 1);
        if (next == std::string_view::npos && tail == TildeTail::Ignored)
            break;
        std::string_view field = next == std::string_view::npos
                                     ? line.substr(tilde + 1)
                                     : line.substr(tilde + 1, next - tilde - 1);
        field = TrimBlanks(field);
        // A last field without a separator after it counts; the blank tail of a line does not.
        if (next == std::string_view::npos && field.empty())
            break;
        fields.emplace_back(field);
        if (next == std::string_view::npos)
            break;
        tilde = next;
    }
    return fields;
}

std::vector<std::string_view> TildeLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find('~') != std::string_view::npos)
            lines.push_back(line);
    }
    return lines;
}

}  // namespace lists
