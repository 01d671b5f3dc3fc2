// "Startup.dat": the outside programs started with the program, one line each:
//   "description"="program"="command line"
// No escaping exists, so a field holding a quote-equals pair or a line break cannot be stored;
// CheckEntry refuses such entries before they reach the file. Qt-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace startup_programs {

inline constexpr const char* kFileName = "Startup.dat";

struct StartupEntry {
    std::string description;
    std::string program;
    std::string commandLine;
    bool operator==(const StartupEntry&) const = default;
};

// The reading rule for one line (a trailing CR is dropped); nullopt for a line it skips.
std::optional<StartupEntry> ParseLine(std::string_view line);
// The line as written, with its LF.
std::string FormatLine(const StartupEntry& entry);

// Every accepted line of a file's text, in order.
std::vector<StartupEntry> ParseText(std::string_view text);
// The file of the folder (name matched ignoring case); empty when missing or unreadable.
std::vector<StartupEntry> ReadFile(const std::string& folder);
// Replaces the file with the entries (empty descriptions skipped); the old file survives a
// failed write. *error gets the reason.
bool WriteFile(const std::string& folder, const std::vector<StartupEntry>& entries,
               std::string* error);
// Adds one line at the end of the file (created when missing), keeping what it holds.
bool AppendEntry(const std::string& folder, const StartupEntry& entry, std::string* error);

enum class EntryCheck { Ok, BadDescription, BadField };
// BadDescription: empty, or holding a quote-equals pair or a line break; BadField: the program
// or command line holds one of them.
EntryCheck CheckEntry(const StartupEntry& entry);

}  // namespace startup_programs
