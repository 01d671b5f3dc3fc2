// Text compares behind the grid's sort. Numbers are compared exactly from their digits, so no
// locale changes a result and no long number overflows or wraps.
#pragma once

#include <string_view>

namespace gridcmp {

// Byte-wise, case-sensitive: negative, 0 or positive.
int Text(std::string_view a, std::string_view b);
// Leading C-locale blanks, an optional sign, then digits up to the first other character
// (no digits: 0). -1, 0 or 1.
int LeadingInteger(std::string_view a, std::string_view b);
// Only the decimal digits of each text, read as one whole number. -1, 0 or 1.
int DigitsOnly(std::string_view a, std::string_view b);
// The digits of each text with every ',' as the decimal point; other characters (including '.')
// are dropped. A second ',' ends the number. -1, 0 or 1.
int DecimalComma(std::string_view a, std::string_view b);

}  // namespace gridcmp
