// "Restore Default" asks, through registry CurrentSet/"ResetPosition", that the next start forget
// the window places and dialog fonts, so every window opens at its default place.
#pragma once

#include "Profile.h"

namespace position_reset {

struct Entry {
    const char* section;
    const char* name;
};

// The registry values removed, "ResetPosition" itself last.
const std::vector<Entry>& ResetValues();

// When "ResetPosition" is non-zero, deletes the values; returns whether it did.
bool ResetWindowPositions(Profile& profile);

}  // namespace position_reset
