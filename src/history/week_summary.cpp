#include "history/week_summary.h"

#include "history/history_statistics.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "messages/working_hours.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kLastFirstDay = kSunday;

// "14 breaks", "1 break".
std::string BreaksText(std::int64_t breaks)
{
    return FillText(TrN("%s break", "%s breaks", static_cast<unsigned long>(breaks)), {std::to_string(breaks)});
}

} // namespace

WeekSummary SummariseWeeks(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                           const CivilDate& today, int firstDayOfWeek)
{
    const std::chrono::sys_days last = DayNumber(today);
    const int weekday = static_cast<int>(std::chrono::weekday{last}.iso_encoding()) - 1;
    const int firstDay = std::clamp(firstDayOfWeek, 0, kLastFirstDay);
    const std::chrono::sys_days thisWeek = last - std::chrono::days{(weekday - firstDay + kDaysInWeek) % kDaysInWeek};
    const std::chrono::sys_days first = thisWeek - std::chrono::days{kDaysInWeek};

    // The largest line of each day of the two weeks, oldest first.
    std::array<std::int64_t, std::size_t{2} * kDaysInWeek> seconds{};
    for (const DayRecord& day : days) {
        const std::chrono::sys_days date = DayNumber(day.date);
        if (date < first || date > last)
            continue;
        std::int64_t& slot = seconds[static_cast<std::size_t>((date - first).count())];
        slot = std::max(slot, day.activeSeconds);
    }
    WeekSummary summary;
    for (std::size_t day = 0; day < kDaysInWeek; ++day) {
        summary.lastWeek.activeSeconds += seconds[day];
        summary.thisWeek.activeSeconds += seconds[day + kDaysInWeek];
    }
    for (const BreakDay& day : InDateOrder(breaks)) {
        const std::chrono::sys_days date = DayNumber(day.date);
        if (date >= first && date <= last)
            (date < thisWeek ? summary.lastWeek : summary.thisWeek).breaks += day.counts.breaks;
    }
    return summary;
}

std::string WeekSummaryLine(const WeekSummary& summary)
{
    const WeekTotals& now = summary.thisWeek;
    const WeekTotals& before = summary.lastWeek;
    return FillText(Tr("This week: %s active, %s · last week: %s, %s"),
                    {FormatDuration(now.activeSeconds), BreaksText(now.breaks), FormatDuration(before.activeSeconds),
                     BreaksText(before.breaks)});
}

std::string DaysOverLimitLine(int days)
{
    return FillText(Tr("Days over your limit in the last 30: %s"), {std::to_string(days)});
}
