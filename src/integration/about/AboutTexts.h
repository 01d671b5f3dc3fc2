// What the information page and the About dialog say: who the program is and how long it ran.
#pragma once

#include <string>

class CLanguage;

namespace about {

// Our notice and addresses, on a reserved example domain.
inline constexpr const char* kNotice = "Copyright (C) the Corvane authors. Free to use and share.";
inline constexpr const char* kMailAddress = "corvane@example.org";
inline constexpr const char* kWebAddress = "https://www.example.org/corvane";
inline constexpr const char* kForumAddress = "https://forum.example.org/corvane";

// "<name> - <version>", then " BETA <n>" when beta is not 0.
std::string ProgramLine(const std::string& name, const std::string& version, int beta);

// "%D - %H:%M" of a span of minutes: whole days, then hours and minutes within the day.
std::string FormatSpan(int minutes);
// String 1390 followed by the span.
std::string UsageTimeText(const CLanguage& language, int minutes);

}  // namespace about
