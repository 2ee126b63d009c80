#include "history/history_chart.h"

#include "history/history_statistics.h"
#include "language/text_format.h"
#include "language/translation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kGridLineHours[] = {4, 8};

// Lengths at 96 DPI, scaled to the chart's DPI.
constexpr int kDesignDpi = 96;
constexpr int kGap = 3;
constexpr int kLabelColumn = 20; // the grid lines' labels, "4h" and "8h"
constexpr int kRightMargin = 8;  // half of today's day label may stand right of its bar
constexpr int kLineWidth = 1;
constexpr int kLimitLineWidths = 2; // the limit's line, in grid lines
constexpr int kBarInsetPerSlot = 5; // a bar leaves a fifth of its slot free on each side

int Scaled(int length, int dpi)
{
    return (length * dpi + kDesignDpi / 2) / kDesignDpi;
}

CivilDate ToCivil(std::chrono::sys_days day)
{
    const std::chrono::year_month_day date{day};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

} // namespace

const Colour& InkColour(const Palette& palette, ChartInk ink)
{
    switch (ink) {
    case ChartInk::WeekendColumn:
        return palette.chartWeekendColumn;
    case ChartInk::GridLine:
        return palette.chartGridLine;
    case ChartInk::Bar:
        return palette.chartBar;
    case ChartInk::WeekendBar:
        return palette.chartWeekendBar;
    case ChartInk::Baseline:
        return palette.chartBaseline;
    case ChartInk::OverLimitBar:
    case ChartInk::LimitLine:
        return palette.chartWarning;
    case ChartInk::Background:
        break;
    }
    return palette.chartBackground;
}

HistoryChart ComputeHistoryChart(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                                 const CivilDate& today, std::optional<int> limitMinutes)
{
    HistoryChart chart;
    if (limitMinutes)
        chart.limitSeconds = std::int64_t{*limitMinutes} * kSecondsPerMinute;
    const std::chrono::sys_days last = DayNumber(today);
    const std::chrono::sys_days first = last - std::chrono::days{kChartDays - 1};
    chart.slots.resize(kChartDays);
    for (const DayRecord& day : days) {
        const std::chrono::sys_days date = DayNumber(day.date);
        if (date < first || date > last)
            continue;
        ChartSlot& slot = chart.slots[static_cast<std::size_t>((date - first).count())];
        slot.activeSeconds = std::max(slot.activeSeconds, day.activeSeconds);
        slot.recorded = true;
    }
    std::vector<std::optional<BreakCounts>> breakCounts(kChartDays);
    for (const BreakDay& day : InDateOrder(breaks)) {
        const std::chrono::sys_days date = DayNumber(day.date);
        if (date >= first && date <= last)
            breakCounts[static_cast<std::size_t>((date - first).count())] = day.counts;
    }

    std::int64_t longest = 0;
    for (int index = 0; index < kChartDays; ++index) {
        ChartSlot& slot = chart.slots[static_cast<std::size_t>(index)];
        const std::chrono::sys_days date = first + std::chrono::days{index};
        slot.date = ToCivil(date);
        const std::chrono::weekday weekday{date};
        slot.weekend = weekday == std::chrono::Saturday || weekday == std::chrono::Sunday;
        if ((kChartDays - 1 - index) % kChartLabelEvery == 0)
            slot.dayLabel = std::to_string(slot.date.day);
        slot.tip = FormatHistoryDate(slot.date);
        if (slot.recorded)
            slot.tip += " - " + FormatDuration(slot.activeSeconds);
        if (const std::optional<BreakCounts>& counts = breakCounts[static_cast<std::size_t>(index)]) {
            slot.tip += FillText(Tr(" · breaks %s (eyes %s of %s)"),
                                 {std::to_string(counts->breaks), std::to_string(counts->eyesTaken),
                                  std::to_string(counts->eyesOffered)});
        }
        slot.overLimit = slot.recorded && chart.limitSeconds && slot.activeSeconds > *chart.limitSeconds;
        chart.daysOverLimit += slot.overLimit ? 1 : 0;
        longest = std::max(longest, slot.activeSeconds);
    }
    SetHoursScale(chart, longest);
    return chart;
}

void SetHoursScale(HistoryChart& chart, std::int64_t longest)
{
    longest = std::max(longest, chart.limitSeconds.value_or(0));
    const std::int64_t wholeHours = (longest + kSecondsPerHour - 1) / kSecondsPerHour * kSecondsPerHour;
    chart.scaleSeconds = std::clamp(wholeHours, kChartLeastScaleSeconds, kChartMostScaleSeconds);
    chart.gridLines.clear();
    for (const std::int64_t hours : kGridLineHours)
        chart.gridLines.push_back({hours * kSecondsPerHour, FillText(Tr("%sh"), {std::to_string(hours)})});
}

ChartShape ShapeOf(const HistoryChart& chart)
{
    ChartShape shape;
    shape.slots = chart.slots.empty() ? kChartDays : static_cast<int>(chart.slots.size());
    shape.labelEvery = std::max(1, chart.labelEvery);
    shape.valueLabels = std::any_of(chart.slots.begin(), chart.slots.end(),
                                    [](const ChartSlot& slot) { return !slot.valueLabel.empty(); });
    return shape;
}

ChartLayout::ChartLayout(int width, int height, int dpi, int textHeight, int labelWidth, ChartShape shape)
    : m_nWidth(std::max(width, 0)), m_nHeight(std::max(height, 0)), m_nSlots(std::max(shape.slots, 1)),
      m_nLabelEvery(std::max(shape.labelEvery, 1)), m_nTextHeight(std::max(textHeight, 0)),
      m_nLineWidth(std::max(1, Scaled(kLineWidth, dpi))), m_nGap(Scaled(kGap, dpi)),
      m_nLabelColumn(std::max(Scaled(kLabelColumn, dpi), labelWidth))
{
    m_plot.left = m_nGap + m_nLabelColumn + m_nGap;
    // Half a line for the top grid line's label, or a whole one for the label over the tallest bar.
    m_plot.top = m_nGap + (shape.valueLabels ? m_nTextHeight : m_nTextHeight / 2);
    // Every slot equally wide, so that the bars are; what is left over widens the right margin.
    const int slotWidth = std::max(0, m_nWidth - m_plot.left - Scaled(kRightMargin, dpi)) / m_nSlots;
    m_plot.right = m_plot.left + slotWidth * m_nSlots;
    m_plot.bottom = std::max(m_plot.top, m_nHeight - m_nGap - m_nTextHeight - m_nGap);
}

ChartBox ChartLayout::Slot(int index) const
{
    const int slotWidth = (m_plot.right - m_plot.left) / m_nSlots;
    const int left = m_plot.left + index * slotWidth;
    return {left, m_plot.top, left + slotWidth, m_plot.bottom};
}

ChartBox ChartLayout::Bar(const HistoryChart& chart, int index) const
{
    ChartBox bar = Slot(index);
    if (index < 0 || index >= static_cast<int>(chart.slots.size()) ||
        !chart.slots[static_cast<std::size_t>(index)].recorded)
        return {bar.left, bar.bottom, bar.left, bar.bottom};
    const int inset = std::max(bar.right - bar.left > 2 ? 1 : 0, (bar.right - bar.left) / kBarInsetPerSlot);
    bar.left += inset;
    bar.right -= inset;
    const int end = LineY(chart, chart.slots[static_cast<std::size_t>(index)].activeSeconds);
    if (chart.hanging)
        bar.bottom = std::max(end, bar.top + m_nLineWidth);
    else
        bar.top = std::min(end, bar.bottom - m_nLineWidth);
    return bar;
}

int ChartLayout::LineY(const HistoryChart& chart, std::int64_t seconds) const
{
    const std::int64_t height = m_plot.bottom - m_plot.top;
    const std::int64_t scale = std::max<std::int64_t>(chart.scaleSeconds, 1);
    const std::int64_t shown = std::clamp<std::int64_t>(seconds, 0, scale);
    const int length = static_cast<int>((shown * height + scale / 2) / scale);
    return chart.hanging ? m_plot.top + length : m_plot.bottom - length;
}

ChartBox ChartLayout::DayLabel(int index) const
{
    const ChartBox slot = Slot(index);
    const int centre = (slot.left + slot.right) / 2;
    const int halfRoom =
        std::max(0, std::min({(slot.right - slot.left) * m_nLabelEvery / 2, centre, m_nWidth - centre}));
    const int top = m_nHeight - m_nGap - m_nTextHeight;
    return {centre - halfRoom, top, centre + halfRoom, top + m_nTextHeight};
}

ChartBox ChartLayout::ValueLabel(const HistoryChart& chart, int index) const
{
    const ChartBox slot = Slot(index);
    const int top = Bar(chart, index).top;
    return {slot.left, top - m_nTextHeight, slot.right, top};
}

ChartPicture ChartLayout::Picture(const HistoryChart& chart) const
{
    ChartPicture picture;
    picture.fills.push_back({{0, 0, m_nWidth, m_nHeight}, ChartInk::Background});
    if (chart.slots.size() != static_cast<std::size_t>(m_nSlots))
        return picture;
    // The weekends' columns behind everything; weekend bars differ in colour too, which a
    // high-contrast scheme keeps apart where it gives both faces one colour.
    for (int index = 0; index < m_nSlots; ++index) {
        if (chart.slots[static_cast<std::size_t>(index)].weekend)
            picture.fills.push_back({Slot(index), ChartInk::WeekendColumn});
    }
    for (const ChartGridLine& line : chart.gridLines) {
        const int y = LineY(chart, line.seconds);
        picture.fills.push_back({{m_plot.left, y, m_plot.right, y + m_nLineWidth}, ChartInk::GridLine});
        picture.texts.push_back({line.label, LineLabel(chart, line.seconds), false});
    }
    for (int index = 0; index < m_nSlots; ++index) {
        const ChartSlot& slot = chart.slots[static_cast<std::size_t>(index)];
        if (slot.recorded) {
            const ChartInk ink =
                slot.overLimit ? ChartInk::OverLimitBar : (slot.weekend ? ChartInk::WeekendBar : ChartInk::Bar);
            picture.fills.push_back({Bar(chart, index), ink});
            if (!slot.valueLabel.empty())
                picture.texts.push_back({slot.valueLabel, ValueLabel(chart, index), true});
        }
        if (!slot.dayLabel.empty())
            picture.texts.push_back({slot.dayLabel, DayLabel(index), true});
    }
    if (chart.limitSeconds)
        picture.fills.push_back({LimitLine(chart), ChartInk::LimitLine});
    // The line the bars start from.
    const int baseline = chart.hanging ? m_plot.top - m_nLineWidth : m_plot.bottom;
    picture.fills.push_back({{m_plot.left, baseline, m_plot.right, baseline + m_nLineWidth}, ChartInk::Baseline});
    return picture;
}

ChartBox ChartLayout::LimitLine(const HistoryChart& chart) const
{
    if (!chart.limitSeconds)
        return {};
    // Centred on its time, so that a bar just over the limit reaches above the line's middle.
    const int thickness = kLimitLineWidths * m_nLineWidth;
    const int top = LineY(chart, *chart.limitSeconds) - thickness / 2;
    return {m_plot.left, top, m_plot.right, top + thickness};
}

ChartBox ChartLayout::LineLabel(const HistoryChart& chart, std::int64_t seconds) const
{
    const int top = LineY(chart, seconds) - m_nTextHeight / 2;
    return {m_nGap, top, m_nGap + m_nLabelColumn, top + m_nTextHeight};
}
