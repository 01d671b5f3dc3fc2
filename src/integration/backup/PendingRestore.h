// A restore is applied whole or not at all. Every entry is first extracted under a temporary
// name; then one list file (the commit) names each temporary with the entry it holds; only then
// do the temporaries take their entry names, and the list goes. A kill before the list exists
// leaves only temporaries, which the next start removes; a kill after it is completed by the next
// start from the list. Qt-free.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace backup {

// The commit list in the data folder.
inline constexpr const char* kPendingRestoreName = ".pending-restore";

// The stem of this process's restore temporaries (".restore-PID-XXXXXX").
std::string RestoreTempStem();

struct PreparedEntry {
    std::string tempName;  // inside the data folder
    std::string entry;     // the name it takes
};

// The spellings of the folder's file names by their lower-case form.
using Spellings = std::unordered_map<std::string, std::vector<std::string>>;
Spellings SpellingsIn(const std::string& folder);

// Writes the commit list; from then on the restore counts as done.
bool CommitRestore(const std::string& folder, const std::vector<PreparedEntry>& entries,
                   std::string* error);

// The temporary takes the entry's name, replacing any other spelling of it.
bool PlacePrepared(const std::string& folder, const PreparedEntry& prepared, Spellings& present,
                   std::string* error);

// At start-up, before anything reads the data files: completes a committed restore, then removes
// the restore temporaries that ended processes left. False (*error says why) when an entry could
// not take its name: the list and its temporaries then stay for the next start, and the restored
// files must not be applied, as that would apply part of the restore.
bool FinishPendingRestore(const std::string& folder, std::string* error);

}  // namespace backup
