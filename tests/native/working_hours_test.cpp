#include "messages/working_hours.h"

#include "../local_time.h"
#include "in_berlin.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int Clock(int hour, int minute)
{
    return hour * 60 + minute;
}

WorkDay Day(WorkRange first, std::optional<WorkRange> second = std::nullopt)
{
    return {true, first, second};
}

WorkDay Off()
{
    return {};
}

// Mornings and afternoons on Monday, a day off on Wednesday, evenings past midnight on Friday and
// Sunday (Sunday's into the next week's Monday).
WorkWeek OfficeWeek()
{
    return {Day({Clock(9, 0), Clock(12, 30)}, WorkRange{Clock(13, 30), Clock(17, 30)}),
            Day({Clock(9, 0), Clock(17, 0)}),
            Off(),
            Day({Clock(9, 0), Clock(17, 0)}),
            Day({Clock(9, 0), Clock(17, 0)}, WorkRange{Clock(22, 0), Clock(2, 0)}),
            Off(),
            Day({Clock(22, 0), Clock(2, 0)})};
}

// Only one range, in the night the clocks change (the last Sunday of March and of October).
WorkWeek OnlySaturdayNight()
{
    WorkWeek week{};
    week[kSaturday] = Day({Clock(23, 0), Clock(3, 0)});
    return week;
}
WorkWeek OnlySundayEarly()
{
    WorkWeek week{};
    week[kSunday] = Day({Clock(2, 30), Clock(6, 0)});
    return week;
}

class WorkingHours : public InBerlin {};

// 7 to 13 December 2026 is a week from Monday to Sunday.
TEST_F(WorkingHours, TheScheduleOverAWeekOfLocalTimes)
{
    const struct {
        const char* when;
        WorkWeek week;
        std::int64_t time;
        bool working;
    } cases[] = {
        {"Mon 08:59:59", OfficeWeek(), LocalTime(2026, 12, 7, 8, 59, 59), false},
        {"Mon 09:00", OfficeWeek(), LocalTime(2026, 12, 7, 9, 0), true},
        {"Mon 12:29:59", OfficeWeek(), LocalTime(2026, 12, 7, 12, 29, 59), true},
        {"Mon 12:30, lunch", OfficeWeek(), LocalTime(2026, 12, 7, 12, 30), false},
        {"Mon 13:30", OfficeWeek(), LocalTime(2026, 12, 7, 13, 30), true},
        {"Mon 17:29:59", OfficeWeek(), LocalTime(2026, 12, 7, 17, 29, 59), true},
        {"Mon 17:30", OfficeWeek(), LocalTime(2026, 12, 7, 17, 30), false},
        {"Mon 01:00, Sunday's evening", OfficeWeek(), LocalTime(2026, 12, 7, 1, 0), true},
        {"Mon 02:00", OfficeWeek(), LocalTime(2026, 12, 7, 2, 0), false},
        {"Tue 16:59:59", OfficeWeek(), LocalTime(2026, 12, 8, 16, 59, 59), true},
        {"Tue 17:00", OfficeWeek(), LocalTime(2026, 12, 8, 17, 0), false},
        {"Wed 10:00, a day off", OfficeWeek(), LocalTime(2026, 12, 9, 10, 0), false},
        {"Thu 01:00, no evening on Wednesday", OfficeWeek(), LocalTime(2026, 12, 10, 1, 0), false},
        {"Fri 21:59:59", OfficeWeek(), LocalTime(2026, 12, 11, 21, 59, 59), false},
        {"Fri 22:00", OfficeWeek(), LocalTime(2026, 12, 11, 22, 0), true},
        {"Sat 00:00", OfficeWeek(), LocalTime(2026, 12, 12, 0, 0), true},
        {"Sat 01:00, Friday's evening on a day off", OfficeWeek(), LocalTime(2026, 12, 12, 1, 0), true},
        {"Sat 01:59:59", OfficeWeek(), LocalTime(2026, 12, 12, 1, 59, 59), true},
        {"Sat 02:00", OfficeWeek(), LocalTime(2026, 12, 12, 2, 0), false},
        {"Sat 10:00", OfficeWeek(), LocalTime(2026, 12, 12, 10, 0), false},
        {"Sun 21:59", OfficeWeek(), LocalTime(2026, 12, 13, 21, 59), false},
        {"Sun 23:00", OfficeWeek(), LocalTime(2026, 12, 13, 23, 0), true},
        {"the defaults, Fri 16:00", DefaultWorkWeek(), LocalTime(2026, 12, 11, 16, 0), true},
        {"the defaults, Sat 10:00", DefaultWorkWeek(), LocalTime(2026, 12, 12, 10, 0), false},
        {"a range ending where it begins lasts a day",
         {Day({Clock(12, 0), Clock(12, 0)})},
         LocalTime(2026, 12, 8, 11, 59),
         true},
        // 29 March 2026: the clock goes from 01:59:59 winter time to 03:00 summer time.
        {"spring, Sun 01:59:59", OnlySaturdayNight(), UtcTime(2026, 3, 29, 0, 59, 59), true},
        {"spring, Sun 03:00", OnlySaturdayNight(), UtcTime(2026, 3, 29, 1, 0), false},
        {"spring, 03:00 in a range from 02:30", OnlySundayEarly(), UtcTime(2026, 3, 29, 1, 0), true},
        // 25 October 2026: 02:00 to 02:59 twice, in summer time and then in winter time.
        {"autumn, the first 02:30", OnlySaturdayNight(), UtcTime(2026, 10, 25, 0, 30), true},
        {"autumn, the second 02:30", OnlySaturdayNight(), UtcTime(2026, 10, 25, 1, 30), true},
        {"autumn, 03:00", OnlySaturdayNight(), UtcTime(2026, 10, 25, 2, 0), false},
        {"autumn, the second 02:00", OnlySundayEarly(), UtcTime(2026, 10, 25, 1, 0), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsWorkingTime(c.week, c.time), c.working) << c.when;
}

TEST_F(WorkingHours, BeganBetweenTwoReadingsOfTheClock)
{
    const struct {
        const char* when;
        WorkWeek week;
        std::int64_t previous, now;
        bool began;
    } cases[] = {
        {"Mon 09:00", OfficeWeek(), LocalTime(2026, 12, 7, 8, 59, 59), LocalTime(2026, 12, 7, 9, 0), true},
        {"a second later", OfficeWeek(), LocalTime(2026, 12, 7, 9, 0), LocalTime(2026, 12, 7, 9, 0, 1), false},
        {"after lunch", OfficeWeek(), LocalTime(2026, 12, 7, 13, 29, 59), LocalTime(2026, 12, 7, 13, 30), true},
        {"the end of the day", OfficeWeek(), LocalTime(2026, 12, 7, 17, 29, 59), LocalTime(2026, 12, 7, 17, 30), false},
        {"Fri 22:00", OfficeWeek(), LocalTime(2026, 12, 11, 21, 59, 59), LocalTime(2026, 12, 11, 22, 0), true},
        {"midnight within a range", OfficeWeek(), LocalTime(2026, 12, 11, 23, 59, 59), LocalTime(2026, 12, 12, 0, 0),
         false},
        {"set back from 18:00 to 16:00", OfficeWeek(), LocalTime(2026, 12, 8, 18, 0), LocalTime(2026, 12, 8, 16, 0),
         true},
        {"set back from 11:00 to 08:00", OfficeWeek(), LocalTime(2026, 12, 8, 11, 0), LocalTime(2026, 12, 8, 8, 0),
         false},
        {"set back within the hours", OfficeWeek(), LocalTime(2026, 12, 8, 11, 0), LocalTime(2026, 12, 8, 10, 0),
         false},
        {"set back a day", OfficeWeek(), LocalTime(2026, 12, 10, 10, 0), LocalTime(2026, 12, 9, 10, 0), false},
        {"set forward into the hours", OfficeWeek(), LocalTime(2026, 12, 8, 7, 0), LocalTime(2026, 12, 8, 10, 0), true},
        {"spring, into a range from 02:30", OnlySundayEarly(), UtcTime(2026, 3, 29, 0, 59, 59),
         UtcTime(2026, 3, 29, 1, 0), true},
        {"autumn, the first 02:30", OnlySundayEarly(), UtcTime(2026, 10, 25, 0, 29, 59), UtcTime(2026, 10, 25, 0, 30),
         true},
        {"autumn, back to 02:00", OnlySundayEarly(), UtcTime(2026, 10, 25, 0, 59, 59), UtcTime(2026, 10, 25, 1, 0),
         false},
        {"autumn, the second 02:30", OnlySundayEarly(), UtcTime(2026, 10, 25, 1, 29, 59), UtcTime(2026, 10, 25, 1, 30),
         true},
        {"autumn, back to 02:00 within a range", OnlySaturdayNight(), UtcTime(2026, 10, 25, 0, 59, 59),
         UtcTime(2026, 10, 25, 1, 0), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WorkingHoursBegan(c.week, c.previous, c.now), c.began) << c.when;
}

TEST_F(WorkingHours, TheTooltipTellsWhenTheNextSpellBegins)
{
    WorkWeek joined{};
    joined[kMonday] = Day({Clock(9, 0), Clock(13, 0)}, WorkRange{Clock(13, 0), Clock(17, 0)});
    joined[kMonday + 1] = Day({Clock(9, 0), Clock(17, 0)});
    WorkWeek always{};
    for (WorkDay& day : always)
        day = Day({0, 0});
    const struct {
        WorkWeek week;
        std::int64_t time;
        const char* text;
    } cases[] = {
        {OfficeWeek(), LocalTime(2026, 12, 7, 8, 59, 59), "Outside working hours until Mon 09:00"},
        {OfficeWeek(), LocalTime(2026, 12, 7, 12, 45), "Outside working hours until Mon 13:30"},
        {OfficeWeek(), LocalTime(2026, 12, 7, 17, 30), "Outside working hours until Tue 09:00"},
        {OfficeWeek(), LocalTime(2026, 12, 8, 17, 0), "Outside working hours until Thu 09:00"},
        {OfficeWeek(), LocalTime(2026, 12, 11, 17, 0), "Outside working hours until Fri 22:00"},
        {OfficeWeek(), LocalTime(2026, 12, 12, 2, 0), "Outside working hours until Sun 22:00"},
        {OfficeWeek(), LocalTime(2026, 12, 14, 2, 0), "Outside working hours until Mon 09:00"},
        // The one spell of the week, an hour after it began, begins again in six days and 23 hours.
        {DefaultWorkWeek(), LocalTime(2026, 12, 12, 10, 0), "Outside working hours until Mon 09:00"},
        {OnlySundayEarly(), LocalTime(2026, 3, 28, 12, 0), "Outside working hours until Sun 02:30"},
        // A range that follows another on without a gap begins nothing.
        {joined, LocalTime(2026, 12, 7, 12, 0), "Outside working hours until Tue 09:00"},
        {WorkWeek{}, LocalTime(2026, 12, 7, 12, 0), "Outside working hours"},
        {always, LocalTime(2026, 12, 7, 12, 0), "Outside working hours"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutsideWorkingHoursText(NextWorkingSpellStart(c.week, c.time)), c.text) << c.text;
}

} // namespace
