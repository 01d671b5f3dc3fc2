// The lines of private-profile text as ProfileText.h and ProfileDocument.h see them (shared so
// that both read a line the same way). Views only: nothing is copied.
#pragma once

#include <string_view>

namespace platform::profile_lines {

inline constexpr std::string_view kBom = "\xEF\xBB\xBF";

enum class LineKind { Other, Section, Key };

struct Line {
    std::string_view content;  // without the line ending
    std::string_view ending;   // "\n", "\r\n" or "" (last line)
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed, quotes kept
};

Line Classify(std::string_view content, std::string_view ending);

// One pair of enclosing double quotes removed.
std::string_view Unquote(std::string_view v);

// Steps through a text line by line; a leading byte-order mark is not part of the first line.
class LineReader {
public:
    explicit LineReader(std::string_view text);
    std::string_view Bom() const { return bom_; }
    bool Next(Line& line);

private:
    std::string_view text_;
    std::string_view bom_;
    std::size_t pos_ = 0;
};

}  // namespace platform::profile_lines
