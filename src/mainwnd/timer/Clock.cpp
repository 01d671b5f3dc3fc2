#include "Clock.h"

#include <clocale>
#include <locale.h>

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
