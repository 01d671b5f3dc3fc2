#include "SkedRecurrence.h"

#include <cstdio>

namespace lists {

namespace {

using namespace std::chrono;

// The last day a twelve-digit key can name.
constexpr year kLastYear{9999};

std::string DateKey(const year_month_day& day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

}  // namespace

Recurrence PlanRecurrence(const RecurrenceRequest& request)
{
    Recurrence plan;
    const std::optional<std::tm> first = ParseSkedKey(request.sked.key);
    const year_month_day start{year{first ? first->tm_year + 1900 : 0},
                               month{first ? static_cast<unsigned>(first->tm_mon + 1) : 0},
                               day{first ? static_cast<unsigned>(first->tm_mday) : 0}};
    const year_month_day end =
        request.end.year() > kLastYear ? year_month_day{kLastYear / December / 31} : request.end;
    if (!first || !start.ok() || !end.ok() || sys_days{end} <= sys_days{start}) {
        plan.refusal = RecurrenceRefusal::BadDate;
        return plan;
    }
    if (request.intervalDays < 1) {
        plan.refusal = RecurrenceRefusal::BadInterval;
        return plan;
    }
    const std::string minute = request.sked.key.substr(8, 4);
    const days step{request.intervalDays};
    int counter = 0;
    for (sys_days at{start}; at <= sys_days{end}; at += step) {
        ++counter;
        if (!request.weekdays[weekday{at}.c_encoding()])
            continue;
        if (plan.skeds.size() == kMaxRecurringSkeds) {
            plan.skeds.clear();
            plan.stepOf.clear();
            plan.refusal = RecurrenceRefusal::TooMany;
            return plan;
        }
        SkedLine copy = request.sked;
        copy.key = DateKey(year_month_day{at}) + minute;
        copy.description = request.sked.description + " r->" + std::to_string(counter);
        plan.skeds.push_back(std::move(copy));
        plan.stepOf.push_back(counter);
    }
    plan.steps = counter;
    return plan;
}

}  // namespace lists
