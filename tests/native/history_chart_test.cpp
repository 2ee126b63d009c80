#include "history/history_chart.h"
#include "history/history_csv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <string>

namespace {

constexpr std::int64_t kHour = 3600;

// Berlin moved its clocks on 26 March and 29 October 2006: days of 23 and 25 hours.
class HistoryChartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    void TearDown() override
    {
        unsetenv("TZ");
        tzset();
    }
};

// The local date and weekday a number of days before a date, by the C library's clock.
std::tm DaysBefore(const CivilDate& date, int days)
{
    std::tm noon{};
    noon.tm_year = date.year - 1900;
    noon.tm_mon = date.month - 1;
    noon.tm_mday = date.day;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const std::time_t time = std::mktime(&noon) - static_cast<std::time_t>(days) * 24 * kHour;
    std::tm local{};
    localtime_r(&time, &local);
    return local;
}

TEST_F(HistoryChartTest, ShowsTheLastThirtyCalendarDaysOfTheHistory)
{
    struct Case {
        const char* what;
        CivilDate today;
        std::string file;
        std::map<int, std::int64_t> recorded; // slot: seconds
        std::int64_t scaleHours;
        std::string todayTip;
    } cases[] = {
        {"empty history", {2006, 12, 5}, "", {}, 8, "2006 Dec 05 (Tue)"},
        {"today alone, with its live count", {2006, 12, 5}, "2006-12-5 = 1:25:10", {{29, 5110}}, 8,
         "2006 Dec 05 (Tue) - 01:25:10"},
        {"gaps; the day before the first and tomorrow left out", {2006, 12, 5},
         "2006-11-5 = 9:0:0 2006-11-6 = 1:0:0 2006-11-16 = 0:0:0 2006-12-4 = 7:59:59 2006-12-6 = 20:0:0",
         {{0, kHour}, {10, 0}, {28, 8 * kHour - 1}}, 8, "2006 Dec 05 (Tue)"},
        {"several lines of a day: the largest, whatever the order", {2006, 12, 5},
         "2006-12-5 = 2:0:0 2006-12-5 = 3:0:0 2006-12-5 = 1:0:0", {{29, 3 * kHour}}, 8,
         "2006 Dec 05 (Tue) - 03:00:00"},
        {"a day over 9 hours: the scale grows to the next whole hour", {2006, 12, 5}, "2006-12-1 = 9:10:0",
         {{25, 9 * kHour + 600}}, 10, "2006 Dec 05 (Tue)"},
        {"an edited day of years: the scale stops at 25 hours", {2006, 12, 5}, "2006-12-5 = 600000:0:0",
         {{29, 600000 * kHour}}, 25, "2006 Dec 05 (Tue) - 600000:00:00"},
        {"across a change of year and a short February", {2007, 3, 1}, "2007-1-31 = 1:0:0 2007-2-28 = 2:0:0",
         {{0, kHour}, {28, 2 * kHour}}, 8, "2007 Mar 01 (Thu)"},
        {"across the spring clock change", {2006, 3, 27}, "2006-3-25 = 4:0:0 2006-3-26 = 23:0:0",
         {{27, 4 * kHour}, {28, 23 * kHour}}, 23, "2006 Mar 27 (Mon)"},
        {"across the autumn clock change", {2006, 10, 30}, "2006-10-29 = 25:0:0 2006-10-30 = 0:0:1",
         {{28, 25 * kHour}, {29, 1}}, 25, "2006 Oct 30 (Mon) - 00:00:01"},
    };
    for (const Case& c : cases) {
        const HistoryChart chart = ComputeHistoryChart(ParseHistory(c.file), c.today);
        ASSERT_EQ(chart.slots.size(), static_cast<std::size_t>(kChartDays)) << c.what;
        EXPECT_EQ(chart.scaleSeconds, c.scaleHours * kHour) << c.what;
        EXPECT_EQ(chart.slots.back().tip, c.todayTip) << c.what;
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
        EXPECT_EQ(chart.gridLines[0].seconds, 4 * kHour);
        EXPECT_EQ(chart.gridLines[0].label, "4h");
        EXPECT_EQ(chart.gridLines[1].seconds, 8 * kHour);
        EXPECT_EQ(chart.gridLines[1].label, "8h");
    }
}

TEST_F(HistoryChartTest, LaysTheBarsAndLabelsOutInsideTheClientArea)
{
    const HistoryChart chart = ComputeHistoryChart(
        ParseHistory("2006-11-6 = 8:0:0 2006-11-7 = 0:0:0 2006-11-8 = 4:0:0 2006-12-5 = 30:0:0"), {2006, 12, 5});
    struct Case {
        int width, height, dpi, textHeight;
    } cases[] = {{283, 113, 96, 13}, {425, 170, 144, 20}, {30, 20, 96, 13}};
    for (const Case& c : cases) {
        const ChartLayout layout(c.width, c.height, c.dpi, c.textHeight);
        const ChartBox plot = layout.Plot();
        const std::string size = std::to_string(c.width) + " x " + std::to_string(c.height);
        const int slotWidth = (plot.right - plot.left) / kChartDays;
        EXPECT_EQ(plot.right - plot.left, slotWidth * kChartDays) << size;
        EXPECT_LE(plot.right, std::max(c.width, plot.left)) << size;
        EXPECT_EQ(chart.scaleSeconds, 25 * kHour);
        EXPECT_EQ(layout.LineY(chart, 8 * kHour), plot.bottom - ((plot.bottom - plot.top) * 8 + 12) / 25) << size;

        int previousLabelRight = 0;
        for (int index = 0; index < kChartDays; ++index) {
            const ChartBox slot = layout.Slot(index);
            const ChartBox bar = layout.Bar(chart, index);
            const std::string where = size + ", slot " + std::to_string(index);
            EXPECT_EQ(slot.left, plot.left + index * slotWidth) << where;
            EXPECT_EQ(slot.right - slot.left, slotWidth) << where;
            EXPECT_TRUE(bar.left >= slot.left && bar.right <= slot.right && bar.bottom == plot.bottom) << where;
            const ChartSlot& day = chart.slots[static_cast<std::size_t>(index)];
            const int fullHeight = std::max(plot.bottom - plot.top, layout.LineWidth());
            const int height = !day.recorded ? 0 : day.activeSeconds == 0 ? layout.LineWidth()
                                               : day.activeSeconds >= chart.scaleSeconds ? fullHeight
                                                                                          : bar.bottom - bar.top;
            EXPECT_EQ(bar.bottom - bar.top, height) << where;
            if (day.dayLabel.empty())
                continue;
            const ChartBox label = layout.DayLabel(index);
            EXPECT_TRUE(label.left >= previousLabelRight && label.right <= c.width && label.bottom <= c.height)
                << where;
            EXPECT_LE(std::abs((label.left + label.right) - (slot.left + slot.right)), 1) << where;
            previousLabelRight = label.right;
        }
        const ChartBox four = layout.LineLabel(chart, 4 * kHour);
        const ChartBox eight = layout.LineLabel(chart, 8 * kHour);
        EXPECT_TRUE(eight.bottom <= four.top || c.height < 100) << size;
        EXPECT_TRUE(eight.top >= 0 && four.right <= plot.left) << size;
    }
}

TEST_F(HistoryChartTest, ExportsOneLinePerDayInDateOrder)
{
    struct Case {
        const char* what;
        std::string file;
        std::string csv;
    } cases[] = {
        {"empty history", "", "date,active_seconds,active_time\r\n"},
        {"worked example", "HISTORY\r\n2006-3-4 = 5:12:0\r\n2006-3-6 = 1:0:30\r\n",
         "date,active_seconds,active_time\r\n2006-03-04,18720,5:12:00\r\n2006-03-06,3630,1:00:30\r\n"},
        {"out of order across a change of month and year, a day of several lines",
         "2007-1-1 = 0:0:9 2006-12-31 = 2:0:0 2006-11-30 = 0:0:0 2006-12-31 = 3:0:0 2006-12-31 = 1:0:0",
         "date,active_seconds,active_time\r\n2006-11-30,0,0:00:00\r\n2006-12-31,10800,3:00:00\r\n"
         "2007-01-01,9,0:00:09\r\n"},
        {"both clock changes and hours beyond a day", "2006-3-26 = 23:0:0 2006-10-29 = 25:0:0 2008-2-29 = 600000:0:1",
         "date,active_seconds,active_time\r\n2006-03-26,82800,23:00:00\r\n2006-10-29,90000,25:00:00\r\n"
         "2008-02-29,2160000001,600000:00:01\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatHistoryCsv(ParseHistory(c.file)), c.csv) << c.what;
}

} // namespace
