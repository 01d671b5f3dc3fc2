// The line layout of every list file: each field followed by " ~ ", one record per line.
//
// Nothing is quoted or escaped, so a "~" inside a field cannot be stored: the writer turns it
// into a blank (in any cell, as one would split the record when read back). The reader accepts
// "\r\n" line ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

inline constexpr std::string_view kFieldSeparator = " ~ ";

enum class TildeLineStyle {
    Plain,      // field, " ~ ", field, " ~ ", ...
    PadToSix,   // the PC memory list: a line shorter than 6 characters after a separator is
                // filled with blanks (the first column of older files lines up that way)
    TrimCells,  // the radio memory list: blanks at the end of the line so far go before each
                // separator, so an empty cell is written as "~ ~"
};

// One record's line, without the line end.
std::string JoinTildeLine(const std::vector<std::string>& fields,
                          TildeLineStyle style = TildeLineStyle::Plain);

// Whether the text after a line's last "~" is a field: the split file writes its last field
// without a separator, the memory files write one after every field.
enum class TildeTail { Field, Ignored };

// The fields of a line, at most maxFields of them (further ones are ignored). The first field is
// the text before the first "~" less the blank before it, as it stands; every other field is
// trimmed of blanks (the blanks that pad a field are no part of it, and would grow at every
// save). A line without "~" gives nothing.
std::vector<std::string> SplitTildeLine(std::string_view line, std::size_t maxFields = SIZE_MAX,
                                        TildeTail tail = TildeTail::Field);

// The lines of a file's text, without their line ends ("\n" or "\r\n"); empty lines and lines
// without "~" are left out.
std::vector<std::string_view> TildeLines(std::string_view text);

// Blanks (space and tab) removed from both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace lists
