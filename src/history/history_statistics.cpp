#include "history/history_statistics.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerDay = 86400;
// A list line is "2006 Mar 04 (Sat)\t Active Time: 05:12:00  \r\n", 44 characters; with hours
// of ten digits, the most a stored day can have, it is still shorter than 96.
constexpr std::size_t kTypicalListLine = 44;
constexpr std::size_t kLongestListLine = 96;

// English names whatever the user's locale, as the classic locale's %b and %a give them.
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kWeekdayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// One day's line of the list, formatted in place: a list of years of days would otherwise
// make and drop several strings a day.
void AppendListLine(std::string& list, const DayRecord& day)
{
    const unsigned weekday = std::chrono::weekday{DayNumber(day.date)}.c_encoding();
    char line[kLongestListLine];
    const int length =
        std::snprintf(line, sizeof line, "%d %s %02d (%s)\t Active Time: %02lld:%02lld:%02lld  \r\n", day.date.year,
                      kMonthNames[day.date.month - 1], day.date.day, kWeekdayNames[weekday],
                      static_cast<long long>(day.activeSeconds / kSecondsPerHour),
                      static_cast<long long>(day.activeSeconds / kSecondsPerMinute % kSecondsPerMinute),
                      static_cast<long long>(day.activeSeconds % kSecondsPerMinute));
    if (length > 0)
        list.append(line, std::min(static_cast<std::size_t>(length), sizeof line - 1));
}

} // namespace

// The history's dates are all real days.
std::string FormatHistoryDate(const CivilDate& date)
{
    const unsigned weekday = std::chrono::weekday{DayNumber(date)}.c_encoding();
    char text[32];
    std::snprintf(text, sizeof text, "%d %s %02d (%s)", date.year, kMonthNames[date.month - 1], date.day,
                  kWeekdayNames[weekday]);
    return text;
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
    for (std::size_t index = 0; index < days.size(); ++index) {
        const DayRecord& day = days[index];
        totalSeconds += day.activeSeconds;
        if (!best || day.activeSeconds > best->activeSeconds)
            best = &day;
        if (index >= firstListed)
            AppendListLine(figures.list, day);
    }

    const std::int64_t fullDays = totalSeconds / kSecondsPerDay;
    char total[48];
    std::snprintf(total, sizeof total, fullDays == 1 ? "%lld full day and " : "%lld full days and ",
                  static_cast<long long>(fullDays));
    figures.total = total + FormatDuration(totalSeconds % kSecondsPerDay);

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
