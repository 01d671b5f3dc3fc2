// The ".lng" language file: parsing only, no table and no file access.
//
// Line 1 holds the signature text (anywhere in the line). Every later line is trimmed, then:
//   HELP=name          names the help file (any case; a later line replaces an earlier one)
//   "English"="Text"   one entry; both sides unescaped (\" \' \\ \a \b \f \n \r \t \v)
// Anything else, and every entry line that is not exactly quote, text, quote, '=', quote, text,
// quote, is skipped. Lines end with LF or CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace language {

inline constexpr std::string_view kSignature = "Corvane language file";
// The first line written into new language files.
inline constexpr std::string_view kSignatureLine = "Corvane language file 1";

struct FileEntry {
    std::string key;          // trimmed English text, never empty
    std::string translation;  // empty when it equals the key or was empty
};

struct FileContent {
    bool signature = false;  // false: nothing else is filled in
    std::vector<FileEntry> entries;
    std::string helpFile;  // empty when no non-empty HELP= line was found
};

bool HasSignature(std::string_view firstLine);

// Backslash escapes as above; a backslash before any other character drops both, a trailing
// backslash is dropped. Texts of one character or less are returned unchanged.
std::string Unescape(std::string_view text);

// Leading and trailing blanks (space, tab, CR, LF, VT, FF) removed.
std::string_view Trim(std::string_view text);

// Parses one entry line (already trimmed); false for a line that is no well-formed entry.
bool ParseEntryLine(std::string_view line, FileEntry& entry);

FileContent ParseLanguageText(std::string_view text);

}  // namespace language
