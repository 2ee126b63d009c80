#include "history/week_summary.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Around the new year 2027: 20 December is a Sunday, 1 January a Friday; 28 December has two
// lines, and a line for 2 January stands ahead of the clock on the 1st.
constexpr char kDays[] = "2026-12-20 = 5:0:0 2026-12-21 = 1:0:0 2026-12-27 = 2:0:0 2026-12-28 = 3:0:0 "
                         "2026-12-28 = 1:0:0 2026-12-31 = 4:30:15 2027-1-1 = 0:50:0 2027-1-2 = 9:0:0";

TEST(WeekSummary, TheWeeksSumsAcrossAChangeOfMonthAndYear)
{
    const std::vector<BreakDay> breaks = {{{2026, 12, 20}, {1, 0, 0, 0}}, {{2026, 12, 21}, {3, 0, 0, 0}},
                                          {{2026, 12, 28}, {1, 2, 0, 0}}, {{2026, 12, 27}, {2, 0, 5, 5}},
                                          {{2026, 12, 28}, {0, 0, 0, 0}}, {{2027, 1, 2}, {7, 0, 0, 0}}};
    const struct {
        const char* what;
        CivilDate today;
        int firstDay;
        const char* line;
    } cases[] = {
        {"Monday first, on New Year's Day",
         {2027, 1, 1},
         0,
         "This week: 08:20:15 active, 1 break \xC2\xB7 last week: 03:00:00, 5 breaks"},
        {"Sunday first, on New Year's Day",
         {2027, 1, 1},
         6,
         "This week: 10:20:15 active, 3 breaks \xC2\xB7 last week: 06:00:00, 4 breaks"},
        {"Monday first, on the week's last day",
         {2026, 12, 27},
         0,
         "This week: 03:00:00 active, 5 breaks \xC2\xB7 last week: 05:00:00, 1 break"},
        {"Saturday first, on the week's first day",
         {2027, 1, 2},
         5,
         "This week: 09:00:00 active, 7 breaks \xC2\xB7 last week: 10:20:15, 3 breaks"},
        {"weeks without a line",
         {2027, 2, 1},
         0,
         "This week: 00:00:00 active, 0 breaks \xC2\xB7 last week: 00:00:00, 0 breaks"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WeekSummaryLine(SummariseWeeks(ParseHistory(kDays), breaks, c.today, c.firstDay)), c.line) << c.what;
}

} // namespace
