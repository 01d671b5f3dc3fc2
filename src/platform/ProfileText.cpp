#include "ProfileText.h"

#include "AsciiCase.h"
#include "ProfileLines.h"

#include <unordered_set>

namespace platform {

namespace profile_lines {

Line Classify(std::string_view content, std::string_view ending)
{
    Line line;
    line.content = content;
    line.ending = ending;
    std::string_view t = ProfileTrim(content);
    if (t.empty() || t.front() == ';')
        return line;
    if (t.front() == '[') {
        std::string_view inner = t.substr(1);
        size_t close = inner.find(']');
        if (close != std::string_view::npos)
            inner = inner.substr(0, close);
        line.kind = LineKind::Section;
        line.name = ProfileTrim(inner);
        return line;
    }
    size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return line;
    line.kind = LineKind::Key;
    line.name = ProfileTrim(t.substr(0, eq));
    line.value = ProfileTrim(t.substr(eq + 1));
    return line;
}

std::string_view Unquote(std::string_view v)
{
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        return v.substr(1, v.size() - 2);
    return v;
}

LineReader::LineReader(std::string_view text) : text_(text)
{
    if (text_.substr(0, kBom.size()) == kBom) {
        bom_ = text_.substr(0, kBom.size());
        pos_ = kBom.size();
    }
}

bool LineReader::Next(Line& line)
{
    if (pos_ >= text_.size())
        return false;
    size_t nl = text_.find('\n', pos_);
    if (nl == std::string_view::npos) {
        line = Classify(text_.substr(pos_), {});
        pos_ = text_.size();
        return true;
    }
    size_t end = nl;
    if (end > pos_ && text_[end - 1] == '\r')
        --end;
    line = Classify(text_.substr(pos_, end - pos_), text_.substr(end, nl + 1 - end));
    pos_ = nl + 1;
    return true;
}

}  // namespace profile_lines

namespace {

using profile_lines::Line;
using profile_lines::LineKind;
using profile_lines::Unquote;

// Byte offset of a line's start, and of its end with and without the line ending.
size_t Start(std::string_view text, const Line& l)
{
    return static_cast<size_t>(l.content.data() - text.data());
}
size_t ContentEnd(std::string_view text, const Line& l)
{
    return Start(text, l) + l.content.size();
}
size_t End(std::string_view text, const Line& l)
{
    return ContentEnd(text, l) + l.ending.size();
}

void Append(std::string& out, const Line& line)
{
    out.append(line.content);
    out.append(line.ending);
}

// Adds `name` unless a case variant is there already; `seen` holds the folded names.
void AddOnce(std::vector<std::string>& out, std::unordered_set<std::string>& seen,
             std::string_view name)
{
    if (seen.insert(AsciiLowerCopy(name)).second)
        out.emplace_back(name);
}

}  // namespace

std::string_view ProfileTrim(std::string_view s)
{
    auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return s;
}

std::optional<std::string> ProfileFind(std::string_view text, std::string_view section,
                                       std::string_view key, bool keepQuotes)
{
    section = ProfileTrim(section);
    key = ProfileTrim(key);
    // One pass without storing lines: settings files can be large and are read key by key.
    profile_lines::LineReader reader(text);
    Line l;
    bool inSection = false;
    while (reader.Next(l)) {
        if (l.kind == LineKind::Section) {
            if (inSection)
                return std::nullopt;  // only the first section of the name counts
            inSection = AsciiIEquals(l.name, section);
        } else if (inSection && l.kind == LineKind::Key && AsciiIEquals(l.name, key)) {
            return std::string(keepQuotes ? l.value : Unquote(l.value));
        }
    }
    return std::nullopt;
}

std::vector<std::string> ProfileSections(std::string_view text)
{
    std::vector<std::string> out;
    std::unordered_set<std::string> seen;
    profile_lines::LineReader reader(text);
    Line l;
    while (reader.Next(l))
        if (l.kind == LineKind::Section)
            AddOnce(out, seen, l.name);
    return out;
}

std::vector<std::string> ProfileKeys(std::string_view text, std::string_view section)
{
    std::vector<std::string> out;
    std::unordered_set<std::string> seen;
    section = ProfileTrim(section);
    profile_lines::LineReader reader(text);
    Line l;
    bool inSection = false;
    while (reader.Next(l)) {
        if (l.kind == LineKind::Section) {
            if (inSection)
                break;
            inSection = AsciiIEquals(l.name, section);
        } else if (inSection && l.kind == LineKind::Key) {
            AddOnce(out, seen, l.name);
        }
    }
    return out;
}

bool ProfileSectionValid(std::string_view section, std::string* error)
{
    if (section.find_first_of(std::string_view("\r\n\0]", 4)) != std::string_view::npos) {
        if (error)
            *error = "Invalid section name";
        return false;
    }
    return true;
}

bool ProfileEntryValid(std::string_view section, std::string_view key, std::string_view value,
                       std::string* error)
{
    if (!ProfileSectionValid(section, error))
        return false;
    std::string_view k = ProfileTrim(key);
    if (k.empty() || k.front() == '[' || k.front() == ';'
        || key.find_first_of(std::string_view("\r\n\0=", 4)) != std::string_view::npos) {
        if (error)
            *error = "Invalid key name";
        return false;
    }
    if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        if (error)
            *error = "A value cannot hold a line break";
        return false;
    }
    return true;
}

std::string ProfileSet(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value)
{
    section = ProfileTrim(section);
    key = ProfileTrim(key);
    const std::string newLine = std::string(key) + "=" + std::string(value);
    // One pass without storing lines: find the line to replace, or the line to insert after.
    profile_lines::LineReader reader(text);
    Line l, after;
    bool inSection = false, found = false;
    while (reader.Next(l)) {
        if (l.kind == LineKind::Section) {
            if (inSection)
                break;  // only the first section of the name is written
            inSection = found = AsciiIEquals(l.name, section);
            if (inSection)
                after = l;
        } else if (inSection && l.kind == LineKind::Key) {
            if (AsciiIEquals(l.name, key)) {
                // Replaced in place; the line keeps its ending.
                std::string out;
                out.reserve(text.size() + newLine.size());
                out.append(text.substr(0, Start(text, l)));
                out += newLine;
                out.append(text.substr(ContentEnd(text, l)));
                return out;
            }
            after = l;
        }
    }
    std::string out;
    out.reserve(text.size() + newLine.size() + section.size() + 8);
    if (!found) {
        out.append(text);
        if (!out.empty() && out.back() != '\n' && out.size() > reader.Bom().size())
            out += '\n';
        out += "[" + std::string(section) + "]\n" + newLine + "\n";
        return out;
    }
    // After the section's last key (or its header), on a line of its own.
    const size_t at = End(text, after);
    out.append(text.substr(0, at));
    if (after.ending.empty())
        out += '\n';
    out += newLine + "\n";
    out.append(text.substr(at));
    return out;
}

std::string ProfileRemoveKey(std::string_view text, std::string_view section, std::string_view key,
                             bool* changed)
{
    section = ProfileTrim(section);
    key = ProfileTrim(key);
    profile_lines::LineReader reader(text);
    std::string out(reader.Bom());
    out.reserve(text.size());
    bool any = false;
    bool inSection = false;
    Line l;
    while (reader.Next(l)) {
        if (l.kind == LineKind::Section)
            inSection = AsciiIEquals(l.name, section);
        if (inSection && l.kind == LineKind::Key && AsciiIEquals(l.name, key)) {
            any = true;
            continue;
        }
        Append(out, l);
    }
    if (changed)
        *changed = any;
    return any ? out : std::string(text);
}

std::string ProfileRemoveSection(std::string_view text, std::string_view section, bool* changed)
{
    section = ProfileTrim(section);
    profile_lines::LineReader reader(text);
    std::string out(reader.Bom());
    out.reserve(text.size());
    bool any = false;
    bool inSection = false;
    Line l;
    while (reader.Next(l)) {
        if (l.kind == LineKind::Section)
            inSection = AsciiIEquals(l.name, section);
        if (inSection) {
            any = true;
            continue;
        }
        Append(out, l);
    }
    if (changed)
        *changed = any;
    return any ? out : std::string(text);
}

}  // namespace platform
