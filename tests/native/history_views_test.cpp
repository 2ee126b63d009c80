#include "history/habit_figures.h"
#include "history/history_views.h"

#include "in_berlin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::int64_t kHour = 3600;
constexpr CivilDate kTonight{2026, 12, 9}; // a Wednesday; the nights' view begins on 10 November

// Around the clock changes of 2026 in Berlin (29 March and 25 October, days of 23 and 25 hours)
// and the new year: Friday 1 January 2027; today is Tuesday the 5th, with a line for tomorrow.
constexpr char kDays[] = "2026-1-31 = 5:0:0 2026-3-1 = 1:0:0 2026-3-29 = 23:0:0 2026-10-18 = 5:0:0 "
                         "2026-10-24 = 1:0:0 2026-10-25 = 25:0:0 2026-12-31 = 4:0:0 2027-1-1 = 2:0:0 "
                         "2027-1-3 = 0:0:0 2027-1-4 = 1:0:0 2027-1-4 = 3:0:0 2027-1-6 = 9:0:0";
constexpr CivilDate kToday{2027, 1, 5};
const std::vector<BreakDay> kBreaks = {
    {{2026, 12, 31}, {3, 0, 0, 0}}, {{2027, 1, 3}, {1, 0, 0, 0}}, {{2026, 10, 25}, {2, 0, 0, 0}}};

// A night of December 2026 that ended at a time of the clock.
UseDay Night(int day, int hour, int minute)
{
    return {{2026, 12, day}, 0, UseMomentAt({2026, 12, 10}, {hour, minute, 0}).second};
}

class HistoryViewsTest : public InBerlin {};

TEST_F(HistoryViewsTest, WeeksAndMonthsAcrossTheNewYearAndTheClockChanges)
{
    enum Kind { MondayWeeks, SundayWeeks, Months };
    const struct {
        Kind kind;
        std::size_t index;
        PeriodFigures figures;
    } cases[] = {
        {MondayWeeks, 0, {{2026, 10, 19}, 2, 26 * kHour, 2}},
        {MondayWeeks, 10, {{2026, 12, 28}, 2, 6 * kHour, 4}},
        {MondayWeeks, 11, {{2027, 1, 4}, 1, 3 * kHour, 0}},
        {MondayWeeks, 5, {{2026, 11, 23}, 0, 0, 0}},
        {SundayWeeks, 0, {{2026, 10, 18}, 2, 6 * kHour, 0}},
        {SundayWeeks, 1, {{2026, 10, 25}, 1, 25 * kHour, 2}},
        {SundayWeeks, 10, {{2026, 12, 27}, 2, 6 * kHour, 3}},
        {SundayWeeks, 11, {{2027, 1, 3}, 1, 3 * kHour, 1}},
        {Months, 0, {{2026, 2, 1}, 0, 0, 0}},
        {Months, 1, {{2026, 3, 1}, 2, 24 * kHour, 0}},
        {Months, 8, {{2026, 10, 1}, 3, 31 * kHour, 2}},
        {Months, 11, {{2027, 1, 1}, 2, 5 * kHour, 1}},
    };
    for (const auto& c : cases) {
        const std::vector<PeriodFigures> periods =
            c.kind == Months ? MonthFigures(ParseHistory(kDays), kBreaks, kToday)
                             : WeekFigures(ParseHistory(kDays), kBreaks, kToday, c.kind == MondayWeeks ? 0 : 6);
        ASSERT_EQ(periods.size(), static_cast<std::size_t>(kViewPeriods));
        EXPECT_EQ(periods[c.index], c.figures) << c.kind << ", period " << c.index;
    }
}

TEST(HistoryViews, ARunCountsRecordedDaysAndTheUnfinishedOneOnlyOnceBroken)
{
    const struct {
        std::vector<std::pair<int, bool>> days; // of December, kept; the 9th is unfinished
        Streak streak;
    } cases[] = {
        {{}, {0, 0}},
        {{{6, true}, {7, true}, {8, true}}, {3, 3}},
        {{{5, true}, {6, false}, {8, true}}, {1, 1}},
        {{{1, true}, {8, true}}, {2, 2}},
        {{{8, true}, {3, true}, {2, true}, {4, false}}, {1, 2}},
        {{{8, true}, {9, true}}, {1, 1}},
        {{{8, true}, {9, false}}, {0, 1}},
    };
    for (const auto& c : cases) {
        std::vector<StreakDay> days;
        for (const auto& [day, kept] : c.days)
            days.push_back({{2026, 12, day}, kept});
        EXPECT_EQ(CountStreak(days, kTonight), c.streak) << days.size();
    }
    // What keeps the rule: no more than the limit, the largest of a day's lines; a last use before the time.
    EXPECT_EQ(LimitStreak(ParseHistory("2026-12-6 = 8:0:0 2026-12-7 = 7:0:0 2026-12-8 = 8:0:1 2026-12-8 = 1:0:0"), 480,
                          kTonight),
              (Streak{0, 2}));
    EXPECT_EQ(NightStreak({{{2026, 12, 6}, 0, kMidnightSecond - 1}, {{2026, 12, 7}, 0, kMidnightSecond}},
                          kMidnightSecond, kTonight),
              (Streak{0, 1}));
}

TEST_F(HistoryViewsTest, TheNightsHangFromTheEveningDownToTheirLastUseAgainstTheBedtime)
{
    using Bars = std::vector<std::pair<std::size_t, std::int64_t>>; // slot: seconds from the top
    const struct {
        std::vector<UseDay> uses;
        std::optional<int> bedtime;
        std::int64_t top, span, line; // hours of the clock and of the chart
        std::string lines;
        Bars bars;
    } cases[] = {
        {{}, std::nullopt, 18, 8, 6, "20:00 22:00 00:00 ", {}},
        {{Night(8, 22, 10), Night(9, 1, 30)}, 23 * 60, 18, 8, 5, "20:00 22:00 00:00 ", {{28, 15000}, {29, 27000}}},
        {{Night(7, 14, 0), Night(8, 4, 40)},
         std::nullopt,
         14,
         15,
         10,
         "16:00 20:00 00:00 04:00 ",
         {{27, 0}, {28, 52800}}},
        {{}, 21 * 60, 18, 8, 3, "20:00 22:00 00:00 ", {}},
        {{{{2026, 11, 9}, 0, 0}}, 60, 18, 9, 7, "20:00 00:00 ", {}},
    };
    for (const auto& c : cases) {
        const HistoryChart chart = ComputeNightsChart(c.uses, kTonight, c.bedtime);
        ASSERT_EQ(chart.slots.size(), static_cast<std::size_t>(kViewNights));
        EXPECT_EQ(chart.slots.front().date, (CivilDate{2026, 11, 10}));
        EXPECT_EQ(chart.scaleSeconds, c.span * kHour) << c.lines;
        EXPECT_EQ(chart.limitSeconds, c.line * kHour) << c.lines;
        std::string lines;
        for (const ChartGridLine& line : chart.gridLines) {
            lines += line.label + " ";
            EXPECT_EQ((c.top * kHour + line.seconds) / kHour % 24, std::stoi(line.label)) << line.label;
        }
        EXPECT_EQ(lines, c.lines);
        Bars bars;
        int over = 0;
        for (std::size_t index = 0; index < chart.slots.size(); ++index) {
            if (chart.slots[index].recorded)
                bars.emplace_back(index, chart.slots[index].activeSeconds);
            over += chart.slots[index].overLimit ? 1 : 0;
        }
        EXPECT_EQ(bars, c.bars) << c.lines;
        EXPECT_EQ(chart.daysOverLimit, over);
        EXPECT_EQ(over, c.bars.empty() ? 0 : 1);
    }
    // The nights before a day off stand on the weekend's shade; a night's tip tells its first and last use.
    const HistoryChart chart = ComputeNightsChart({Night(8, 0, 41)}, kTonight, std::nullopt);
    EXPECT_TRUE(chart.slots[24].weekend && chart.slots[25].weekend && !chart.slots[26].weekend);
    EXPECT_EQ(chart.slots[28].tip, "2026 Dec 08 (Tue): first use 05:00, last use 00:41");
    EXPECT_EQ(chart.slots[29].tip, "2026 Dec 09 (Wed)");
}

TEST_F(HistoryViewsTest, EachViewTellsItselfInOneOrTwoSentences)
{
    std::vector<UseDay> nights = {Night(2, 22, 0), Night(3, 23, 30), Night(4, 22, 59), Night(5, 0, 30),
                                  Night(6, 21, 0), Night(7, 22, 30), Night(8, 22, 45)};
    const std::string without = NightsText(nights, kTonight, std::nullopt);
    nights.push_back(Night(9, 22, 0));
    const std::string tonightBefore = NightsText(nights, kTonight, 23 * 60);
    nights.back() = Night(9, 23, 10);
    const std::string tonightAfter = NightsText(nights, kTonight, 23 * 60);
    const std::vector<DayRecord> lastDays = ParseHistory("2026-12-7 = 0:0:0 2026-12-8 = 2:0:0 2026-12-9 = 4:0:0");
    const auto daysText = [](const std::vector<DayRecord>& recorded, std::optional<int> limit) {
        return DaysText(ComputeHistoryChart(recorded, {}, kTonight, limit), recorded, kTonight, limit);
    };
    const std::string days = "In the last 30 days: 03:00:00 a day on 2 days of use";
    const std::pair<std::string, std::string> cases[] = {
        {daysText(lastDays, std::nullopt), days},
        {daysText(lastDays, 180), days + "\r\nDays in a row within your daily limit: 0 (best: 2)"},
        {daysText(ParseHistory("2026-12-9 = 0:0:1"), std::nullopt),
         "In the last 30 days: 00:00:01 a day on 1 day of use"},
        {PeriodText(WeekFigures(ParseHistory(kDays), kBreaks, kToday, 0), HistoryView::Weeks),
         "This week so far: 03:00:00 a day, 0.0 breaks a day\r\nThe last 12 weeks: 07:00:00 a day, 1.2 breaks a day"},
        {PeriodText(MonthFigures(ParseHistory(kDays), kBreaks, kToday), HistoryView::Months),
         "This month so far: 02:30:00 a day, 0.5 breaks a day\r\nThe last 12 months: 08:00:00 a day, 0.8 breaks a day"},
        {tonightBefore, "You stopped before your bedtime on 5 of the last 7 nights.\r\n"
                        "Nights in a row before your bedtime: 3 (best: 3)"},
        {tonightAfter, "You stopped before your bedtime on 4 of the last 7 nights.\r\n"
                       "Nights in a row before your bedtime: 0 (best: 3)"},
        {without,
         "You stopped before midnight on 6 of the last 7 nights.\r\nNights in a row before midnight: 3 (best: 3)"},
        {NightsText({Night(8, 22, 0)}, kTonight, std::nullopt),
         "You stopped before midnight on 1 of the last 1 night.\r\nNights in a row before midnight: 1 (best: 1)"},
        {NightsText({Night(9, 21, 0)}, kTonight, std::nullopt),
         "No finished night of use to count yet.\r\nNights in a row before midnight: 0 (best: 0)"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text, expected);
}

} // namespace
