#include "SkedList.h"

#include <algorithm>

#include "AsciiCase.h"
#include "AtomicFile.h"
#include "SkedLine.h"
#include "TildeTextRecord.h"

namespace lists {

namespace {

// Larger files are no sked files; they are not read into memory.
constexpr std::size_t kMaxFileSize = 64u << 20;

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
    for (std::string_view line : TildeLines(text)) {
        // Every line end goes, so the line is written back as it reads.
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::optional<SkedEntry> entry = EntryOf(std::string(line));
        if (!entry)
            continue;
        // Keys that name a minute are twelve digits, so they compare as the minutes do.
        if (dropBefore && (!IsSkedKey(entry->key) || entry->key < *dropBefore))
            continue;
        list.entries_.push_back(std::move(*entry));
    }
    std::stable_sort(list.entries_.begin(), list.entries_.end(), KeyLess);
    return list;
}

std::string SkedList::Text() const
{
    std::string text;
    for (const SkedEntry& e : entries_) {
        text += e.line;
        text += '\n';
    }
    return text;
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

int SkedList::FindDescription(std::string_view description) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (platform::AsciiIEquals(entries_[i].description, description))
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
    for (int at = FindKey(sked->key); at >= 0; at = FindKey(sked->key))
        Erase(static_cast<std::size_t>(at));
    return Insert(std::move(line));
}

void SkedList::Erase(std::size_t index)
{
    if (index < entries_.size())
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool SkedKeyBetween(std::string_view key, std::string_view from, std::string_view to)
{
    // Keys that name a minute are twelve digits, so they compare as the minutes do.
    return IsSkedKey(key) && IsSkedKey(from) && IsSkedKey(to) && from <= key && key <= to;
}

SkedList LoadSkedFile(const std::string& path, const std::optional<std::string>& dropBefore,
                      bool* readFailed)
{
    std::string text;
    bool missing = false;
    const bool read = platform::ReadWholeFile(path, text, nullptr, &missing, kMaxFileSize);
    if (readFailed != nullptr)
        *readFailed = !read && !missing;
    if (!read)
        return {};
    return SkedList::Parse(text, dropBefore);
}

bool SaveSkedFile(const std::string& path, const SkedList& list, std::string* error)
{
    return platform::WriteFileAtomic(path, list.Text(), error);
}

}  // namespace lists
