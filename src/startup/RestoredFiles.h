// Files a backup restore left in the program folder under stand-in extensions: at start-up each
// one replaces the current file of its real name, before anything reads that file.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace restored_files {

struct Pass {
    const char* pattern;    // "*.bkp"
    const char* extension;  // "ini"
};

// The four passes, in the order they run: *.bkp -> ini, *.da_ -> dat, *.me_ -> mem, *.wa_ -> wav.
const std::vector<Pass>& Passes();

// "Memo.da_" -> "Memo.dat": the name up to and including its last '.', then the extension.
// Empty for a name without a '.'.
std::string TargetName(const std::string& name, const char* extension);

// Renames every pending file of `folder`. Each one replaces its target atomically, whatever the
// case the target is spelled in; a rename that fails leaves both files as they were and is
// reported through `showError` with "Error: " and the reason, then the next file is done.
// Returns the number of files renamed.
int RenamePending(const std::string& folder,
                  const std::function<void(const std::string&)>& showError);

}  // namespace restored_files
