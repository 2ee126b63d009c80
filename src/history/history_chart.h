#pragma once
// The History dialog's bar chart: what each bar stands for, where it goes in the chart's client
// area, and how tall it is. The shell only paints what this decides. The last days' chart stands
// its bars on the baseline; the other views (history_views.h) use the same chart.

#include "activity/time_files.h"
#include "appearance/palette.h"
#include "history/break_history.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The chart shows this many calendar days, ending today.
constexpr int kChartDays = 30;
// Every seventh bar, counted back from today, carries its day of the month: today's bar and
// those of the same weekday one to four weeks before.
constexpr int kChartLabelEvery = 7;
// The top of the scale is the longest day in view rounded up to a whole hour, at least 8 hours
// so that an ordinary day reads against the 4- and 8-hour lines, and at most 25 hours, the
// longest local day: a longer time can only come from an edited file, and its bar stands at
// full height while its tip tells the real time.
constexpr std::int64_t kChartLeastScaleSeconds = std::int64_t{8} * 3600;
constexpr std::int64_t kChartMostScaleSeconds = std::int64_t{25} * 3600;

// One day's place in the chart (or a week's, a month's, an evening's).
struct ChartSlot {
    CivilDate date;
    bool recorded = false;          // false: the history has no line for the day, and the slot stays empty
    std::int64_t activeSeconds = 0; // the largest of the day's lines, as a restore takes it; the bar's length
    bool weekend = false;           // Saturday or Sunday
    bool overLimit = false;         // more active time than the daily limit, while the limit is on
    std::string dayLabel;           // the day of the month under every seventh bar, otherwise empty
    // "2006 Mar 04 (Sat) - 05:12:00", then " · breaks 4 (eyes 10 of 14)" for a day with a break
    // record; the date alone for an empty slot
    std::string tip;
    std::string valueLabel; // over the bar, when a chart gives one: a week's or a month's breaks a day
};

// A faint line across the bars at a round time, labelled at the left.
struct ChartGridLine {
    std::int64_t seconds = 0;
    std::string label; // "4h"
};

struct HistoryChart {
    std::vector<ChartSlot> slots; // kChartDays, oldest first, today last; none before the first read
    std::int64_t scaleSeconds = kChartLeastScaleSeconds; // the time at the top of the bars' area
    std::vector<ChartGridLine> gridLines;
    // The line across the bars: the daily limit's, only while the limit is on, or the nights' bedtime.
    std::optional<std::int64_t> limitSeconds;
    int daysOverLimit = 0; // the slots of the chart over it
    // Every so many slots, counted back from the last, carry their label.
    int labelEvery = kChartLabelEvery;
    // The bars hang from the top of the bars' area, where the scale begins, instead of standing on the baseline.
    bool hanging = false;
};

// The chart of the kChartDays days up to today, from the history's days and the break record's
// days in any order, with the daily limit in minutes while it is on. The scale reaches the limit too.
HistoryChart ComputeHistoryChart(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                                 const CivilDate& today, std::optional<int> limitMinutes = std::nullopt);

// The scale of a chart of active time for its longest bar and its limit, with the 4- and 8-hour lines.
void SetHoursScale(HistoryChart& chart, std::int64_t longest);

// A rectangle of the chart's client area in pixels; right and bottom are outside it.
struct ChartBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ChartBox&) const = default;
};

// What a part of the chart is painted with. A day over the daily limit and the limit's line take a warning colour.
enum class ChartInk { Background, WeekendColumn, GridLine, Bar, WeekendBar, Baseline, OverLimitBar, LimitLine };

// A part's colour in a palette.
const Colour& InkColour(const Palette& palette, ChartInk ink);

// A rectangle the chart fills.
struct ChartFill {
    ChartBox box;
    ChartInk ink = ChartInk::Background;
    bool operator==(const ChartFill&) const = default;
};

// A label the chart draws on one line in the room it gives it: a grid line's at the right of its
// room, a day's in the middle.
struct ChartText {
    std::string text;
    ChartBox room;
    bool centred = false;
};

// Everything a paint draws, in order: the fills, each over the ones before, then the labels.
struct ChartPicture {
    std::vector<ChartFill> fills;
    std::vector<ChartText> texts;
};

// What the layout of a chart depends on besides the client area.
struct ChartShape {
    int slots = kChartDays;
    int labelEvery = kChartLabelEvery;
    bool valueLabels = false; // a line of room over the tallest bar for its label
};
ChartShape ShapeOf(const HistoryChart& chart);

// Where the parts of the chart go in a client area of a size, at a DPI, with the font's line height
// and the width of the widest grid line's label, which a translation may make wider than "8h".
class ChartLayout {
public:
    ChartLayout(int width, int height, int dpi, int textHeight, int labelWidth = 0, ChartShape shape = {});

    // The bars' area: its bottom is the baseline, its top the scale's top.
    const ChartBox& Plot() const { return m_plot; }
    // A day's whole column of the bars' area; its tip shows anywhere in it.
    ChartBox Slot(int index) const;
    // A day's bar: empty for a day without a line, at least a line's width high for any other,
    // so that a day of no activity still shows it was recorded; from the top for a hanging chart.
    ChartBox Bar(const HistoryChart& chart, int index) const;
    // The daily limit's line across the bars, twice as thick as a grid line; empty without a limit.
    ChartBox LimitLine(const HistoryChart& chart) const;
    // The row of a grid line's time, from the baseline up, or from the top down for a hanging chart.
    int LineY(const HistoryChart& chart, std::int64_t seconds) const;
    // The room of a day label: centred under its bar, as wide as the days up to the next label
    // and no wider than the client area allows on both sides.
    ChartBox DayLabel(int index) const;
    // The room of a bar's value label: its slot's width, right over the bar.
    ChartBox ValueLabel(const HistoryChart& chart, int index) const;
    // The room of a grid line's label: left of the bars' area, centred on the line.
    ChartBox LineLabel(const HistoryChart& chart, std::int64_t seconds) const;
    // The thickness of the baseline and the grid lines.
    int LineWidth() const { return m_nLineWidth; }
    // The whole chart as a paint draws it: the background alone while no history has been read.
    ChartPicture Picture(const HistoryChart& chart) const;

private:
    int m_nWidth;
    int m_nHeight;
    int m_nSlots;
    int m_nLabelEvery;
    int m_nTextHeight;
    int m_nLineWidth;
    int m_nGap;
    int m_nLabelColumn;
    ChartBox m_plot;
};
