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

// The system clock moved to start at a given moment and run on at normal speed.
class ShiftedClock : public SystemClock {
public:
    explicit ShiftedClock(std::time_t startsAt) : shift_(startsAt - SystemClock::Now()) {}
    std::time_t Now() const override { return SystemClock::Now() + shift_; }

private:
    std::time_t shift_;
};

// A UTC time written "2030-01-01T11:59:58Z"; nothing for anything else.
std::optional<std::time_t> ParseUtcTime(const std::string& text);

// The clock of the whole program, made at the first call: the system clock, or with
// CORVANE_TEST_CLOCK set to a UTC time one that starts there (a malformed value is reported on
// standard error and ignored).
const IClock& ProgramClock();

}  // namespace mainwnd
