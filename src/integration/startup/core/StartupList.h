// The start-up list as the editor changes it: entries in file order, matched by their whole
// description ignoring case.
#pragma once

#include "StartupFile.h"

#include <vector>

namespace startup_programs {

class StartupList {
public:
    StartupList() = default;
    // As read: an empty command line becomes the single blank the editor shows.
    explicit StartupList(std::vector<StartupEntry> entries);

    const std::vector<StartupEntry>& Entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }

    // Replaces every entry of that description by this one at the end; returns its index.
    int Save(const StartupEntry& entry);
    // Removes every entry of that description; returns the entry to select afterwards (the one
    // now at the first removed position, else the last), -1 when none is left or none matched.
    int Delete(const std::string& description);

private:
    std::vector<StartupEntry> entries_;
};

}  // namespace startup_programs
