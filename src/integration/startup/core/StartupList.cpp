#include "StartupList.h"

#include "AsciiCase.h"

#include <algorithm>

namespace startup_programs {

StartupList::StartupList(std::vector<StartupEntry> entries) : entries_(std::move(entries))
{
    for (StartupEntry& entry : entries_)
        if (entry.commandLine.empty())
            entry.commandLine.assign(1, ' ');
}

int StartupList::Save(const StartupEntry& entry)
{
    Delete(entry.description);
    entries_.push_back(entry);
    return Count() - 1;
}

int StartupList::Delete(const std::string& description)
{
    const auto matches = [&](const StartupEntry& e) {
        return platform::AsciiIEquals(e.description, description);
    };
    const auto first = std::find_if(entries_.begin(), entries_.end(), matches);
    if (first == entries_.end())
        return -1;
    const int position = static_cast<int>(first - entries_.begin());
    entries_.erase(std::remove_if(first, entries_.end(), matches), entries_.end());
    if (entries_.empty())
        return -1;
    return std::min(position, Count() - 1);
}

}  // namespace startup_programs
