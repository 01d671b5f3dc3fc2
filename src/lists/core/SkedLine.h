// One sked: a UTC minute and the channel the radio is tuned to then. In the sked file each sked
// is one line of ten fields (TildeTextRecord.h): key, description, VFO A frequency, mode and
// filter, VFO B frequency, mode and filter, split, the active VFO.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "ChannelTuning.h"

namespace lists {

struct SkedLine {
    std::string key;  // "%Y%m%d%H%M", UTC
    std::string description;
    std::string frequencyA;  // as the frequency field shows it: '.' may group the digits
    std::string modeA;
    bool narrowA = false;
    std::string frequencyB;
    std::string modeB;
    bool narrowB = false;
    bool split = false;
    bool activeB = false;
};

// The calendar date and time of a key (seconds 0): twelve digits, year 1900 or later, month
// 1-12, day 1-31, hour 0-23, minute 0-59; nothing for anything else.
std::optional<std::tm> ParseSkedKey(std::string_view key);
// Whether a key names a minute (ParseSkedKey accepts it).
bool IsSkedKey(std::string_view key);
// The key of a UTC time.
std::string SkedKeyOf(const std::tm& utc);

// The sked of a line; nothing for a line without two "~". Missing fields stay empty.
std::optional<SkedLine> ParseSkedLine(std::string_view line);
// The line of a sked (without the line end); a "~" in a field becomes a blank.
std::string JoinSkedLine(const SkedLine& sked);

// A frequency field's hertz: the '.' removed, the digits read; 0 for anything else.
int64_t SkedFrequency(std::string_view text);
// What the sked tunes.
ChannelTuning SkedTuning(const SkedLine& sked);

}  // namespace lists
