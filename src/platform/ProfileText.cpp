#include "ProfileText.h"

#include "AsciiCase.h"

namespace platform {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

enum class LineKind { Other, Section, Key };

struct Line {
    std::string_view content;     // without the line ending
    std::string_view ending;      // "\n", "\r\n" or "" (last line)
    LineKind kind = LineKind::Other;
    std::string_view name;        // section or key name, trimmed
    std::string_view value;       // key value, trimmed, quotes kept
};

struct Parsed {
    std::string_view bom;
    std::vector<Line> lines;
};

Line Classify(std::string_view content, std::string_view ending) {
    Line line;
    line.content = content;
    line.ending = ending;
    std::string_view t = ProfileTrim(content);
    if (t.empty() || t.front() == ';') return line;
    if (t.front() == '[') {
        std::string_view inner = t.substr(1);
        size_t close = inner.find(']');
        if (close != std::string_view::npos) inner = inner.substr(0, close);
        line.kind = LineKind::Section;
        line.name = ProfileTrim(inner);
        return line;
    }
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return line;
    line.kind = LineKind::Key;
    line.name = ProfileTrim(t.substr(0, eq));
    line.value = ProfileTrim(t.substr(eq + 1));
    return line;
}

Parsed Parse(std::string_view text) {
    Parsed p;
    if (text.substr(0, kBom.size()) == kBom) {
        p.bom = text.substr(0, kBom.size());
        text.remove_prefix(kBom.size());
    }
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) {
            p.lines.push_back(Classify(text.substr(pos), {}));
            break;
        }
        size_t end = nl;
        if (end > pos && text[end - 1] == '\r') --end;
        p.lines.push_back(Classify(text.substr(pos, end - pos), text.substr(end, nl + 1 - end)));
        pos = nl + 1;
    }
    return p;
}

// [begin, end) of the lines after the first header of `section`; begin == npos when absent.
struct Range {
    size_t header = std::string_view::npos;
    size_t end = 0;
};

Range FindSection(const Parsed& p, std::string_view section, size_t from = 0) {
    Range r;
    for (size_t i = from; i < p.lines.size(); ++i) {
        if (p.lines[i].kind == LineKind::Section && AsciiIEquals(p.lines[i].name, section)) {
            r.header = i;
            r.end = i + 1;
            while (r.end < p.lines.size() && p.lines[r.end].kind != LineKind::Section) ++r.end;
            return r;
        }
    }
    return r;
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
    return v;
}

void Append(std::string& out, const Line& line) {
    out.append(line.content);
    out.append(line.ending);
}

}  // namespace

std::string_view ProfileTrim(std::string_view s) {
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    return s;
}

std::optional<std::string> ProfileFind(std::string_view text, std::string_view section,
                                       std::string_view key, bool keepQuotes) {
    section = ProfileTrim(section);
    key = ProfileTrim(key);
    Parsed p = Parse(text);
    Range r = FindSection(p, section);
    if (r.header == std::string_view::npos) return std::nullopt;
    for (size_t i = r.header + 1; i < r.end; ++i) {
        const Line& l = p.lines[i];
        if (l.kind == LineKind::Key && AsciiIEquals(l.name, key))
            return std::string(keepQuotes ? l.value : Unquote(l.value));
    }
    return std::nullopt;
}

std::vector<std::string> ProfileSections(std::string_view text) {
    std::vector<std::string> out;
    for (const Line& l : Parse(text).lines) {
        if (l.kind != LineKind::Section) continue;
        bool seen = false;
        for (const std::string& s : out) seen = seen || AsciiIEquals(s, l.name);
        if (!seen) out.emplace_back(l.name);
    }
    return out;
}

std::vector<std::string> ProfileKeys(std::string_view text, std::string_view section) {
    std::vector<std::string> out;
    Parsed p = Parse(text);
    Range r = FindSection(p, ProfileTrim(section));
    if (r.header == std::string_view::npos) return out;
    for (size_t i = r.header + 1; i < r.end; ++i) {
        const Line& l = p.lines[i];
        if (l.kind != LineKind::Key) continue;
        bool seen = false;
        for (const std::string& k : out) seen = seen || AsciiIEquals(k, l.name);
        if (!seen) out.emplace_back(l.name);
    }
    return out;
}

bool ProfileSectionValid(std::string_view section, std::string* error) {
    if (section.find_first_of(std::string_view("\r\n\0]", 4)) != std::string_view::npos) {
        if (error) *error = "Invalid section name";
        return false;
    }
    return true;
}

bool ProfileEntryValid(std::string_view section, std::string_view key, std::string_view value,
                       std::string* error) {
    if (!ProfileSectionValid(section, error)) return false;
    std::string_view k = ProfileTrim(key);
    if (k.empty() || k.front() == '[' || k.front() == ';' ||
        key.find_first_of(std::string_view("\r\n\0=", 4)) != std::string_view::npos) {
        if (error) *error = "Invalid key name";
        return false;
    }
    if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        if (error) *error = "A value cannot hold a line break";
        return false;
    }
    return true;
}

std::string ProfileSet(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value) {
    section = ProfileTrim(section);
    key = ProfileTrim(key);
    std::string newLine = std::string(key) + "=" + std::string(value);
    Parsed p = Parse(text);
    Range r = FindSection(p, section);

    std::string out(p.bom);
    out.reserve(text.size() + newLine.size() + section.size() + 8);
    if (r.header == std::string_view::npos) {
        out.append(text.substr(p.bom.size()));
        if (!out.empty() && out.back() != '\n' && out.size() > p.bom.size()) out += '\n';
        out += "[" + std::string(section) + "]\n" + newLine + "\n";
        return out;
    }
    size_t replace = std::string_view::npos;
    size_t insertAfter = r.header;
    for (size_t i = r.header + 1; i < r.end; ++i) {
        const Line& l = p.lines[i];
        if (l.kind != LineKind::Key) continue;
        insertAfter = i;
        if (replace == std::string_view::npos && AsciiIEquals(l.name, key)) replace = i;
    }
    for (size_t i = 0; i < p.lines.size(); ++i) {
        const Line& l = p.lines[i];
        if (i == replace) {
            out += newLine;
            out.append(l.ending);
            continue;
        }
        out.append(l.content);
        if (replace == std::string_view::npos && i == insertAfter) {
            out.append(l.ending.empty() ? std::string_view("\n") : l.ending);
            out += newLine + "\n";
            continue;
        }
        out.append(l.ending);
    }
    return out;
}

std::string ProfileRemoveKey(std::string_view text, std::string_view section, std::string_view key,
                             bool* changed) {
    section = ProfileTrim(section);
    key = ProfileTrim(key);
    Parsed p = Parse(text);
    std::string out(p.bom);
    bool any = false;
    bool inSection = false;
    for (const Line& l : p.lines) {
        if (l.kind == LineKind::Section) inSection = AsciiIEquals(l.name, section);
        if (inSection && l.kind == LineKind::Key && AsciiIEquals(l.name, key)) {
            any = true;
            continue;
        }
        Append(out, l);
    }
    if (changed) *changed = any;
    return any ? out : std::string(text);
}

std::string ProfileRemoveSection(std::string_view text, std::string_view section, bool* changed) {
    section = ProfileTrim(section);
    Parsed p = Parse(text);
    std::string out(p.bom);
    bool any = false;
    bool inSection = false;
    for (const Line& l : p.lines) {
        if (l.kind == LineKind::Section) inSection = AsciiIEquals(l.name, section);
        if (inSection) {
            any = true;
            continue;
        }
        Append(out, l);
    }
    if (changed) *changed = any;
    return any ? out : std::string(text);
}

}  // namespace platform
