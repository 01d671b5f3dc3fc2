// How a PC memory's description names a radio memory channel: "Mem. 07" after a read, and
// "Mem.7", "MEM.07 home" or "Mem. 7" typed by hand.
#pragma once

#include <string>
#include <string_view>

namespace lists {

// The name a read gives channel n: prefix, a space, n as two digits.
std::string ChannelDescription(std::string_view prefix, int n);

// The channel a description names: the prefix (ignoring case), an optional space, then one or
// two digits not followed by a third; 1..99, else 0 ("Mem.100" and "Mem.00" name none).
int ChannelNamedBy(std::string_view description, std::string_view prefix);

}  // namespace lists
