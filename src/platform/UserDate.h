// Dates as the user writes them: the LC_TIME of the environment, whatever locale the program
// itself runs in (numbers stay in the C locale).
#pragma once

#include <ctime>
#include <string>

namespace platform {

// The date of `date` (day, month, year; no time) in the user's format.
std::string UserDate(const std::tm& date);

// That format as a strftime pattern ("%m/%d/%y" in the C locale).
std::string UserDateFormat();

}  // namespace platform
