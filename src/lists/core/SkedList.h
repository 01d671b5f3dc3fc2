// The list of skeds, sorted by key, and the sked file it is kept in.
//
// Every line of the file with two "~" is a sked, kept as it was read and written back, also one
// whose key names no minute (it never fires). Other lines are no sked; they are kept as they were
// and written after the skeds. Skeds with the same key keep their file order, so the first of
// them is the one that fires.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ListFile.h"

namespace lists {

struct SkedEntry {
    std::string line;  // as read or built, without the line end
    std::string key;
    std::string description;
};

class SkedList {
public:
    // The skeds of a file's text. With dropBefore (a key), skeds earlier than that minute are
    // left out (counted in Dropped()).
    static SkedList Parse(std::string_view text, const std::optional<std::string>& dropBefore = {});
    // The file's text: each line followed by "\n".
    std::string Text() const;
    // The lines of the file that are no sked.
    const std::vector<std::string>& Unread() const { return unread_; }
    std::size_t Dropped() const { return dropped_; }

    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    const SkedEntry& At(std::size_t index) const { return entries_[index]; }
    // What the drop-down shows: key, " ~ ", description.
    std::string ShownText(std::size_t index) const;

    // The first entry with exactly this key or this line; -1 when there is none.
    int FindKey(std::string_view key) const;
    int FindLine(std::string_view line) const;
    // The drop-down's own search for a description: the first entry of another key than `key`
    // whose shown text begins with `text` (ignoring case). Shown texts begin with their key, so
    // skeds of one description at different minutes do not find each other.
    int FindShownPrefix(std::string_view text, std::string_view key) const;

    // Adds a line (one with two "~") after the entries of its key; its index, -1 when refused.
    int Insert(std::string line);
    // Adds a line in place of every entry of its key and of the entry the drop-down's search
    // finds for its description; its index, -1 when refused.
    int Replace(std::string line);
    void Erase(std::size_t index);

private:
    std::vector<SkedEntry> entries_;
    std::vector<std::string> unread_;
    std::size_t dropped_ = 0;
};

// Whether an entry's key names a minute from `from` to `to` (keys, both included); a key that
// names no minute is in no range.
bool SkedKeyBetween(std::string_view key, std::string_view from, std::string_view to);

// Reads the sked file; a missing or unreadable file gives an empty list, and *read (when given)
// tells which: an unreadable file must never be overwritten by what the list holds.
SkedList LoadSkedFile(const std::string& path, const std::optional<std::string>& dropBefore = {},
                      ListFileResult* read = nullptr);
// Rewrites the file (the old one stays on failure, with the reason in *error).
bool SaveSkedFile(const std::string& path, const SkedList& list, std::string* error);

}  // namespace lists
