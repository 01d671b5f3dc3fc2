#include "Clock.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
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
    // The user's date format (LC_TIME from the environment), whatever the program's locale is.
    char text[64] = {};
    locale_t user = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    size_t n = 0;
    if (user != static_cast<locale_t>(0)) {
        n = ::strftime_l(text, sizeof text, "%x", &date, user);
        ::freelocale(user);
    } else {
        n = std::strftime(text, sizeof text, "%x", &date);
    }
    return std::string(text, n);
}

}  // namespace mainwnd

namespace mainwnd {

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
    std::tm t{};
    t.tm_year = number(0, 4) - 1900;
    t.tm_mon = number(5, 2) - 1;
    t.tm_mday = number(8, 2);
    t.tm_hour = number(11, 2);
    t.tm_min = number(14, 2);
    t.tm_sec = number(17, 2);
    if (t.tm_mon > 11 || t.tm_mday < 1 || t.tm_mday > 31 || t.tm_hour > 23 || t.tm_min > 59
        || t.tm_sec > 59)
        return std::nullopt;
    const std::tm asked = t;
    const std::time_t at = ::timegm(&t);
    // timegm moves a 31st of a short month on: such a date does not exist.
    if (at == static_cast<std::time_t>(-1) || t.tm_mday != asked.tm_mday)
        return std::nullopt;
    return at;
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
