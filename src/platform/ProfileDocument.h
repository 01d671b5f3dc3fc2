// A private-profile text held in memory for many edits: parsed once, edited with the rules of
// ProfileText.h (the result is the text those functions give when applied one after another)
// and turned back into text once. Lookups of a section go through an index, so a series of
// edits costs about one pass over the text, not one pass per edit.
#pragma once

#include "ProfileLines.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class ProfileDocument {
public:
    explicit ProfileDocument(std::string text);
    // Lines are views into the document's own storage.
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    std::string Text() const;

    std::optional<std::string> Find(std::string_view section, std::string_view key,
                                    bool keepQuotes = false) const;
    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(std::string_view section) const;

    // As ProfileSet, ProfileRemoveKey and ProfileRemoveSection; the removals tell whether
    // anything was removed.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    bool RemoveKey(std::string_view section, std::string_view key);
    bool RemoveSection(std::string_view section);
    // Removes every section whose name (first spelling in the text) `drop` accepts.
    bool RemoveSectionsIf(const std::function<bool(const std::string&)>& drop);

private:
    using Line = profile_lines::Line;
    struct Section {
        Line header;
        std::vector<Line> body;
        bool removed = false;
    };

    std::string_view Keep(std::string text);
    // The first section of the name still in the document, or null.
    Section* First(std::string_view section);
    const Section* First(std::string_view section) const;
    Line* LastLine();
    bool Remove(const std::string& folded);

    std::string original_;
    std::deque<std::string> added_;  // text of new lines; a deque keeps the views valid
    std::string_view bom_;
    std::vector<Line> preamble_;  // lines before the first section
    std::vector<Section> sections_;
    // Folded section name -> indexes of the sections of that name still present, in text order.
    std::unordered_map<std::string, std::vector<std::size_t>> index_;
};

}  // namespace platform
