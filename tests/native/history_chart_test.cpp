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
        const HistoryChart chart = ComputeHistoryChart(ParseHistory(c.file), {}, c.today);
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

TEST_F(HistoryChartTest, ADaysTipTellsItsBreaks)
{
    const HistoryChart chart = ComputeHistoryChart(ParseHistory("2006-12-5 = 1:0:0"),
                                                   {{{2006, 12, 5}, {4, 1, 10, 14}},
                                                    {{2006, 12, 4}, {1, 0, 0, 0}},
                                                    {{2006, 12, 5}, {3, 2, 11, 12}},
                                                    {{2006, 11, 5}, {9, 0, 0, 0}}},
                                                   {2006, 12, 5});
    EXPECT_EQ(chart.slots[29].tip, "2006 Dec 05 (Tue) - 01:00:00 \xC2\xB7 breaks 4 (eyes 11 of 14)");
    EXPECT_EQ(chart.slots[28].tip, "2006 Dec 04 (Mon) \xC2\xB7 breaks 1 (eyes 0 of 0)");
    EXPECT_EQ(chart.slots[27].tip, "2006 Dec 03 (Sun)");
}

bool Overlap(const ChartBox& a, const ChartBox& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// What a paint draws: one bar for each recorded day, today's too, in the middle of its slot and
// standing on the baseline at its share of the scale, and the labels clear of each other inside
// the chart. Whether each label's text fits its room is measured with the real fonts under Wine
// (text_fit_test).
TEST_F(HistoryChartTest, EachRecordedDayHasOneBarInTheMiddleOfItsSlot)
{
    // 25 hours at the top; a Saturday of no activity, half the scale on a Tuesday, nothing on
    // Sunday the 3rd, beyond the scale today.
    const HistoryChart chart = ComputeHistoryChart(
        ParseHistory("2006-11-6 = 0:0:0 2006-11-7 = 12:30:0 2006-12-2 = 0:0:0 2006-12-5 = 30:0:0"), {}, {2006, 12, 5});
    enum class Height { Line, Half, Full };
    const std::map<int, std::pair<ChartInk, Height>> bars = {{0, {ChartInk::Bar, Height::Line}},
                                                             {1, {ChartInk::Bar, Height::Half}},
                                                             {26, {ChartInk::WeekendBar, Height::Line}},
                                                             {kChartDays - 1, {ChartInk::Bar, Height::Full}}};
    // The last with a label wider than "8h", as a translation may make it.
    const struct {
        int width, height, dpi, textHeight, labelWidth;
    } sizes[] = {{283, 113, 96, 13, 12}, {425, 170, 144, 20, 18}, {300, 113, 96, 13, 12}, {331, 140, 120, 16, 15},
                 {300, 113, 96, 13, 44}};
    for (const auto& size : sizes) {
        const ChartLayout layout(size.width, size.height, size.dpi, size.textHeight, size.labelWidth);
        const ChartBox& plot = layout.Plot();
        const ChartBox label = layout.LineLabel(chart, 4 * 3600);
        EXPECT_GE(label.right - label.left, size.labelWidth);
        EXPECT_LT(label.right, plot.left) << "the labels stand left of the bars";
        const int plotHeight = plot.bottom - plot.top;
        const std::string where = std::to_string(size.width) + " x " + std::to_string(size.height) + " at " +
                                  std::to_string(size.dpi) + " DPI";
        const ChartPicture picture = layout.Picture(chart);
        ASSERT_FALSE(picture.fills.empty()) << where;
        EXPECT_EQ(picture.fills.front(), (ChartFill{{0, 0, size.width, size.height}, ChartInk::Background})) << where;

        std::map<int, ChartFill> drawn;
        for (const ChartFill& fill : picture.fills) {
            if (fill.ink != ChartInk::Bar && fill.ink != ChartInk::WeekendBar)
                continue;
            int slot = 0;
            while (slot < kChartDays && layout.Slot(slot).right <= fill.box.left)
                ++slot;
            EXPECT_LT(slot, kChartDays) << where << ", a bar right of the last slot";
            EXPECT_TRUE(drawn.emplace(slot, fill).second) << where << ", a second bar in slot " << slot;
        }
        for (int slot = 0; slot < kChartDays; ++slot) {
            const ChartBox column = layout.Slot(slot);
            // The slots side by side across the plot, each as wide as the others.
            EXPECT_EQ(column.left, slot == 0 ? plot.left : layout.Slot(slot - 1).right) << where << ", slot " << slot;
            EXPECT_EQ(column.right - column.left, (plot.right - plot.left) / kChartDays) << where << ", slot " << slot;
            const auto expected = bars.find(slot);
            const auto bar = drawn.find(slot);
            ASSERT_EQ(bar != drawn.end(), expected != bars.end()) << where << ", slot " << slot;
            if (bar == drawn.end())
                continue;
            const ChartBox& box = bar->second.box;
            const auto [ink, height] = expected->second;
            EXPECT_EQ(bar->second.ink, ink) << where << ", slot " << slot;
            EXPECT_EQ(box.left - column.left, column.right - box.right) << where << ", slot " << slot;
            EXPECT_GT(box.right - box.left, 0) << where << ", slot " << slot;
            EXPECT_LT(box.right - box.left, column.right - column.left) << where << ", slot " << slot;
            EXPECT_EQ(box.bottom, plot.bottom) << where << ", slot " << slot;
            const int heights[] = {layout.LineWidth(), (plotHeight + 1) / 2, plotHeight};
            EXPECT_EQ(box.bottom - box.top, heights[static_cast<int>(height)]) << where << ", slot " << slot;
        }

        // "4h" and "8h", each level with its line, then the days of every seventh bar, each in the
        // middle under its bar.
        ASSERT_EQ(picture.texts.size(), 7u) << where;
        for (std::size_t line = 0; line < chart.gridLines.size(); ++line) {
            const ChartText& label = picture.texts[line];
            EXPECT_EQ(label.text, chart.gridLines[line].label) << where;
            EXPECT_FALSE(label.centred) << where << ", " << label.text;
            EXPECT_EQ((label.room.top + label.room.bottom) / 2, layout.LineY(chart, chart.gridLines[line].seconds))
                << where << ", " << label.text;
        }
        std::size_t dayText = chart.gridLines.size();
        for (int slot = 0; slot < kChartDays; ++slot) {
            const ChartSlot& day = chart.slots[static_cast<std::size_t>(slot)];
            if (day.dayLabel.empty())
                continue;
            ASSERT_LT(dayText, picture.texts.size()) << where;
            const ChartText& label = picture.texts[dayText++];
            EXPECT_EQ(label.text, day.dayLabel) << where;
            EXPECT_TRUE(label.centred) << where << ", " << label.text;
            EXPECT_EQ((label.room.left + label.room.right) / 2, (layout.Slot(slot).left + layout.Slot(slot).right) / 2)
                << where << ", " << label.text;
        }
        for (std::size_t index = 0; index < picture.texts.size(); ++index) {
            const ChartBox& room = picture.texts[index].room;
            EXPECT_TRUE(room.left >= 0 && room.top >= 0 && room.right <= size.width && room.bottom <= size.height)
                << where << ", " << picture.texts[index].text;
            for (std::size_t other = 0; other < index; ++other)
                EXPECT_FALSE(Overlap(room, picture.texts[other].room))
                    << where << ", " << picture.texts[index].text << " over " << picture.texts[other].text;
        }
    }
}

// While the daily limit is on, the days over it stand out in the warning colour, weekends among
// them, and its line crosses all bars on top of them, in the scale however long the limit.
TEST_F(HistoryChartTest, TheDailyLimitMarksTheDaysOverIt)
{
    // Monday 6 November at the limit to the second, Saturday 2 December and today over it.
    const std::string file = "2006-11-6 = 8:0:0 2006-11-7 = 2:0:0 2006-12-2 = 8:0:1 2006-12-5 = 9:10:0";
    using enum ChartInk;
    const struct {
        std::optional<int> limitMinutes;
        std::int64_t scaleHours;
        std::vector<ChartInk> bars; // oldest first, then the limit's line
        int over;
    } cases[] = {
        {std::nullopt, 10, {Bar, Bar, WeekendBar, Bar}, 0},
        {480, 10, {Bar, Bar, OverLimitBar, OverLimitBar, LimitLine}, 2},
        {12 * 60 + 30, 13, {Bar, Bar, WeekendBar, Bar, LimitLine}, 0},
    };
    const ChartLayout layout(283, 113, 96, 13);
    for (const auto& c : cases) {
        const HistoryChart chart = ComputeHistoryChart(ParseHistory(file), {}, {2006, 12, 5}, c.limitMinutes);
        EXPECT_EQ(chart.scaleSeconds, c.scaleHours * kHour);
        EXPECT_EQ(chart.daysOverLimit, c.over);
        std::vector<ChartInk> bars;
        for (const ChartFill& fill : layout.Picture(chart).fills) {
            if (fill.ink == Bar || fill.ink == WeekendBar || fill.ink == OverLimitBar || fill.ink == LimitLine)
                bars.push_back(fill.ink);
        }
        EXPECT_EQ(bars, c.bars) << c.scaleHours;
        if (!c.limitMinutes)
            continue;
        const int y = layout.LineY(chart, *c.limitMinutes * 60);
        EXPECT_EQ(layout.LimitLine(chart), (ChartBox{layout.Plot().left, y - 1, layout.Plot().right, y + 1}));
    }
}

TEST_F(HistoryChartTest, ExportsOneLinePerDayInDateOrder)
{
    const std::string header = "date,active_seconds,active_time,breaks,postponed,eye_breaks_taken,eye_breaks_offered,"
                               "first_active,last_active\r\n";
    struct Case {
        const char* what;
        std::string file;
        std::vector<BreakDay> breaks;
        std::string csv;
        std::vector<UseDay> uses = {};
    } cases[] = {
        {"worked example", "HISTORY\r\n2006-3-4 = 5:12:0\r\n2006-3-6 = 1:0:30\r\n", {},
         "2006-03-04,18720,5:12:00,,,,,,\r\n2006-03-06,3630,1:00:30,,,,,,\r\n"},
        {"out of order across a change of month and year, a day of several lines",
         "2007-1-1 = 0:0:9 2006-12-31 = 2:0:0 2006-11-30 = 0:0:0 2006-12-31 = 3:0:0 2006-12-31 = 1:0:0", {},
         "2006-11-30,0,0:00:00,,,,,,\r\n2006-12-31,10800,3:00:00,,,,,,\r\n2007-01-01,9,0:00:09,,,,,,\r\n"},
        {"both clock changes and hours beyond a day", "2006-3-26 = 23:0:0 2006-10-29 = 25:0:0 2008-2-29 = 600000:0:1",
         {},
         "2006-03-26,82800,23:00:00,,,,,,\r\n2006-10-29,90000,25:00:00,,,,,,\r\n"
         "2008-02-29,2160000001,600000:00:01,,,,,,\r\n"},
        {"breaks on some days, out of order, twice for a day, and a day without active time",
         "2026-12-7 = 1:0:0\r\n2026-12-8 = 2:0:0\r\n2026-12-9 = 3:0:0\r\n",
         {{{2026, 12, 9}, {4, 1, 10, 14}}, {{2026, 12, 1}, {9, 9, 9, 9}}, {{2026, 12, 7}, {2, 0, 0, 1}},
          {{2026, 12, 9}, {3, 2, 9, 15}}},
         "2026-12-07,3600,1:00:00,2,0,0,1,,\r\n2026-12-08,7200,2:00:00,,,,,,\r\n"
         "2026-12-09,10800,3:00:00,4,2,10,15,,\r\n"},
        {"first and last uses, after midnight, twice for a day, seconds cut off, a use without active time",
         "2026-12-7 = 1:0:0\r\n2026-12-8 = 2:0:0\r\n2026-12-9 = 3:0:0\r\n",
         {{{2026, 12, 8}, {1, 0, 0, 0}}},
         "2026-12-07,3600,1:00:00,,,,,08:12,23:59\r\n2026-12-08,7200,2:00:00,1,0,0,0,05:00,04:59\r\n"
         "2026-12-09,10800,3:00:00,,,,,,\r\n",
         {{{2026, 12, 8}, 3600, 86399}, {{2026, 12, 7}, 11579, 68399}, {{2026, 12, 6}, 0, 1}, {{2026, 12, 8}, 0, 60}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatHistoryCsv(ParseHistory(c.file), c.breaks, c.uses), header + c.csv) << c.what;
}

} // namespace
