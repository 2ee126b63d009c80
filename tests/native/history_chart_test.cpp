#include "history/history_chart.h"
#include "history/history_csv.h"

#include "in_berlin.h"

#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <string>

namespace {

constexpr std::int64_t kHour = 3600;

// Berlin moved its clocks on 26 March and 29 October 2006: days of 23 and 25 hours.
class HistoryChartTest : public InBerlin {};

// The local date and weekday a number of days before a date, by the C library's clock.
std::tm DaysBefore(const CivilDate& date, int days)
{
    std::tm noon = LocalTm(date.year, date.month, date.day - days, 12);
    std::mktime(&noon);
    return noon;
}

TEST_F(HistoryChartTest, ShowsTheLastThirtyCalendarDaysOfTheHistory)
{
    const struct {
        const char* what;
        CivilDate today;
        std::string file;
        std::map<int, std::int64_t> recorded; // slot: seconds
        std::int64_t scaleHours;
    } cases[] = {
        {"empty history", {2006, 12, 5}, "", {}, 8},
        {"today's largest line, whatever the order",
         {2006, 12, 5},
         "2006-12-5 = 3:0:0 2006-12-5 = 1:0:0",
         {{29, 3 * kHour}},
         8},
        {"gaps across a change of month; the day before the first and tomorrow left out",
         {2006, 12, 5},
         "2006-11-5 = 9:0:0 2006-11-6 = 1:0:0 2006-11-16 = 0:0:0 2006-12-4 = 7:59:59 2006-12-6 = 20:0:0",
         {{0, kHour}, {10, 0}, {28, 8 * kHour - 1}},
         8},
        {"over 9 hours: the next whole hour", {2006, 12, 5}, "2006-12-1 = 9:10:0", {{25, 9 * kHour + 600}}, 10},
        {"an edited day of years: 25 hours", {2006, 12, 5}, "2006-12-5 = 600000:0:0", {{29, 600000 * kHour}}, 25},
        {"spring clock change",
         {2006, 3, 27},
         "2006-3-25 = 4:0:0 2006-3-26 = 23:0:0",
         {{27, 4 * kHour}, {28, 23 * kHour}},
         23},
        {"autumn clock change", {2006, 10, 30}, "2006-10-29 = 25:0:0", {{28, 25 * kHour}}, 25},
    };
    for (const auto& c : cases) {
        const HistoryChart chart = ComputeHistoryChart(ParseHistory(c.file), c.today);
        ASSERT_EQ(chart.slots.size(), static_cast<std::size_t>(kChartDays)) << c.what;
        EXPECT_EQ(chart.scaleSeconds, c.scaleHours * kHour) << c.what;
        for (int index = 0; index < kChartDays; ++index) {
            const ChartSlot& slot = chart.slots[static_cast<std::size_t>(index)];
            const std::tm expected = DaysBefore(c.today, kChartDays - 1 - index);
            const std::string where = std::string(c.what) + ", slot " + std::to_string(index);
            EXPECT_EQ(slot.date, (CivilDate{expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday})) << where;
            EXPECT_EQ(slot.weekend, expected.tm_wday == 0 || expected.tm_wday == 6) << where;
            EXPECT_EQ(slot.dayLabel, (kChartDays - 1 - index) % 7 == 0 ? std::to_string(expected.tm_mday) : "")
                << where;
            const auto recorded = c.recorded.find(index);
            EXPECT_EQ(slot.recorded, recorded != c.recorded.end()) << where;
            EXPECT_EQ(slot.activeSeconds, recorded != c.recorded.end() ? recorded->second : 0) << where;
        }
        ASSERT_EQ(chart.gridLines.size(), 2u) << c.what;
        EXPECT_EQ(chart.gridLines[0].label + chart.gridLines[1].label, "4h8h") << c.what;
    }
}

// Where labels go is measured with the real fonts under Wine (text_fit_test); here the bars.
TEST_F(HistoryChartTest, BarsStandOnTheBaselineAtTheirShareOfTheScale)
{
    const HistoryChart chart =
        ComputeHistoryChart(ParseHistory("2006-11-6 = 0:0:0 2006-11-7 = 12:30:0 2006-12-5 = 30:0:0"), {2006, 12, 5});
    for (const int dpi : {96, 144}) {
        const ChartLayout layout(283 * dpi / 96, 113 * dpi / 96, dpi, 13 * dpi / 96);
        const int plotHeight = layout.Plot().bottom - layout.Plot().top;
        // No activity, half the scale of 25 hours, no line, beyond the scale.
        const std::pair<int, int> heights[] = {
            {0, layout.LineWidth()}, {1, (plotHeight + 1) / 2}, {2, 0}, {kChartDays - 1, plotHeight}};
        for (const auto& [slot, height] : heights) {
            const ChartBox bar = layout.Bar(chart, slot);
            EXPECT_EQ(bar.bottom - bar.top, height) << dpi << " DPI, slot " << slot;
            EXPECT_EQ(bar.bottom, layout.Plot().bottom) << dpi << " DPI, slot " << slot;
        }
    }
}

TEST_F(HistoryChartTest, ExportsOneLinePerDayInDateOrder)
{
    const std::string header =
        "date,active_seconds,active_time,breaks,postponed,eye_breaks_taken,eye_breaks_offered\r\n";
    struct Case {
        const char* what;
        std::string file;
        std::vector<BreakDay> breaks;
        std::string csv;
    } cases[] = {
        {"worked example", "HISTORY\r\n2006-3-4 = 5:12:0\r\n2006-3-6 = 1:0:30\r\n", {},
         "2006-03-04,18720,5:12:00,,,,\r\n2006-03-06,3630,1:00:30,,,,\r\n"},
        {"out of order across a change of month and year, a day of several lines",
         "2007-1-1 = 0:0:9 2006-12-31 = 2:0:0 2006-11-30 = 0:0:0 2006-12-31 = 3:0:0 2006-12-31 = 1:0:0", {},
         "2006-11-30,0,0:00:00,,,,\r\n2006-12-31,10800,3:00:00,,,,\r\n2007-01-01,9,0:00:09,,,,\r\n"},
        {"both clock changes and hours beyond a day", "2006-3-26 = 23:0:0 2006-10-29 = 25:0:0 2008-2-29 = 600000:0:1",
         {},
         "2006-03-26,82800,23:00:00,,,,\r\n2006-10-29,90000,25:00:00,,,,\r\n"
         "2008-02-29,2160000001,600000:00:01,,,,\r\n"},
        {"breaks on some days, out of order, twice for a day, and a day without active time",
         "2026-12-7 = 1:0:0\r\n2026-12-8 = 2:0:0\r\n2026-12-9 = 3:0:0\r\n",
         {{{2026, 12, 9}, {4, 1, 10, 14}}, {{2026, 12, 1}, {9, 9, 9, 9}}, {{2026, 12, 7}, {2, 0, 0, 1}},
          {{2026, 12, 9}, {3, 2, 9, 15}}},
         "2026-12-07,3600,1:00:00,2,0,0,1\r\n2026-12-08,7200,2:00:00,,,,\r\n2026-12-09,10800,3:00:00,4,2,10,15\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatHistoryCsv(ParseHistory(c.file), c.breaks), header + c.csv) << c.what;
}

} // namespace
