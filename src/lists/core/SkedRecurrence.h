// Copies of one sked every N days up to an end date, on chosen weekdays. The copies are numbered
// by their step from the first date (" r->1" is the first date itself), steps skipped for their
// weekday included, so the numbers of the copies made may have gaps.
#pragma once

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "SkedLine.h"

namespace lists {

// More copies than this are refused before anything changes.
inline constexpr std::size_t kMaxRecurringSkeds = 5000;

struct RecurrenceRequest {
    SkedLine sked;  // the copied sked; its key gives the first date and the minute of each copy
    std::chrono::year_month_day end;
    int intervalDays = 1;
    std::array<bool, 7> weekdays{};  // Sunday first
};

enum class RecurrenceRefusal { None, BadDate, BadInterval, TooMany };

struct Recurrence {
    RecurrenceRefusal refusal = RecurrenceRefusal::None;
    std::vector<SkedLine> skeds;  // in date order
    std::vector<int> stepOf;      // each copy's step, its number in the description
    int steps = 0;                // the steps from the first date to the end, skipped ones too
};

// The copies, the end day included; nothing with a refusal: the end not after the first date
// (or a key that names no minute), an interval below 1, more than kMaxRecurringSkeds copies.
Recurrence PlanRecurrence(const RecurrenceRequest& request);

}  // namespace lists
