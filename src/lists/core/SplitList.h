// The split presets: a named offset from the shown frequency with the mode and filter the other
// VFO gets. In the split file each preset is one line of four fields (TildeTextRecord.h):
// description, offset, mode name, "ON" or "OFF" for the narrow filter, with no separator after
// the last one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ListFile.h"

namespace lists {

struct SplitPreset {
    std::string description;
    std::string offset;  // as the offset field shows it: a sign may lead, '.' may group digits
    std::string mode;
    bool narrow = false;
};

// The preset of a line; nothing for a line without "~". Missing fields stay empty.
std::optional<SplitPreset> ParseSplitLine(std::string_view line);
// The line of a preset (without the line end); a "~" in a field becomes a blank.
std::string JoinSplitLine(const SplitPreset& preset);
// An offset field's hertz: the sign kept, the '.' removed; 0 for anything else.
int64_t SplitOffset(std::string_view text);

struct SplitEntry {
    std::string line;  // as read or built, without the line end
    std::string description;
};

// The presets sorted by description (ignoring case), so one index names one preset. Lines of
// the file without "~" are no preset; they are kept as they were and written after the presets.
class SplitList {
public:
    static SplitList Parse(std::string_view text);
    // The file's text: each line followed by "\n"; an empty list is an empty text.
    std::string Text() const;
    // The lines of the file that are no preset.
    const std::vector<std::string>& Unread() const { return unread_; }

    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    const SplitEntry& At(std::size_t index) const { return entries_[index]; }

    // The first entry whose description begins with the text or equals it (ignoring case); -1
    // when there is none.
    int FindPrefix(std::string_view text) const;
    // The first entry holding this preset: the same description, offset in hertz, mode (ignoring
    // case) and filter, however its offset is written.
    int FindSame(const SplitPreset& preset) const;

    // Adds a line after the entries of its description; its index, -1 when refused.
    int Insert(std::string line);
    void Erase(std::size_t index);

private:
    std::vector<SplitEntry> entries_;
    std::vector<std::string> unread_;
};

// Reads the split file; a missing or unreadable file gives an empty list, and *read (when given)
// tells which: an unreadable file must never be overwritten by what the list holds.
SplitList LoadSplitFile(const std::string& path, ListFileResult* read = nullptr);
// Rewrites the file (the old one stays on failure, with the reason in *error).
bool SaveSplitFile(const std::string& path, const SplitList& list, std::string* error);

}  // namespace lists
