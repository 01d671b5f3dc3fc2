// Private-profile (INI) files.
//
// No cache: every read reads the file from disk. The file's last path component is matched
// ignoring case ("Corvane.INI" finds "Corvane.ini"). Every write is a locked read-modify-write
// (flock on the file's folder) finished by an atomic rewrite (AtomicFile.h), so concurrent writers
// do not lose each other's updates and readers never see a half-written file. Writes report
// failure (false plus an error text) and then leave the file as it was. The text rules are those
// of ProfileText.h. Many writes to one file go through ProfileBatch.h: one rewrite for all.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The value, or nullopt when the file, the section or the key is absent.
std::optional<std::string> ReadProfileValue(const std::string& file, std::string_view section,
                                            std::string_view key, bool keepQuotes = false);

// The value, or `def` when absent.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view def, const std::string& file);

// Whether every read sees the file whole: true when it can be read in full or is missing (it
// reads as empty then); false with *error when it is there but unreadable or too large.
bool ProfileReadable(const std::string& file, std::string* error);

std::vector<std::string> ReadProfileSectionNames(const std::string& file);
std::vector<std::string> ReadProfileKeyNames(const std::string& file, std::string_view section);

// Creates the file and the section when needed; replaces the key in place. The folder must exist.
bool WriteProfileValue(const std::string& file, std::string_view section, std::string_view key,
                       std::string_view value, std::string* error = nullptr);

// Removing what is absent succeeds without touching the file.
bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key,
                      std::string* error = nullptr);
bool DeleteProfileSection(const std::string& file, std::string_view section,
                          std::string* error = nullptr);

// Removes every section for which drop(name) is true, in one rewrite.
template <class Pred>
bool DeleteProfileSectionsIf(const std::string& file, Pred drop, std::string* error = nullptr);

// The classic call: a null key deletes the section, a null value deletes the key, otherwise the
// value is written. A null section fails.
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& file, std::string* error = nullptr);

namespace detail {
// The file's text; a missing, unreadable or oversized file reads as empty.
std::string ReadProfileText(const std::string& file);
// Runs edit(text) -> new text under the folder lock and rewrites the file when the text changed.
// A missing file reads as empty; `createIfMissing` false leaves a missing file absent.
bool EditProfileFile(const std::string& file, bool createIfMissing,
                     std::string (*edit)(std::string_view, void*), void* context,
                     std::string* error);
}  // namespace detail

}  // namespace platform

#include "ProfileDocument.h"
#include "ProfileText.h"

template <class Pred>
bool platform::DeleteProfileSectionsIf(const std::string& file, Pred drop, std::string* error)
{
    auto edit = [](std::string_view text, void* ctx) {
        // One parse for all the sections removed.
        ProfileDocument doc{std::string(text)};
        doc.RemoveSectionsIf(*static_cast<Pred*>(ctx));
        return doc.Text();
    };
    return detail::EditProfileFile(file, false, edit, &drop, error);
}
