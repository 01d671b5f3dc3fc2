#include "PendingRestore.h"

#include "BackupNames.h"

#include "AsciiCase.h"
#include "AtomicFile.h"
#include "Process.h"
#include "ProgramFolder.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string_view>

namespace backup {

namespace {

constexpr std::string_view kTempPrefix = ".restore-";
// A commit list never holds more than a restore may write.
constexpr std::size_t kMaxListBytes = 64u << 20;

bool IsRestoreTemp(std::string_view name)
{
    return name.substr(0, kTempPrefix.size()) == kTempPrefix && platform::IsPlainName(name)
           && name.find('\t') == std::string_view::npos
           && name.find('\n') == std::string_view::npos;
}

// The entries of the commit list; lines that name anything else are ignored.
std::vector<PreparedEntry> ReadCommit(const std::string& path)
{
    std::vector<PreparedEntry> entries;
    std::string text;
    if (!platform::ReadWholeFile(path, text, nullptr, nullptr, kMaxListBytes))
        return entries;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = std::string_view(text).substr(at, end - at);
        at = end + 1;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        PreparedEntry e{std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))};
        if (IsRestoreTemp(e.tempName) && IsRestorableName(e.entry))
            entries.push_back(std::move(e));
    }
    return entries;
}

// ".restore-PID-XXXXXX" of an ended process, or of the older form without the id.
bool IsLeftoverTemp(std::string_view name)
{
    if (name.substr(0, kTempPrefix.size()) != kTempPrefix)
        return false;
    const std::string_view rest = name.substr(kTempPrefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos)
        return rest.size() == 6;
    return platform::WriterHasEnded(rest.substr(0, dash), true);
}

}  // namespace

std::string RestoreTempStem()
{
    return std::string(kTempPrefix.substr(1)) + std::to_string(::getpid());
}

Spellings SpellingsIn(const std::string& folder)
{
    Spellings spellings;
    for (std::string& name : platform::GlobFolder(folder, "*"))
        spellings[platform::AsciiLowerCopy(name)].push_back(std::move(name));
    return spellings;
}

bool CommitRestore(const std::string& folder, const std::vector<PreparedEntry>& entries,
                   std::string* error)
{
    std::string text;
    for (const PreparedEntry& e : entries)
        text += e.tempName + '\t' + e.entry + '\n';
    return platform::WriteFileAtomic(platform::JoinPath(folder, kPendingRestoreName), text, error);
}

bool PlacePrepared(const std::string& folder, const PreparedEntry& prepared, Spellings& present,
                   std::string* error)
{
    // Renaming by the folder's case rule lists the folder each time, which only a name with
    // another spelling present needs.
    std::vector<std::string>& spellings = present[platform::AsciiLowerCopy(prepared.entry)];
    const bool others = std::any_of(spellings.begin(), spellings.end(),
                                    [&](const std::string& s) { return s != prepared.entry; });
    bool ok = true;
    if (others) {
        ok = platform::RenameInFolder(folder, prepared.tempName, prepared.entry, error);
    } else if (::rename(platform::JoinPath(folder, prepared.tempName).c_str(),
                        platform::JoinPath(folder, prepared.entry).c_str())
               != 0) {
        if (error)
            *error = platform::ErrorText(errno);
        ok = false;
    }
    if (ok)
        spellings.assign(1, prepared.entry);
    return ok;
}

bool FinishPendingRestore(const std::string& folder, std::string* error)
{
    const std::string list = platform::JoinPath(folder, kPendingRestoreName);
    if (::access(list.c_str(), F_OK) == 0) {
        Spellings present = SpellingsIn(folder);
        for (const PreparedEntry& e : ReadCommit(list)) {
            // A temporary already renamed before the kill is gone; its entry is in place.
            if (::access(platform::JoinPath(folder, e.tempName).c_str(), F_OK) != 0)
                continue;
            if (!PlacePrepared(folder, e, present, error))
                return false;
        }
        ::unlink(list.c_str());
    }
    for (const std::string& name : platform::GlobFolder(folder, ".restore-*"))
        if (IsLeftoverTemp(name))
            ::unlink(platform::JoinPath(folder, name).c_str());
    return true;
}

}  // namespace backup
