#include "ProfileDocument.h"

#include "AsciiCase.h"
#include "ProfileText.h"

#include <unordered_set>
#include <utility>

namespace platform {

using profile_lines::Classify;
using profile_lines::LineKind;

ProfileDocument::ProfileDocument(std::string text) : original_(std::move(text))
{
    profile_lines::LineReader reader(original_);
    bom_ = reader.Bom();
    Line line;
    while (reader.Next(line)) {
        if (line.kind == LineKind::Section) {
            index_[AsciiLowerCopy(line.name)].push_back(sections_.size());
            sections_.push_back({line, {}, false});
        } else if (sections_.empty()) {
            preamble_.push_back(line);
        } else {
            sections_.back().body.push_back(line);
        }
    }
}

std::string ProfileDocument::Text() const
{
    std::size_t size = bom_.size();
    auto count = [&size](const Line& l) { size += l.content.size() + l.ending.size(); };
    for (const Line& l : preamble_)
        count(l);
    for (const Section& s : sections_) {
        if (s.removed)
            continue;
        count(s.header);
        for (const Line& l : s.body)
            count(l);
    }
    std::string out;
    out.reserve(size);
    out.append(bom_);
    auto append = [&out](const Line& l) {
        out.append(l.content);
        out.append(l.ending);
    };
    for (const Line& l : preamble_)
        append(l);
    for (const Section& s : sections_) {
        if (s.removed)
            continue;
        append(s.header);
        for (const Line& l : s.body)
            append(l);
    }
    return out;
}

std::string_view ProfileDocument::Keep(std::string text)
{
    added_.push_back(std::move(text));
    return added_.back();
}

const ProfileDocument::Section* ProfileDocument::First(std::string_view section) const
{
    auto it = index_.find(AsciiLowerCopy(ProfileTrim(section)));
    if (it == index_.end() || it->second.empty())
        return nullptr;
    return &sections_[it->second.front()];
}

ProfileDocument::Section* ProfileDocument::First(std::string_view section)
{
    return const_cast<Section*>(std::as_const(*this).First(section));
}

ProfileDocument::Line* ProfileDocument::LastLine()
{
    for (auto s = sections_.rbegin(); s != sections_.rend(); ++s) {
        if (s->removed)
            continue;
        return s->body.empty() ? &s->header : &s->body.back();
    }
    return preamble_.empty() ? nullptr : &preamble_.back();
}

std::optional<std::string> ProfileDocument::Find(std::string_view section, std::string_view key,
                                                 bool keepQuotes) const
{
    const Section* s = First(section);
    if (!s)
        return std::nullopt;
    key = ProfileTrim(key);
    for (const Line& l : s->body)
        if (l.kind == LineKind::Key && AsciiIEquals(l.name, key))
            return std::string(keepQuotes ? l.value : profile_lines::Unquote(l.value));
    return std::nullopt;
}

std::vector<std::string> ProfileDocument::Sections() const
{
    std::vector<std::string> out;
    std::unordered_set<std::string> seen;
    for (const Section& s : sections_)
        if (!s.removed && seen.insert(AsciiLowerCopy(s.header.name)).second)
            out.emplace_back(s.header.name);
    return out;
}

std::vector<std::string> ProfileDocument::Keys(std::string_view section) const
{
    std::vector<std::string> out;
    const Section* s = First(section);
    if (!s)
        return out;
    std::unordered_set<std::string> seen;
    for (const Line& l : s->body)
        if (l.kind == LineKind::Key && seen.insert(AsciiLowerCopy(l.name)).second)
            out.emplace_back(l.name);
    return out;
}

void ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    section = ProfileTrim(section);
    key = ProfileTrim(key);
    std::string_view content = Keep(std::string(key) + "=" + std::string(value));
    Section* s = First(section);
    if (!s) {
        // A new section at the end, on a line of its own.
        if (Line* last = LastLine(); last && last->ending.empty())
            last->ending = "\n";
        Line header = Classify(Keep("[" + std::string(section) + "]"), "\n");
        index_[AsciiLowerCopy(header.name)].push_back(sections_.size());
        sections_.push_back({header, {Classify(content, "\n")}, false});
        return;
    }
    std::size_t insertAt = 0;  // after the section's last key, or right after its header
    for (std::size_t i = 0; i < s->body.size(); ++i) {
        Line& l = s->body[i];
        if (l.kind != LineKind::Key)
            continue;
        if (AsciiIEquals(l.name, key)) {
            l = Classify(content, l.ending);
            return;
        }
        insertAt = i + 1;
    }
    Line& before = insertAt == 0 ? s->header : s->body[insertAt - 1];
    if (before.ending.empty())
        before.ending = "\n";
    s->body.insert(s->body.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   Classify(content, "\n"));
}

bool ProfileDocument::RemoveKey(std::string_view section, std::string_view key)
{
    auto it = index_.find(AsciiLowerCopy(ProfileTrim(section)));
    if (it == index_.end())
        return false;
    key = ProfileTrim(key);
    bool any = false;
    for (std::size_t i : it->second) {
        std::vector<Line>& body = sections_[i].body;
        std::size_t kept = 0;
        for (const Line& l : body) {
            if (l.kind == LineKind::Key && AsciiIEquals(l.name, key))
                continue;
            body[kept++] = l;
        }
        any = any || kept != body.size();
        body.resize(kept);
    }
    return any;
}

bool ProfileDocument::Remove(const std::string& folded)
{
    auto it = index_.find(folded);
    if (it == index_.end() || it->second.empty())
        return false;
    for (std::size_t i : it->second)
        sections_[i].removed = true;
    index_.erase(it);
    return true;
}

bool ProfileDocument::RemoveSection(std::string_view section)
{
    return Remove(AsciiLowerCopy(ProfileTrim(section)));
}

bool ProfileDocument::RemoveSectionsIf(const std::function<bool(const std::string&)>& drop)
{
    bool any = false;
    for (const std::string& name : Sections())
        if (drop(name))
            any = Remove(AsciiLowerCopy(name)) || any;
    return any;
}

}  // namespace platform
