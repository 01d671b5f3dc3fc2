#include "ReportLayout.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace reports {

int CharsPerLine(const PageMetrics& page)
{
    const int usable = page.width - 2 * page.leftMargin;
    return std::max(1, usable / std::max(1, page.charWidth));
}

namespace {

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The bytes of the first `count` characters of a UTF-8 text (all of it when shorter).
std::size_t PrefixBytes(std::string_view text, std::size_t count)
{
    std::size_t i = 0;
    for (std::size_t chars = 0; i < text.size() && chars < count; ++chars) {
        ++i;
        while (i < text.size() && IsContinuation(text[i]))
            ++i;
    }
    return i;
}

}  // namespace

std::string FirstColumn(std::string_view text, int n, int k)
{
    const auto width = static_cast<std::size_t>(std::max(1, n - k));
    // Counted in characters, and never cut inside one.
    const std::size_t whole = PrefixBytes(text, width);
    if (whole == text.size()) {
        std::size_t chars = 0;
        for (char c : text)
            chars += IsContinuation(c) ? 0 : 1;
        std::string out(text);
        out.append(width - chars, ' ');
        return out;
    }
    std::string out(text.substr(0, PrefixBytes(text, width - 1)));
    out += ' ';
    return out;
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (size > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        out.assign(buffer.data(), static_cast<std::size_t>(size));
    }
    va_end(again);
    return out;
}

bool CLinePager::NeedsNewPage(bool header) const
{
    if (!open_)
        return true;
    return !header && linesOnPage_ > 0 && y_ > page_.height - page_.topMargin;
}

void CLinePager::OpenPage()
{
    open_ = true;
    ++pageNumber_;
    y_ = page_.topMargin;
    linesOnPage_ = 0;
}

int CLinePager::Take()
{
    const int y = y_;
    y_ += std::max(1, page_.lineHeight);
    ++linesOnPage_;
    return y;
}

}  // namespace reports
