// The refusal of a scan range as the user sees it: its message with the limits, the focus on the
// field at fault.
#pragma once

#include "ScanRange.h"

#include <cstdint>

class CLanguage;
class QWidget;

namespace scans {

// True when the range is refused (the message shown, the field focused).
bool RefuseScanRange(const CLanguage& language, int64_t start, int64_t end, int64_t low,
                     int64_t high, QWidget* startField, QWidget* endField);

}  // namespace scans
