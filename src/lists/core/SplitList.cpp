#include "SplitList.h"

#include <algorithm>

#include "AsciiCase.h"
#include "ListFile.h"
#include "Numbers.h"
#include "TildeTextRecord.h"

namespace lists {

namespace {

constexpr std::string_view kOn = "ON";
constexpr std::string_view kOff = "OFF";
constexpr std::size_t kFieldCount = 4;
// More digits than any offset a radio tunes, and fewer than overflow an int64.
constexpr std::size_t kMaxOffsetDigits = 15;

bool DescriptionLess(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return platform::AsciiLower(x) < platform::AsciiLower(y);
    });
}

std::optional<SplitEntry> EntryOf(std::string line)
{
    std::optional<SplitPreset> preset = ParseSplitLine(line);
    if (!preset)
        return std::nullopt;
    return SplitEntry{std::move(line), std::move(preset->description)};
}

}  // namespace

std::optional<SplitPreset> ParseSplitLine(std::string_view line)
{
    std::vector<std::string> f = SplitTildeLine(line, kFieldCount);
    if (f.empty())
        return std::nullopt;
    f.resize(kFieldCount);
    return SplitPreset{f[0], f[1], f[2], platform::AsciiIEquals(f[3], kOn)};
}

std::string JoinSplitLine(const SplitPreset& p)
{
    std::string line = JoinTildeLine({p.description, p.offset, p.mode});
    // The filter word is the last field: no separator after it.
    line += p.narrow ? kOn : kOff;
    return line;
}

int64_t SplitOffset(std::string_view text)
{
    text = TrimBlanks(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    std::string digits;
    for (char c : text)
        if (c != '.')
            digits += c;
    if (digits.empty() || digits.size() > kMaxOffsetDigits
        || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    const int64_t hz = platform::ParseInt64(digits).value_or(0);
    return negative ? -hz : hz;
}

SplitList SplitList::Parse(std::string_view text)
{
    SplitList list;
    for (std::string_view line : ListFileLines(text))
        if (list.Insert(std::string(line)) < 0)
            list.unread_.emplace_back(line);
    return list;
}

std::string SplitList::Text() const
{
    return LinesText(entries_, unread_);
}

int SplitList::FindPrefix(std::string_view text) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (platform::AsciiIStartsWith(entries_[i].description, text))
            return static_cast<int>(i);
    return -1;
}

int SplitList::FindSame(const SplitPreset& preset) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::optional<SplitPreset> p = ParseSplitLine(entries_[i].line);
        if (p && p->description == preset.description
            && SplitOffset(p->offset) == SplitOffset(preset.offset)
            && platform::AsciiIEquals(p->mode, preset.mode) && p->narrow == preset.narrow)
            return static_cast<int>(i);
    }
    return -1;
}

int SplitList::Insert(std::string line)
{
    std::optional<SplitEntry> entry = EntryOf(std::move(line));
    if (!entry)
        return -1;
    auto at = std::upper_bound(entries_.begin(), entries_.end(), *entry,
                               [](const SplitEntry& a, const SplitEntry& b) {
                                   return DescriptionLess(a.description, b.description);
                               });
    at = entries_.insert(at, std::move(*entry));
    return static_cast<int>(at - entries_.begin());
}

void SplitList::Erase(std::size_t index)
{
    EraseEntry(entries_, index);
}

SplitList LoadSplitFile(const std::string& path, ListFileResult* read)
{
    std::string text;
    ListFileResult result = ReadListFile(path, text);
    const bool done = result.status == ListFileResult::Done;
    if (read != nullptr)
        *read = std::move(result);
    return done ? SplitList::Parse(text) : SplitList{};
}

bool SaveSplitFile(const std::string& path, const SplitList& list, std::string* error)
{
    ListFileResult written = WriteListFile(path, list.Text());
    if (error != nullptr)
        *error = std::move(written.error);
    return written.Ok();
}

}  // namespace lists
