#include "messages/working_hours.h"

#include "in_berlin.h"

#include <gtest/gtest.h>

namespace {

constexpr int At(int hour, int minute)
{
    return hour * 60 + minute;
}

// Monday with a lunch break, Wednesday off, evenings past midnight on Friday and on Sunday (into
// the next week's Monday).
const WorkWeek kOffice = {WorkDay{true, {At(9, 0), At(12, 30)}, WorkRange{At(13, 30), At(17, 30)}},
                          WorkDay{true, {At(9, 0), At(17, 0)}, {}},
                          WorkDay{},
                          WorkDay{true, {At(9, 0), At(17, 0)}, {}},
                          WorkDay{true, {At(9, 0), At(17, 0)}, WorkRange{At(22, 0), At(2, 0)}},
                          WorkDay{},
                          WorkDay{true, {At(22, 0), At(2, 0)}, {}}};

// One range in the nights the clocks change: Saturday's into Sunday, and Sunday's early morning.
WorkWeek Only(int weekday, WorkRange range)
{
    WorkWeek week{};
    week[static_cast<std::size_t>(weekday)] = {true, range, {}};
    return week;
}
const WorkWeek kSaturdayNight = Only(kSaturday, {At(23, 0), At(3, 0)});
const WorkWeek kSundayEarly = Only(kSunday, {At(2, 30), At(6, 0)});

class WorkingHours : public InBerlin {};

// 7 to 13 December 2026 runs from Monday to Sunday; Berlin's clocks skip 02:00-02:59 on 29 March
// and show it twice on 25 October 2026 (first in summer time, 00:xx UTC, then 01:xx UTC).
TEST_F(WorkingHours, TheScheduleOverAWeekOfLocalTimes)
{
    const struct {
        const char* when;
        const WorkWeek& week;
        std::int64_t time;
        bool working;
    } cases[] = {
        {"Mon 08:59:59", kOffice, LocalTime(2026, 12, 7, 8, 59, 59), false},
        {"Mon 09:00", kOffice, LocalTime(2026, 12, 7, 9, 0), true},
        {"Mon 12:29:59", kOffice, LocalTime(2026, 12, 7, 12, 29, 59), true},
        {"Mon 12:30, lunch", kOffice, LocalTime(2026, 12, 7, 12, 30), false},
        {"Mon 13:30", kOffice, LocalTime(2026, 12, 7, 13, 30), true},
        {"Mon 17:30", kOffice, LocalTime(2026, 12, 7, 17, 30), false},
        {"Mon 01:59, Sunday's evening", kOffice, LocalTime(2026, 12, 7, 1, 59), true},
        {"Mon 02:00", kOffice, LocalTime(2026, 12, 7, 2, 0), false},
        {"Tue 16:59:59", kOffice, LocalTime(2026, 12, 8, 16, 59, 59), true},
        {"Wed 10:00, a day off", kOffice, LocalTime(2026, 12, 9, 10, 0), false},
        {"Thu 01:00, no evening on Wednesday", kOffice, LocalTime(2026, 12, 10, 1, 0), false},
        {"Fri 21:59:59", kOffice, LocalTime(2026, 12, 11, 21, 59, 59), false},
        {"Fri 22:00", kOffice, LocalTime(2026, 12, 11, 22, 0), true},
        {"Sat 01:00, Friday's evening on a day off", kOffice, LocalTime(2026, 12, 12, 1, 0), true},
        {"Sat 02:00", kOffice, LocalTime(2026, 12, 12, 2, 0), false},
        {"Sun 23:00", kOffice, LocalTime(2026, 12, 13, 23, 0), true},
        {"the defaults, Sat 10:00", DefaultWorkWeek(), LocalTime(2026, 12, 12, 10, 0), false},
        {"ending where it begins: a day", Only(kMonday, {At(12, 0), At(12, 0)}), LocalTime(2026, 12, 8, 11, 59), true},
        {"spring, 01:59:59", kSaturdayNight, UtcTime(2026, 3, 29, 0, 59, 59), true},
        {"spring, 03:00", kSaturdayNight, UtcTime(2026, 3, 29, 1, 0), false},
        {"spring, 03:00 in a range from 02:30", kSundayEarly, UtcTime(2026, 3, 29, 1, 0), true},
        {"autumn, the first 02:30", kSaturdayNight, UtcTime(2026, 10, 25, 0, 30), true},
        {"autumn, the second 02:30", kSaturdayNight, UtcTime(2026, 10, 25, 1, 30), true},
        {"autumn, 03:00", kSaturdayNight, UtcTime(2026, 10, 25, 2, 0), false},
        {"autumn, the second 02:00", kSundayEarly, UtcTime(2026, 10, 25, 1, 0), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsWorkingTime(c.week, c.time), c.working) << c.when;
}

TEST_F(WorkingHours, BeganBetweenTwoReadingsOfTheClock)
{
    const struct {
        const char* when;
        const WorkWeek& week;
        std::int64_t previous, now;
        bool began;
    } cases[] = {
        {"Mon 09:00", kOffice, LocalTime(2026, 12, 7, 8, 59, 59), LocalTime(2026, 12, 7, 9, 0), true},
        {"a second later", kOffice, LocalTime(2026, 12, 7, 9, 0), LocalTime(2026, 12, 7, 9, 0, 1), false},
        {"after lunch", kOffice, LocalTime(2026, 12, 7, 13, 29, 59), LocalTime(2026, 12, 7, 13, 30), true},
        {"midnight in a range", kOffice, LocalTime(2026, 12, 11, 23, 59, 59), LocalTime(2026, 12, 12, 0, 0), false},
        {"set back, 18:00 to 16:00", kOffice, LocalTime(2026, 12, 8, 18, 0), LocalTime(2026, 12, 8, 16, 0), true},
        {"set back, 11:00 to 10:00", kOffice, LocalTime(2026, 12, 8, 11, 0), LocalTime(2026, 12, 8, 10, 0), false},
        {"set back, 11:00 to 08:00", kOffice, LocalTime(2026, 12, 8, 11, 0), LocalTime(2026, 12, 8, 8, 0), false},
        {"spring, into 02:30-06:00", kSundayEarly, UtcTime(2026, 3, 29, 0, 59, 59), UtcTime(2026, 3, 29, 1, 0), true},
        {"autumn, back to 02:00", kSundayEarly, UtcTime(2026, 10, 25, 0, 59, 59), UtcTime(2026, 10, 25, 1, 0), false},
        {"autumn, the second 02:30", kSundayEarly, UtcTime(2026, 10, 25, 1, 29, 59), UtcTime(2026, 10, 25, 1, 30),
         true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WorkingHoursBegan(c.week, c.previous, c.now), c.began) << c.when;
}

TEST_F(WorkingHours, TheTooltipTellsWhenTheNextSpellBegins)
{
    // A range that follows another without a gap begins nothing.
    WorkWeek joined = Only(kMonday, {At(9, 0), At(13, 0)});
    joined[kMonday].second = WorkRange{At(13, 0), At(17, 0)};
    WorkWeek always{};
    always.fill({true, {0, 0}, {}});
    const struct {
        const WorkWeek& week;
        std::int64_t time;
        const char* text;
    } cases[] = {
        {kOffice, LocalTime(2026, 12, 7, 12, 45), "Outside working hours until Mon 13:30"},
        {kOffice, LocalTime(2026, 12, 8, 17, 0), "Outside working hours until Thu 09:00"},
        {kOffice, LocalTime(2026, 12, 11, 17, 0), "Outside working hours until Fri 22:00"},
        {kOffice, LocalTime(2026, 12, 12, 2, 0), "Outside working hours until Sun 22:00"},
        {kOffice, LocalTime(2026, 12, 14, 2, 0), "Outside working hours until Mon 09:00"},
        {kSundayEarly, LocalTime(2026, 3, 28, 12, 0), "Outside working hours until Sun 02:30"},
        {joined, LocalTime(2026, 12, 7, 12, 0), "Outside working hours until Mon 09:00"},
        {WorkWeek{}, LocalTime(2026, 12, 7, 12, 0), "Outside working hours"},
        {always, LocalTime(2026, 12, 7, 12, 0), "Outside working hours"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutsideWorkingHoursText(NextWorkingSpellStart(c.week, c.time)), c.text) << c.text;
}

} // namespace
