// Clipboard text of the grid: one line per row, fields separated by tabs. Reading accepts what
// other programs put there too (CR LF line ends, comma-separated values).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

using ClipboardRows = std::vector<std::vector<std::string>>;

// Fields joined by "\t", rows by "\r\n"; no line end after the last row.
std::string BuildClipboardText(const ClipboardRows& rows);

struct ClipboardParseLimits {
    std::size_t maxRows = static_cast<std::size_t>(-1);    // rows past these are not parsed
    std::size_t maxFields = static_cast<std::size_t>(-1);  // per row
    bool tabsOnly = false;  // the grid's own text: fields split at tabs only
};

// Splits text into rows at "\n" and each row into fields, every field trimmed of blanks (so a
// "\r" before the "\n" goes). Fields split at tabs when the text holds a tab (or tabsOnly is
// set), else at commas. A line end at the very end of the text ends the last row and starts
// none; empty text gives no rows. Parsing stops at the limits; *leftOut then says whether text
// past them was left out (blank fields do not count).
ClipboardRows ParseClipboardText(std::string_view text, const ClipboardParseLimits& limits = {},
                                 bool* leftOut = nullptr);
