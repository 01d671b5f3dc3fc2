// Which files a backup takes and under which names: every "*.dat", "*.mem", "*.wav" and
// "*.ini" of the data folder, stored under its replacement name ("MemPC.Dat" -> "MemPC.da_"),
// which the next start renames back. A restore writes only such replacement names, so nothing
// leaves the data folder or replaces a file the running program uses. Qt-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace backup {

inline constexpr const char* kArchiveName = "Corvane_BACKUP.ZIP";

struct BackupFile {
    std::string fileName;   // as spelled in the data folder
    std::string entryName;  // its name in the archive
};

// The replacement name of a data file's name; empty for a name the backup does not take.
std::string EntryName(std::string_view fileName);

// A bare name (no '/', '\\', ':' or control character, not "." or "..") ending in ".da_",
// ".me_", ".wa_" or ".bkp" (any case) after a non-empty stem.
bool IsRestorableName(std::string_view name);

// The data folder's files a backup takes, pattern by pattern, in name order within each.
std::vector<BackupFile> CollectFiles(const std::string& dataFolder);

}  // namespace backup
