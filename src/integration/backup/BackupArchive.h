// Writing and reading the backup archive: a standard zip (deflated entries, UTF-8 names flagged)
// through minizip. Every zip and unzip result is checked, the CRC of each restored entry too.
// Qt-free.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace backup {

struct BackupResult {
    bool ok = false;
    std::string error;  // why it failed
    std::string archivePath;
    int entries = 0;
};

// Writes the archive of the data folder's files into targetFolder. It is built beside the old
// archive under a temporary name and replaces it only when complete; a failure removes it and
// leaves the old archive as it was. `level` is zlib's compression level.
BackupResult WriteBackup(const std::string& dataFolder, const std::string& targetFolder,
                         int level = -1);

// The archive in the folder (its name matched ignoring case), when it opens for reading as a
// regular file; nullopt otherwise.
std::optional<std::string> FindArchive(const std::string& folder);

struct RestoreResult {
    // Invalid: not a zip archive, no entries, or none a restore takes; nothing was written.
    enum class Status { Restored, Invalid, Failed };
    Status status = Status::Failed;
    std::string error;                  // Failed: why
    std::vector<std::string> restored;  // the replacement files written
    std::vector<std::string> skipped;   // entries left out: names a backup never writes, links
};

// Called after each step of a restore with the steps done and their number.
using RestoreProgress = std::function<void(int done, int total)>;

// Extracts the restorable entries of the archive into the data folder, whole or not at all (see
// PendingRestore.h). An archive with too many entries, or more than the folder's free space,
// fails before anything is written; so does an archive without restorable entries (Invalid).
RestoreResult RestoreBackup(const std::string& archivePath, const std::string& dataFolder,
                            const RestoreProgress& progress = {});

}  // namespace backup
