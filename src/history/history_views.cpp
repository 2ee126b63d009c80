#include "history/history_views.h"

#include "history/history_statistics.h"
#include "language/text_format.h"
#include "language/translation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int32_t kSecondsPerHour = 3600;
constexpr int kMinutesPerHour = 60;
constexpr int kHoursPerDay = 24;
// The weeks' bars are labelled with their first day every third week, the months' every other month.
constexpr int kWeekLabelEvery = 3;
constexpr int kMonthLabelEvery = 2;
// A value label's breaks a day: one decimal while it is short, whole numbers up to the most that fits over a bar.
constexpr double kWholeBreaksFrom = 9.95;
constexpr double kMostBreaksShown = 99.5;
// The nights' chart reaches from 18:00 at least until 02:00 at least, and two hours either side of
// the bedtime's line, to each whole hour past the earliest and the latest last use.
constexpr std::int32_t kNightsLatestTop = (18 - kUseDayBeginsHour) * kSecondsPerHour;
constexpr std::int32_t kNightsEarliestBottom = (kHoursPerDay + 2 - kUseDayBeginsHour) * kSecondsPerHour;
constexpr std::int32_t kNightsMargin = 2 * kSecondsPerHour;
// The hours between the nights' grid lines, by the hours the chart spans.
constexpr std::int32_t kTwoHourLinesUpTo = 8 * kSecondsPerHour;
constexpr std::int32_t kFourHourLinesUpTo = 16 * kSecondsPerHour;
constexpr int kNightLineHours[] = {2, 4, 6};

constexpr std::size_t Index(HistoryView view)
{
    return static_cast<std::size_t>(view);
}

CivilDate ToCivil(std::chrono::sys_days day)
{
    const std::chrono::year_month_day date{day};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

std::string WithDecimalSeparator(const char* number)
{
    std::string text = number;
    // The decimal point as the language writes it: "1,5" in German.
    std::replace(text.begin(), text.end(), '.', *TrC("decimal separator", "."));
    return text;
}

// "3.2", "12" or "99+", which fits over a bar as narrow as a week's.
std::string ShortBreaksText(double breaks)
{
    if (breaks >= kMostBreaksShown)
        return "99+";
    char text[16];
    std::snprintf(text, sizeof text, breaks >= kWholeBreaksFrom ? "%.0f" : "%.1f", breaks);
    return WithDecimalSeparator(text);
}

// "Nov 30": a week by its first day.
std::string ShortDate(const CivilDate& date)
{
    return FillText(TrC("day of a month", "%s %s"), {MonthName(date.month), std::to_string(date.day)});
}

// "2026 Dec".
std::string MonthTitle(const CivilDate& date)
{
    return FillText(TrC("month of a year", "%s %s"), {std::to_string(date.year), MonthName(date.month)});
}

// "00:41" of seconds after 05:00.
std::string ClockText(std::int32_t second)
{
    const TimeOfDay time = UseClockTime(second);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", time.hour, time.minute);
    return text;
}

std::int32_t FloorHour(std::int32_t seconds)
{
    return seconds / kSecondsPerHour * kSecondsPerHour;
}

std::int32_t CeilHour(std::int32_t seconds)
{
    return (seconds + kSecondsPerHour - 1) / kSecondsPerHour * kSecondsPerHour;
}

// The nights' grid lines on the whole hours of a step that lie inside the chart's span.
void AddNightLines(HistoryChart& chart, std::int32_t top, std::int32_t bottom)
{
    const std::int32_t span = bottom - top;
    const int step = kNightLineHours[span <= kTwoHourLinesUpTo ? 0 : (span <= kFourHourLinesUpTo ? 1 : 2)];
    for (int hour = 0; hour < kHoursPerDay; hour += step) {
        const std::int32_t second = EveningSecond(hour * kMinutesPerHour);
        if (second <= top || second >= bottom)
            continue;
        char label[16];
        std::snprintf(label, sizeof label, "%02d:00", hour);
        chart.gridLines.push_back({second - top, label});
    }
    std::sort(chart.gridLines.begin(), chart.gridLines.end(),
              [](const ChartGridLine& a, const ChartGridLine& b) { return a.seconds < b.seconds; });
}

} // namespace

std::string BreaksPerDayText(double breaks)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", breaks);
    return WithDecimalSeparator(text);
}

HistoryChart ComputePeriodChart(const std::vector<PeriodFigures>& periods, HistoryView view,
                                std::optional<int> limitMinutes)
{
    const bool weeks = view == HistoryView::Weeks;
    HistoryChart chart;
    chart.labelEvery = weeks ? kWeekLabelEvery : kMonthLabelEvery;
    if (limitMinutes)
        chart.limitSeconds = std::int64_t{*limitMinutes} * kSecondsPerMinute;
    std::int64_t longest = 0;
    const std::size_t count = periods.size();
    for (std::size_t index = 0; index < count; ++index) {
        const PeriodFigures& period = periods[index];
        ChartSlot slot;
        slot.date = period.first;
        slot.recorded = period.daysUsed > 0;
        slot.activeSeconds = SecondsPerDayUsed(period);
        if ((count - 1 - index) % static_cast<std::size_t>(chart.labelEvery) == 0)
            slot.dayLabel = weeks ? ShortDate(period.first) : MonthName(period.first.month);
        const std::string title =
            weeks ? FillText(Tr("Week of %s"), {FormatHistoryDate(period.first)}) : MonthTitle(period.first);
        slot.tip = title;
        if (slot.recorded) {
            slot.valueLabel = ShortBreaksText(BreaksPerDayUsed(period));
            slot.tip = FillText(TrN("%1$s: %2$s a day on %3$s day, %4$s breaks a day",
                                    "%1$s: %2$s a day on %3$s days, %4$s breaks a day",
                                    static_cast<unsigned long>(period.daysUsed)),
                                {title, FormatDuration(slot.activeSeconds), std::to_string(period.daysUsed),
                                 BreaksPerDayText(BreaksPerDayUsed(period))});
        }
        slot.overLimit = slot.recorded && chart.limitSeconds && slot.activeSeconds > *chart.limitSeconds;
        chart.daysOverLimit += slot.overLimit ? 1 : 0;
        longest = std::max(longest, slot.activeSeconds);
        chart.slots.push_back(std::move(slot));
    }
    SetHoursScale(chart, longest);
    return chart;
}

HistoryChart ComputeNightsChart(const std::vector<UseDay>& uses, const CivilDate& tonight,
                                std::optional<int> bedtimeMinutes)
{
    HistoryChart chart;
    chart.hanging = true;
    const std::int32_t line = bedtimeMinutes ? EveningSecond(*bedtimeMinutes) : kMidnightSecond;
    const std::chrono::sys_days first = DayNumber(tonight) - std::chrono::days{kViewNights - 1};
    std::int32_t earliest = std::min(kNightsLatestTop, line - kNightsMargin);
    std::int32_t latest = std::max(kNightsEarliestBottom, line + kNightsMargin);
    std::vector<std::optional<UseDay>> nights;
    for (int index = 0; index < kViewNights; ++index) {
        const std::chrono::sys_days date = first + std::chrono::days{index};
        ChartSlot slot;
        slot.date = ToCivil(date);
        // The nights before a Saturday and a Sunday.
        const std::chrono::weekday weekday{date};
        slot.weekend = weekday == std::chrono::Friday || weekday == std::chrono::Saturday;
        if ((kViewNights - 1 - index) % kChartLabelEvery == 0)
            slot.dayLabel = std::to_string(slot.date.day);
        slot.tip = FormatHistoryDate(slot.date);
        const std::optional<UseDay> night = UseDayOf(uses, slot.date);
        if (night) {
            slot.recorded = true;
            slot.tip = FillText(Tr("%1$s: first use %2$s, last use %3$s"),
                                {slot.tip, ClockText(night->first), ClockText(night->last)});
            slot.overLimit = !StoppedBefore(*night, line);
            chart.daysOverLimit += slot.overLimit ? 1 : 0;
            earliest = std::min(earliest, night->last);
            latest = std::max(latest, night->last + 1);
        }
        nights.push_back(night);
        chart.slots.push_back(std::move(slot));
    }
    const std::int32_t top = std::max(0, FloorHour(earliest));
    const std::int32_t bottom = std::min(kUseDaySeconds, CeilHour(latest));
    chart.scaleSeconds = bottom - top;
    chart.limitSeconds = line - top;
    for (std::size_t index = 0; index < nights.size(); ++index) {
        if (nights[index])
            chart.slots[index].activeSeconds = nights[index]->last - top;
    }
    AddNightLines(chart, top, bottom);
    return chart;
}

std::string DaysText(const HistoryChart& daysChart, const std::vector<DayRecord>& days, const CivilDate& today,
                     std::optional<int> limitMinutes)
{
    PeriodFigures lastDays;
    for (const ChartSlot& slot : daysChart.slots) {
        if (slot.recorded && slot.activeSeconds > 0) {
            ++lastDays.daysUsed;
            lastDays.activeSeconds += slot.activeSeconds;
        }
    }
    std::string text =
        FillText(TrN("In the last 30 days: %s a day on %s day of use",
                     "In the last 30 days: %s a day on %s days of use", static_cast<unsigned long>(lastDays.daysUsed)),
                 {FormatDuration(SecondsPerDayUsed(lastDays)), std::to_string(lastDays.daysUsed)});
    if (limitMinutes) {
        const Streak streak = LimitStreak(days, *limitMinutes, today);
        text += "\r\n" + FillText(Tr("Days in a row within your daily limit: %s (best: %s)"),
                                  {std::to_string(streak.current), std::to_string(streak.best)});
    }
    return text;
}

std::string PeriodText(const std::vector<PeriodFigures>& periods, HistoryView view)
{
    const PeriodFigures present = periods.empty() ? PeriodFigures{} : periods.back();
    const PeriodFigures all = Together(periods);
    const bool weeks = view == HistoryView::Weeks;
    const char* presentPattern =
        weeks ? Tr("This week so far: %s a day, %s breaks a day") : Tr("This month so far: %s a day, %s breaks a day");
    const char* allPattern = weeks ? Tr("The last 12 weeks: %s a day, %s breaks a day")
                                   : Tr("The last 12 months: %s a day, %s breaks a day");
    return FillText(presentPattern,
                    {FormatDuration(SecondsPerDayUsed(present)), BreaksPerDayText(BreaksPerDayUsed(present))}) +
           "\r\n" +
           FillText(allPattern, {FormatDuration(SecondsPerDayUsed(all)), BreaksPerDayText(BreaksPerDayUsed(all))});
}

std::string NightsText(const std::vector<UseDay>& uses, const CivilDate& tonight, std::optional<int> bedtimeMinutes)
{
    const std::int32_t line = bedtimeMinutes ? EveningSecond(*bedtimeMinutes) : kMidnightSecond;
    const NightsTold told = TellNights(uses, line, tonight);
    const Streak streak = NightStreak(uses, line, tonight);
    const auto nights = static_cast<unsigned long>(told.nights);
    std::string text =
        told.nights == 0
            ? std::string(Tr("No finished night of use to count yet."))
            : FillText(bedtimeMinutes ? TrN("You stopped before your bedtime on %s of the last %s night.",
                                            "You stopped before your bedtime on %s of the last %s nights.", nights)
                                      : TrN("You stopped before midnight on %s of the last %s night.",
                                            "You stopped before midnight on %s of the last %s nights.", nights),
                       {std::to_string(told.before), std::to_string(told.nights)});
    text += "\r\n" + FillText(bedtimeMinutes ? Tr("Nights in a row before your bedtime: %s (best: %s)")
                                             : Tr("Nights in a row before midnight: %s (best: %s)"),
                              {std::to_string(streak.current), std::to_string(streak.best)});
    return text;
}

HistoryViews ComputeHistoryViews(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                                 const std::vector<UseDay>& uses, const CivilDate& today, const CivilDate& tonight,
                                 int firstDayOfWeek, const HistoryChoices& choices)
{
    HistoryViews views;
    HistoryPage& lastDays = views.pages[Index(HistoryView::Days)];
    lastDays.chart = ComputeHistoryChart(days, breaks, today, choices.dailyLimitMinutes);
    lastDays.text = DaysText(lastDays.chart, days, today, choices.dailyLimitMinutes);
    const std::vector<PeriodFigures> weeks = WeekFigures(days, breaks, today, firstDayOfWeek);
    views.pages[Index(HistoryView::Weeks)] = {ComputePeriodChart(weeks, HistoryView::Weeks, choices.dailyLimitMinutes),
                                              PeriodText(weeks, HistoryView::Weeks)};
    const std::vector<PeriodFigures> months = MonthFigures(days, breaks, today);
    views.pages[Index(HistoryView::Months)] = {
        ComputePeriodChart(months, HistoryView::Months, choices.dailyLimitMinutes),
        PeriodText(months, HistoryView::Months)};
    views.pages[Index(HistoryView::Nights)] = {ComputeNightsChart(uses, tonight, choices.bedtimeMinutes),
                                               NightsText(uses, tonight, choices.bedtimeMinutes)};
    return views;
}
