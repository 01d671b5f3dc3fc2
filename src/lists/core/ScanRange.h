// The checks every scan range passes before it is used or stored: both ends within the radio's
// limits, the start below the end.
#pragma once

#include <cstdint>

namespace lists {

enum class ScanRangeFault { None, Start, End, Order };

ScanRangeFault CheckScanRange(int64_t start, int64_t end, int64_t low, int64_t high);

}  // namespace lists
