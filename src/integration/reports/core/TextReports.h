// The three text reports as lines: the split presets, the skeds and the band limits, laid out for
// a page of n characters. Each entry's lines come apart so the printer can show its progress and
// stop between entries.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

class CLanguage;
namespace bands {
class CBandTable;
}

namespace reports {

struct ReportText {
    std::vector<std::string> headers;               // printed at the top of every page
    std::vector<std::vector<std::string>> entries;  // each entry's lines; "" is an empty line
};

// The split list's lines, in list order; one without all four fields prints nothing.
ReportText SplitReport(const std::vector<std::string>& lines, const CLanguage& language, int n);

// The date of a sked's minute as the user reads dates.
using DateText = std::function<std::string(const std::tm&)>;
// The sked list's lines, in list order: one line each when n is above 89, else two and a blank.
ReportText SkedReport(const std::vector<std::string>& lines, const CLanguage& language, int n,
                      const DateText& date);

// The radio's general coverage, then each amateur band with its mode segments.
ReportText BandLimitsReport(const bands::CBandTable& table, int64_t radioLower, int64_t radioUpper,
                            const CLanguage& language);

}  // namespace reports
