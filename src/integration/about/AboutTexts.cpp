#include "AboutTexts.h"

#include "Language.h"

#include <cstdio>

namespace about {

namespace {
constexpr int kStrTotalRun = 1390;
}

std::string ProgramLine(const std::string& name, const std::string& version, int beta)
{
    std::string line = name + " - " + version;
    if (beta != 0)
        line += " BETA " + std::to_string(beta);
    return line;
}

std::string FormatSpan(int minutes)
{
    const long long total = minutes < 0 ? 0 : minutes;
    char text[48];
    std::snprintf(text, sizeof text, "%lld - %02lld:%02lld", total / 1440, total / 60 % 24,
                  total % 60);
    return text;
}

std::string UsageTimeText(const CLanguage& language, int minutes)
{
    return language.LoadString(kStrTotalRun) + FormatSpan(minutes);
}

}  // namespace about
