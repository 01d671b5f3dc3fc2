#include "UserDate.h"

#include <langinfo.h>
#include <locale.h>

namespace platform {

namespace {

// The user's LC_TIME, or the C locale's when the environment names none that is installed.
class UserTimeLocale {
public:
    UserTimeLocale() : locale_(::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0)))
    {
        if (locale_ == static_cast<locale_t>(0))
            locale_ = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    }
    ~UserTimeLocale()
    {
        if (locale_ != static_cast<locale_t>(0))
            ::freelocale(locale_);
    }
    UserTimeLocale(const UserTimeLocale&) = delete;
    UserTimeLocale& operator=(const UserTimeLocale&) = delete;

    locale_t Get() const { return locale_; }

private:
    locale_t locale_;
};

}  // namespace

std::string UserDate(const std::tm& date)
{
    UserTimeLocale user;
    char text[128] = {};
    const std::size_t n = user.Get() != static_cast<locale_t>(0)
                              ? ::strftime_l(text, sizeof text, "%x", &date, user.Get())
                              : std::strftime(text, sizeof text, "%x", &date);
    return std::string(text, n);
}

std::string UserDateFormat()
{
    UserTimeLocale user;
    if (user.Get() == static_cast<locale_t>(0))
        return "%m/%d/%y";
    const char* format = ::nl_langinfo_l(D_FMT, user.Get());
    return format != nullptr && *format != '\0' ? format : "%m/%d/%y";
}

}  // namespace platform
