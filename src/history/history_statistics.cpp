#include "history/history_statistics.h"

#include "language/text_format.h"
#include "language/translation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerDay = 86400;
// A list line is "2006 Mar 04 (Sat)\t Active Time: 05:12:00  \r\n", 44 characters in English.
constexpr std::size_t kTypicalListLine = 44;

// The classic locale's %b and %a in English, and in the user's language as translated.
constexpr const char* kMonthNames[] = {
    TrLaterC("month", "Jan"), TrLaterC("month", "Feb"), TrLaterC("month", "Mar"), TrLaterC("month", "Apr"),
    TrLaterC("month", "May"), TrLaterC("month", "Jun"), TrLaterC("month", "Jul"), TrLaterC("month", "Aug"),
    TrLaterC("month", "Sep"), TrLaterC("month", "Oct"), TrLaterC("month", "Nov"), TrLaterC("month", "Dec")};
constexpr const char* kWeekdayNames[] = {TrLaterC("weekday", "Sun"), TrLaterC("weekday", "Mon"),
                                         TrLaterC("weekday", "Tue"), TrLaterC("weekday", "Wed"),
                                         TrLaterC("weekday", "Thu"), TrLaterC("weekday", "Fri"),
                                         TrLaterC("weekday", "Sat")};
// "2006 Mar 04 (Sat)": a language may put the year, the month, the day and the weekday in its own order.
constexpr const char* kDatePattern = TrLaterC("date", "%s %s %s (%s)");
constexpr const char* kListLinePattern = TrLater("%s\t Active Time: %s");

std::string DateText(const CivilDate& date, const char* pattern)
{
    const unsigned weekday = std::chrono::weekday{DayNumber(date)}.c_encoding();
    char day[8];
    std::snprintf(day, sizeof day, "%02d", date.day);
    return FillText(pattern, {std::to_string(date.year), TrC("month", kMonthNames[date.month - 1]), day,
                              TrC("weekday", kWeekdayNames[weekday])});
}

// One day's line of the list.
void AppendListLine(std::string& list, const DayRecord& day, const char* datePattern, const char* linePattern)
{
    list += FillText(linePattern, {DateText(day.date, datePattern), FormatDuration(day.activeSeconds)});
    list += "  \r\n";
}

} // namespace

// The history's dates are all real days.
std::string FormatHistoryDate(const CivilDate& date)
{
    return DateText(date, TrC("date", kDatePattern));
}

std::string MonthName(int month)
{
    return TrC("month", kMonthNames[std::clamp(month, 1, 12) - 1]);
}

std::string FormatDuration(std::int64_t seconds)
{
    char text[40];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / kSecondsPerHour),
                  static_cast<long long>(seconds / kSecondsPerMinute % kSecondsPerMinute),
                  static_cast<long long>(seconds % kSecondsPerMinute));
    return text;
}

std::chrono::sys_days DayNumber(const CivilDate& date)
{
    return std::chrono::sys_days{std::chrono::year{date.year} / std::chrono::month{static_cast<unsigned>(date.month)} /
                                 std::chrono::day{static_cast<unsigned>(date.day)}};
}

HistoryFigures ComputeHistoryFigures(const std::vector<DayRecord>& days)
{
    HistoryFigures figures;
    figures.list.reserve(std::min(days.size(), kMostListedDays) * kTypicalListLine);
    std::int64_t totalSeconds = 0;
    const DayRecord* best = nullptr;
    const std::size_t firstListed = days.size() - std::min(days.size(), kMostListedDays);
    const char* datePattern = TrC("date", kDatePattern);
    const char* linePattern = Tr(kListLinePattern);
    for (std::size_t index = 0; index < days.size(); ++index) {
        const DayRecord& day = days[index];
        totalSeconds += day.activeSeconds;
        if (!best || day.activeSeconds > best->activeSeconds)
            best = &day;
        if (index >= firstListed)
            AppendListLine(figures.list, day, datePattern, linePattern);
    }

    const std::int64_t fullDays = totalSeconds / kSecondsPerDay;
    figures.total = FillText(TrN("%s full day and %s", "%s full days and %s", static_cast<unsigned long>(fullDays)),
                             {std::to_string(fullDays), FormatDuration(totalSeconds % kSecondsPerDay)});

    std::int64_t perActiveDay = 0;
    std::int64_t perCalendarDay = 0;
    if (!days.empty()) {
        const auto [first, last] = std::minmax_element(
            days.begin(), days.end(), [](const DayRecord& a, const DayRecord& b) { return a.date < b.date; });
        const std::int64_t calendarDays = (DayNumber(last->date) - DayNumber(first->date)).count() + 1;
        perActiveDay = totalSeconds / static_cast<std::int64_t>(days.size());
        perCalendarDay = totalSeconds / calendarDays;
        figures.bestDay = FormatHistoryDate(best->date) + " - " + FormatDuration(best->activeSeconds);
    }
    figures.averageActiveDays = FormatDuration(perActiveDay);
    figures.averageAllDays = FormatDuration(perCalendarDay);
    return figures;
}
