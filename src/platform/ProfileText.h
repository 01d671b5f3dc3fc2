// Private-profile (INI) text, parsed and edited in memory.
//
// Syntax: "[section]" lines open a section; "key=value" lines inside a section hold values; lines
// starting with ';' are comments; other lines are kept but mean nothing. Section and key names
// match ignoring ASCII case. Values are trimmed and lose one pair of enclosing double quotes.
// The first section of a name is the one read and written; a key's first line in it wins.
// Lines may end in LF or CR LF; a leading UTF-8 byte-order mark is skipped.
//
// Edits keep every other line byte for byte (line endings, comments, odd lines); a replaced key
// line keeps its line ending, new lines end in LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The value of section/key, trimmed; with keepQuotes the enclosing quotes stay.
std::optional<std::string> ProfileFind(std::string_view text, std::string_view section,
                                       std::string_view key, bool keepQuotes = false);

// Section names in file order, each once (first spelling).
std::vector<std::string> ProfileSections(std::string_view text);

// Key names of the section in file order, each once; empty when the section is absent.
std::vector<std::string> ProfileKeys(std::string_view text, std::string_view section);

// Checks that a section, key and value can be written as lines that read back as the same names
// and value: no CR, LF or NUL anywhere; no ']' in a section name; a key that is not empty and
// holds no '=' and does not start with '[' or ';'. Names are compared trimmed.
bool ProfileEntryValid(std::string_view section, std::string_view key, std::string_view value,
                       std::string* error = nullptr);
bool ProfileSectionValid(std::string_view section, std::string* error = nullptr);

// Sets the key (replacing its first line in the section, or adding a line after the section's
// last key, or adding the section at the end). The names and value must pass ProfileEntryValid.
std::string ProfileSet(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value);

// Removes every line of the key in every section of that name. *changed tells whether any was.
std::string ProfileRemoveKey(std::string_view text, std::string_view section, std::string_view key,
                             bool* changed = nullptr);

// Removes every section of that name with all its lines.
std::string ProfileRemoveSection(std::string_view text, std::string_view section,
                                 bool* changed = nullptr);

// Trims spaces, tabs, CR, VT and FF from both ends.
std::string_view ProfileTrim(std::string_view s);

}  // namespace platform
