#include "TextReports.h"

#include "BandTable.h"
#include "Language.h"
#include "MemoryChannel.h"
#include "ReportLayout.h"
#include "SkedLine.h"
#include "TildeTextRecord.h"

#include <optional>

namespace reports {

namespace {

constexpr int kStrSplitList = 1111;
constexpr int kStrDescription = 1112;
constexpr int kStrHz = 1113;
constexpr int kStrMode = 1114;
constexpr int kStrFilter = 1115;
constexpr int kStrVfoA = 1117;
constexpr int kStrVfoB = 1118;
constexpr int kStrVfoSel = 1119;
constexpr int kStrSplit = 1121;
constexpr int kStrSkedList = 1180;
constexpr int kStrDateTime = 1182;
constexpr int kStrBandLimits = 1129;
constexpr int kStrBand = 1130;
constexpr int kStrCoverage = 1131;
constexpr int kStrFromTo = 1132;

constexpr std::size_t kSplitFields = 4;
constexpr std::size_t kSkedFields = 10;
// Above this many characters a sked takes one line.
constexpr int kNarrowSkedChars = 89;
constexpr std::size_t kBandLabelWidth = 14;

// The mode lines of a band, in print order.
constexpr struct {
    int segment;
    int stringId;
} kModeLines[] = {{bands::kSegCw, 1133},
                  {bands::kSegRtty, 1136},
                  {bands::kSegLsb, 1135},
                  {bands::kSegUsb, 1137},
                  {bands::kSegFm, 1134}};

// The sked fields by position.
enum SkedField : std::size_t {
    kKey,
    kDescription,
    kFreqA,
    kModeA,
    kFilterA,
    kFreqB,
    kModeB,
    kFilterB,
    kSplitField,
    kVfo
};

std::vector<std::string> Banner(const CLanguage& language, int titleId)
{
    return {" ", language.LoadString(titleId), " "};
}

std::string Right11(int64_t hz)
{
    return Format("%11s", lists::GroupedDigits(hz).c_str());
}

}  // namespace

ReportText SplitReport(const std::vector<std::string>& lines, const CLanguage& language, int n)
{
    constexpr int k = 27;
    ReportText report;
    report.headers = Banner(language, kStrSplitList);
    report.headers.push_back(
        Format("%s%13s%5s%7s", FirstColumn(language.LoadString(kStrDescription), n, k).c_str(),
               language.LoadString(kStrHz).c_str(), language.LoadString(kStrMode).c_str(),
               language.LoadString(kStrFilter).c_str()));
    for (const std::string& line : lines) {
        const std::vector<std::string> f = lists::SplitTildeLine(line, kSplitFields);
        if (f.size() < kSplitFields) {
            report.entries.emplace_back();
            continue;
        }
        report.entries.push_back({Format("%s%13s%5s%7s", FirstColumn(f[0], n, k).c_str(),
                                         f[1].c_str(), f[2].c_str(), f[3].c_str())});
    }
    return report;
}

ReportText SkedReport(const std::vector<std::string>& lines, const CLanguage& language, int n,
                      const DateText& date)
{
    const auto s = [&language](int id) { return language.LoadString(id); };
    ReportText report;
    report.headers = Banner(language, kStrSkedList);
    const bool wide = n > kNarrowSkedChars;
    if (wide) {
        report.headers.push_back(Format(
            "%s%17s%9s%9s%12s%5s%7s%12s%5s%7s", FirstColumn(s(kStrDescription), n, 83).c_str(),
            s(kStrDateTime).c_str(), s(kStrVfoSel).c_str(), s(kStrSplit).c_str(),
            s(kStrVfoA).c_str(), s(kStrMode).c_str(), s(kStrFilter).c_str(), s(kStrVfoB).c_str(),
            s(kStrMode).c_str(), s(kStrFilter).c_str()));
    } else {
        report.headers.push_back(Format("%s%17s%12s%5s%7s",
                                        FirstColumn(s(kStrDescription), n, 43).c_str(),
                                        s(kStrDateTime).c_str(), s(kStrVfoA).c_str(),
                                        s(kStrMode).c_str(), s(kStrFilter).c_str()));
        report.headers.push_back(
            Format("%s%12s%5s%7s", FirstColumn(s(kStrVfoSel) + "   " + s(kStrSplit), n, 26).c_str(),
                   s(kStrVfoB).c_str(), s(kStrMode).c_str(), s(kStrFilter).c_str()));
        report.headers.push_back(" ");
    }
    for (const std::string& line : lines) {
        std::vector<std::string> f = lists::SplitTildeLine(line, kSkedFields);
        if (f.empty()) {
            report.entries.emplace_back();
            continue;
        }
        f.resize(kSkedFields);
        std::string day;
        std::string time;
        if (const std::optional<std::tm> at = lists::ParseSkedKey(f[kKey])) {
            day = date(*at);
            time = Format("%02d:%02d", at->tm_hour, at->tm_min);
        }
        const auto c = [&f](SkedField field) { return f[field].c_str(); };
        if (wide) {
            report.entries.push_back({Format(
                "%s%11s%6s%9s%9s%12s%5s%7s%12s%5s%7s", FirstColumn(f[kDescription], n, 83).c_str(),
                day.c_str(), time.c_str(), c(kVfo), c(kSplitField), c(kFreqA), c(kModeA),
                c(kFilterA), c(kFreqB), c(kModeB), c(kFilterB))});
            continue;
        }
        report.entries.push_back(
            {Format("%s%11s%6s%12s%5s%7s", FirstColumn(f[kDescription], n, 43).c_str(), day.c_str(),
                    time.c_str(), c(kFreqA), c(kModeA), c(kFilterA)),
             Format("%s%12s%5s%7s", FirstColumn(f[kVfo] + "   " + f[kSplitField], n, 26).c_str(),
                    c(kFreqB), c(kModeB), c(kFilterB)),
             ""});
    }
    return report;
}

ReportText BandLimitsReport(const bands::CBandTable& table, int64_t radioLower, int64_t radioUpper,
                            const CLanguage& language)
{
    ReportText report;
    report.headers = Banner(language, kStrBandLimits);
    report.entries.push_back({language.FormatString2(kStrCoverage, lists::GroupedDigits(radioLower),
                                                     lists::GroupedDigits(radioUpper)),
                              ""});
    for (int row = 0; row < bands::kAmateurBandCount; ++row) {
        const bands::BandRow& band = table.Row(row);
        std::string label = language.FormatString1(kStrBand, bands::BandName(row));
        if (label.size() < kBandLabelWidth)
            label.resize(kBandLabelWidth, ' ');
        std::vector<std::string> lines{
            label + language.FormatString2(kStrFromTo, Right11(band.lower), Right11(band.upper))};
        for (const auto& mode : kModeLines) {
            const bands::Range& r = band.segments[static_cast<std::size_t>(mode.segment)];
            if (r.lower > 0 && r.upper != 0)
                lines.push_back(
                    language.FormatString2(mode.stringId, Right11(r.lower), Right11(r.upper)));
        }
        lines.emplace_back();
        report.entries.push_back(std::move(lines));
    }
    return report;
}

}  // namespace reports
