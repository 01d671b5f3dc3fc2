// The line layout of the printed reports, without a device: characters per line, the fixed-width
// columns and where each line of a page goes.
#pragma once

#include <string>
#include <string_view>

namespace reports {

// A page in device units.
struct PageMetrics {
    int width = 0;
    int height = 0;
    int leftMargin = 0;
    int topMargin = 0;
    int lineHeight = 1;
    int charWidth = 1;
};

// The characters that fit between the two margins; at least 1.
int CharsPerLine(const PageMetrics& page);

// The first column of a line with k fixed characters after it: exactly n - k characters (at
// least 1), the text padded with blanks, or cut to one less and ended by a blank. Widths count
// UTF-8 characters.
std::string FirstColumn(std::string_view text, int n, int k);

// printf into a string; the formats are the reports' own.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Where the lines of a document go. A page is opened for the first line and whenever the next
// line would start below the bottom margin; a page always takes the first line after its
// headers, and header lines never break a page, so a page too small for them still ends.
class CLinePager {
public:
    explicit CLinePager(const PageMetrics& page) : page_(page) {}

    // Whether a page must begin before this line (end the open one first, if any).
    bool NeedsNewPage(bool header) const;
    void OpenPage();
    // The height of the next line; moves down by one line.
    int Take();

    bool PageOpen() const { return open_; }
    int PageNumber() const { return pageNumber_; }
    int Y() const { return y_; }

private:
    PageMetrics page_;
    bool open_ = false;
    int pageNumber_ = 0;
    int y_ = 0;
    int linesOnPage_ = 0;
};

}  // namespace reports
