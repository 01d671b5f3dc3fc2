// Clipboard text of the grid: one line per row, fields separated by tabs. Reading accepts what
// other programs put there too (CR LF line ends, comma-separated values).
#pragma once

#include <string>
#include <string_view>
#include <vector>

using ClipboardRows = std::vector<std::vector<std::string>>;

// Fields joined by "\t", rows by "\n"; no line end after the last row.
std::string BuildClipboardText(const ClipboardRows& rows);

// Splits text into rows at "\n" and each row into fields, every field trimmed of blanks (so a
// "\r" before the "\n" goes). Fields split at tabs when the text holds a tab, else at commas, so
// values holding commas survive a copy and paste. A line end at the very end of the text ends
// the last row and starts none; empty text gives no rows.
ClipboardRows ParseClipboardText(std::string_view text);
