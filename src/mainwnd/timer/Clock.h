// Where the main window's timer takes the time from: the system clock in the program, a fixed
// clock in tests.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace mainwnd {

class IClock {
public:
    virtual ~IClock() = default;
    // Seconds since 1970.
    virtual std::time_t Now() const = 0;
    // The broken-down local and UTC times of a moment; nothing when it cannot be converted.
    virtual std::optional<std::tm> Local(std::time_t t) const = 0;
    virtual std::optional<std::tm> Utc(std::time_t t) const = 0;
    // A date (day, month, year) in the user's default locale format, without the time.
    virtual std::string FormatDate(const std::tm& date) const = 0;
};

class SystemClock : public IClock {
public:
    std::time_t Now() const override;
    std::optional<std::tm> Local(std::time_t t) const override;
    std::optional<std::tm> Utc(std::time_t t) const override;
    std::string FormatDate(const std::tm& date) const override;
};

}  // namespace mainwnd
