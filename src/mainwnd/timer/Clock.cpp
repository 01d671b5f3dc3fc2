#include "Clock.h"

#include "UserDate.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace mainwnd {

std::time_t SystemClock::Now() const
{
    return std::time(nullptr);
}

std::optional<std::tm> SystemClock::Local(std::time_t t) const
{
    std::tm out{};
    if (::localtime_r(&t, &out) == nullptr)
        return std::nullopt;
    return out;
}

std::optional<std::tm> SystemClock::Utc(std::time_t t) const
{
    std::tm out{};
    if (::gmtime_r(&t, &out) == nullptr)
        return std::nullopt;
    return out;
}

std::string SystemClock::FormatDate(const std::tm& date) const
{
    return platform::UserDate(date);
}

}  // namespace mainwnd

namespace mainwnd {

namespace {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar (negative before).
int64_t DaysSince1970(int year, int month, int day)
{
    // Years counted from March, so the leap day ends a year.
    const int64_t y = month <= 2 ? year - 1 : year;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::optional<std::time_t> ParseUtcTime(const std::string& text)
{
    // "YYYY-MM-DDTHH:MM:SSZ": the digits and separators at their places, nothing more.
    static constexpr char kShape[] = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != sizeof kShape - 1)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i])
            return std::nullopt;
    }
    auto number = [&text](std::size_t at, std::size_t n) { return std::stoi(text.substr(at, n)); };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    const int hour = number(11, 2);
    const int minute = number(14, 2);
    const int second = number(17, 2);
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23
        || minute > 59 || second > 59)
        return std::nullopt;
    // Counted here, not by timegm: its error value is also the last second of 1969.
    const int64_t seconds =
        DaysSince1970(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return static_cast<std::time_t>(seconds);
}

const IClock& ProgramClock()
{
    static const std::unique_ptr<IClock> clock = []() -> std::unique_ptr<IClock> {
        const char* value = std::getenv("CORVANE_TEST_CLOCK");
        if (value == nullptr || *value == '\0')
            return std::make_unique<SystemClock>();
        if (const std::optional<std::time_t> at = ParseUtcTime(value))
            return std::make_unique<ShiftedClock>(*at);
        std::fprintf(stderr,
                     "CORVANE_TEST_CLOCK \"%s\" is no UTC time like 2030-01-01T11:59:58Z; "
                     "the system clock is used\n",
                     value);
        return std::make_unique<SystemClock>();
    }();
    return *clock;
}

}  // namespace mainwnd
