#include "GridClipboardText.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Whether text left out holds a field with something in it.
bool HoldsText(std::string_view s, char separator)
{
    for (char c : s)
        if (!IsBlank(c) && c != separator)
            return true;
    return false;
}

}  // namespace

std::string BuildClipboardText(const ClipboardRows& rows)
{
    std::string out;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0)
            out += "\r\n";
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            if (c > 0)
                out += '\t';
            out += rows[r][c];
        }
    }
    return out;
}

ClipboardRows ParseClipboardText(std::string_view text, const ClipboardParseLimits& limits,
                                 bool* leftOut)
{
    ClipboardRows rows;
    if (leftOut)
        *leftOut = false;
    if (text.empty())
        return rows;
    const char separator =
        limits.tabsOnly || text.find('\t') != std::string_view::npos ? '\t' : ',';
    std::size_t start = 0;
    while (start < text.size()) {
        if (rows.size() >= limits.maxRows) {
            if (leftOut)
                *leftOut = HoldsText(text.substr(start), separator);
            break;
        }
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        std::vector<std::string>& fields = rows.emplace_back();
        std::size_t f = 0;
        while (true) {
            if (fields.size() >= limits.maxFields) {
                if (leftOut && HoldsText(line.substr(f), separator))
                    *leftOut = true;
                break;
            }
            std::size_t g = line.find(separator, f);
            if (g == std::string_view::npos)
                g = line.size();
            fields.emplace_back(Trim(line.substr(f, g - f)));
            if (g >= line.size())
                break;
            f = g + 1;
        }
        start = end + 1;  // a final "\n" leaves start == size: no further row
    }
    return rows;
}
