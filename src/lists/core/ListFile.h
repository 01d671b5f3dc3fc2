// The whole-file reading and rewriting every list file shares, and the line-entry helpers of the
// lists that keep each line as it was read.
//
// A rewrite is atomic: a failed write keeps the old file. A file that does not exist is no
// failure; one that exists but cannot be read is, so the caller can tell the user and keep from
// saving over it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AsciiCase.h"

namespace lists {

struct ListFileResult {
    enum Status { Done, Missing, Failed };
    Status status = Done;
    std::string error;  // the system's text of a failure
    bool Ok() const { return status != Failed; }
};

// Far beyond any list a person keeps. Reading and writing share it, so no list is written that
// the next start would refuse to read.
inline constexpr std::size_t kMaxListFileBytes = 64u << 20;

// Why a list of this many bytes cannot be written; nothing when it can.
std::optional<std::string> ListSizeRefusal(std::size_t bytes);

// The file's text; a file over kMaxListFileBytes is a failure, not read.
ListFileResult ReadListFile(const std::string& path, std::string& text);
// A text over kMaxListFileBytes is refused before anything is written.
ListFileResult WriteListFile(const std::string& path, const std::string& text);

// The lines of a list file's text that hold more than blanks, each without any line end, so a
// line is written back as it reads.
std::vector<std::string_view> ListFileLines(std::string_view text);

// The lines a list could not take (another layout, a hand edit) follow its own as they were
// read, each with its "\n", so saving the list never loses them.
void AppendUnreadLines(std::string& text, const std::vector<std::string>& unread);

// Lists of entries that keep their line (`line`) and a description (`description`).
template <class Entry>
std::string LinesText(const std::vector<Entry>& entries, const std::vector<std::string>& unread)
{
    std::string text;
    for (const Entry& e : entries) {
        text += e.line;
        text += '\n';
    }
    AppendUnreadLines(text, unread);
    return text;
}

// The first entry whose description equals this one ignoring case; -1 when there is none.
template <class Entry>
int FindEntryDescription(const std::vector<Entry>& entries, std::string_view description)
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (platform::AsciiIEquals(entries[i].description, description))
            return static_cast<int>(i);
    return -1;
}

template <class Entry>
void EraseEntry(std::vector<Entry>& entries, std::size_t index)
{
    if (index < entries.size())
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace lists
