#include "StartupFile.h"

#include "AtomicFile.h"
#include "ProgramFolder.h"

namespace startup_programs {

namespace {

constexpr std::string_view kPair = "\"=";
// The separator is quote, equals, quote: the field after a pair starts 3 characters on.
constexpr std::size_t kSeparatorLength = 3;
// A start-up list is a few lines; anything larger is not one.
constexpr std::size_t kMaxFileBytes = 1u << 20;

std::string_view After(std::string_view text, std::size_t pairPos)
{
    const std::size_t start = pairPos + kSeparatorLength;
    return start < text.size() ? text.substr(start) : std::string_view{};
}

bool HoldsBreakOrPair(std::string_view text)
{
    return text.find(kPair) != std::string_view::npos
           || text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

std::optional<StartupEntry> ParseLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.size() < 2 || line.front() != '"' || line.back() != '"')
        return std::nullopt;
    line = line.substr(1, line.size() - 2);
    const std::size_t first = line.find(kPair);
    if (first == std::string_view::npos || first == 0)
        return std::nullopt;
    const std::string_view rest = After(line, first);
    const std::size_t second = rest.find(kPair);
    if (second == std::string_view::npos)
        return std::nullopt;
    return StartupEntry{std::string(line.substr(0, first)), std::string(rest.substr(0, second)),
                        std::string(After(rest, second))};
}

std::string FormatLine(const StartupEntry& entry)
{
    return '"' + entry.description + "\"=\"" + entry.program + "\"=\"" + entry.commandLine + "\"\n";
}

std::vector<StartupEntry> ParseText(std::string_view text)
{
    std::vector<StartupEntry> entries;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (auto entry = ParseLine(text.substr(0, end)))
            entries.push_back(std::move(*entry));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return entries;
}

std::vector<StartupEntry> ReadFile(const std::string& folder)
{
    const auto path = platform::FindInFolder(folder, kFileName);
    std::string text;
    if (!path || !platform::ReadWholeFile(*path, text, nullptr, nullptr, kMaxFileBytes))
        return {};
    return ParseText(text);
}

bool WriteFile(const std::string& folder, const std::vector<StartupEntry>& entries,
               std::string* error)
{
    std::string text;
    for (const StartupEntry& entry : entries)
        if (!entry.description.empty())
            text += FormatLine(entry);
    return platform::WriteFileAtomic(platform::ResolveInFolder(folder, kFileName), text, error);
}

bool AppendEntry(const std::string& folder, const StartupEntry& entry, std::string* error)
{
    const std::string path = platform::ResolveInFolder(folder, kFileName);
    std::string text;
    bool missing = false;
    if (!platform::ReadWholeFile(path, text, error, &missing, kMaxFileBytes) && !missing)
        return false;
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return platform::WriteFileAtomic(path, text + FormatLine(entry), error);
}

EntryCheck CheckEntry(const StartupEntry& entry)
{
    if (entry.description.empty() || HoldsBreakOrPair(entry.description))
        return EntryCheck::BadDescription;
    if (HoldsBreakOrPair(entry.program) || HoldsBreakOrPair(entry.commandLine))
        return EntryCheck::BadField;
    return EntryCheck::Ok;
}

}  // namespace startup_programs
