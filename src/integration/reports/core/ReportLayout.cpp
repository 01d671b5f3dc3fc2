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

std::string FirstColumn(std::string_view text, int n, int k)
{
    const auto width = static_cast<std::size_t>(std::max(1, n - k));
    if (text.size() <= width) {
        std::string out(text);
        out.resize(width, ' ');
        return out;
    }
    std::string out(text.substr(0, width - 1));
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
