#pragma once
// The History dialog's week at a glance: the active time and the breaks of this week and the week
// before, weeks starting on the locale's first day of the week.

#include "activity/time_files.h"
#include "history/break_history.h"

#include <cstdint>
#include <string>
#include <vector>

struct WeekTotals {
    std::int64_t activeSeconds = 0;
    std::int64_t breaks = 0; // a sum of a week's counts, which may each reach 32 bits
    bool operator==(const WeekTotals&) const = default;
};

struct WeekSummary {
    WeekTotals thisWeek; // from the week's first day to today
    WeekTotals lastWeek;
    bool operator==(const WeekSummary&) const = default;
};

// The two weeks' sums from the history's days (a day with several lines takes the largest, and
// today's line carries the count saved as the dialog opens) and the break record's days, in any
// order. firstDayOfWeek as the locale gives it: 0 Monday ... 6 Sunday.
WeekSummary SummariseWeeks(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                           const CivilDate& today, int firstDayOfWeek);

// "This week: 31:20:05 active, 14 breaks · last week: 35:10:00, 12 breaks".
std::string WeekSummaryLine(const WeekSummary& summary);

// "Days over your limit in the last 30: 4".
std::string DaysOverLimitLine(int days);
