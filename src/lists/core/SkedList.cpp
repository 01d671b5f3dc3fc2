#include "SkedList.h"

#include <algorithm>

#include "AsciiCase.h"
#include "ListFile.h"
#include "SkedLine.h"
#include "TildeTextRecord.h"

namespace lists {

namespace {

std::optional<SkedEntry> EntryOf(std::string line)
{
    std::optional<SkedLine> sked = ParseSkedLine(line);
    if (!sked)
        return std::nullopt;
    return SkedEntry{std::move(line), std::move(sked->key), std::move(sked->description)};
}

bool KeyLess(const SkedEntry& a, const SkedEntry& b)
{
    return a.key < b.key;
}

}  // namespace

SkedList SkedList::Parse(std::string_view text, const std::optional<std::string>& dropBefore)
{
    SkedList list;
    for (std::string_view line : ListFileLines(text)) {
        std::optional<SkedEntry> entry = EntryOf(std::string(line));
        if (!entry) {
            list.unread_.emplace_back(line);
            continue;
        }
        // Keys that name a minute are twelve digits, so they compare as the minutes do. A key
        // that names no minute is not known to be old.
        if (dropBefore && IsSkedKey(entry->key) && entry->key < *dropBefore) {
            ++list.dropped_;
            continue;
        }
        list.entries_.push_back(std::move(*entry));
    }
    std::stable_sort(list.entries_.begin(), list.entries_.end(), KeyLess);
    return list;
}

std::string SkedList::Text() const
{
    return LinesText(entries_, unread_);
}

std::string SkedList::ShownText(std::size_t index) const
{
    const SkedEntry& e = entries_[index];
    return e.key + " ~ " + e.description;
}

int SkedList::FindKey(std::string_view key) const
{
    const auto it = std::lower_bound(
        entries_.begin(), entries_.end(), key,
        [](const SkedEntry& e, std::string_view k) { return std::string_view(e.key) < k; });
    return it != entries_.end() && it->key == key ? static_cast<int>(it - entries_.begin()) : -1;
}

int SkedList::FindLine(std::string_view line) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].line == line)
            return static_cast<int>(i);
    return -1;
}

int SkedList::FindShownPrefix(std::string_view text, std::string_view key) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].key != key && platform::AsciiIStartsWith(ShownText(i), text))
            return static_cast<int>(i);
    return -1;
}

int SkedList::Insert(std::string line)
{
    std::optional<SkedEntry> entry = EntryOf(std::move(line));
    if (!entry)
        return -1;
    auto at = std::upper_bound(entries_.begin(), entries_.end(), *entry, KeyLess);
    at = entries_.insert(at, std::move(*entry));
    return static_cast<int>(at - entries_.begin());
}

int SkedList::Replace(std::string line)
{
    const std::optional<SkedLine> sked = ParseSkedLine(line);
    if (!sked)
        return -1;
    if (const int named = FindShownPrefix(sked->description, sked->key); named >= 0)
        Erase(static_cast<std::size_t>(named));
    for (int at = FindKey(sked->key); at >= 0; at = FindKey(sked->key))
        Erase(static_cast<std::size_t>(at));
    return Insert(std::move(line));
}

void SkedList::Erase(std::size_t index)
{
    EraseEntry(entries_, index);
}

bool SkedKeyBetween(std::string_view key, std::string_view from, std::string_view to)
{
    // Keys that name a minute are twelve digits, so they compare as the minutes do.
    return IsSkedKey(key) && IsSkedKey(from) && IsSkedKey(to) && from <= key && key <= to;
}

SkedList LoadSkedFile(const std::string& path, const std::optional<std::string>& dropBefore,
                      ListFileResult* read)
{
    std::string text;
    ListFileResult result = ReadListFile(path, text);
    const bool done = result.status == ListFileResult::Done;
    if (read != nullptr)
        *read = std::move(result);
    return done ? SkedList::Parse(text, dropBefore) : SkedList{};
}

bool SaveSkedFile(const std::string& path, const SkedList& list, std::string* error)
{
    ListFileResult written = WriteListFile(path, list.Text());
    if (error != nullptr)
        *error = std::move(written.error);
    return written.Ok();
}

}  // namespace lists
