#include "ScanRange.h"

namespace lists {

ScanRangeFault CheckScanRange(int64_t start, int64_t end, int64_t low, int64_t high)
{
    if (start < low || start > high)
        return ScanRangeFault::Start;
    if (end < low || end > high)
        return ScanRangeFault::End;
    if (start >= end)
        return ScanRangeFault::Order;
    return ScanRangeFault::None;
}

}  // namespace lists
