#include "history/history_csv.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr char kHeader[] = "date,active_seconds,active_time\r\n";
constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
// "9999-12-31,", a seconds count and hours of 20 digits each, two colons and minutes, CR LF.
constexpr std::size_t kLongestLine = 80;
constexpr std::size_t kTypicalLine = 26; // "2026-12-08,18720,5:12:00\r\n"

void AppendLine(std::string& csv, const DayRecord& day)
{
    char line[kLongestLine];
    const int length = std::snprintf(
        line, sizeof line, "%04d-%02d-%02d,%lld,%lld:%02lld:%02lld\r\n", day.date.year, day.date.month, day.date.day,
        static_cast<long long>(day.activeSeconds), static_cast<long long>(day.activeSeconds / kSecondsPerHour),
        static_cast<long long>(day.activeSeconds / kSecondsPerMinute % kSecondsPerMinute),
        static_cast<long long>(day.activeSeconds % kSecondsPerMinute));
    if (length > 0)
        csv.append(line, std::min(static_cast<std::size_t>(length), sizeof line - 1));
}

} // namespace

std::string FormatHistoryCsv(const std::vector<DayRecord>& days)
{
    std::vector<DayRecord> sorted = days;
    std::sort(sorted.begin(), sorted.end(), [](const DayRecord& a, const DayRecord& b) {
        return a.date != b.date ? a.date < b.date : a.activeSeconds > b.activeSeconds;
    });
    std::string csv(kHeader);
    csv.reserve(csv.size() + sorted.size() * kTypicalLine);
    for (std::size_t index = 0; index < sorted.size(); ++index) {
        // The largest of a day's lines sorts first.
        if (index == 0 || sorted[index].date != sorted[index - 1].date)
            AppendLine(csv, sorted[index]);
    }
    return csv;
}
