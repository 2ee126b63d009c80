#include "history/history_csv.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr char kHeader[] =
    "date,active_seconds,active_time,breaks,postponed,eye_breaks_taken,eye_breaks_offered,first_active,last_active\r\n";
constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
// "9999-12-31,", a seconds count and hours of 20 digits each, two colons and minutes, four counts
// of 10 digits and their commas, two times and their commas, CR LF.
constexpr std::size_t kLongestLine = 144;
constexpr std::size_t kTypicalLine = 50; // "2026-12-08,18720,5:12:00,4,1,10,14,08:12,00:41\r\n"

void AppendLine(std::string& csv, const DayRecord& day, const std::optional<BreakCounts>& breaks,
                const std::optional<UseDay>& use)
{
    char counts[64] = ",,,,";
    if (breaks)
        std::snprintf(counts, sizeof counts, ",%d,%d,%d,%d", breaks->breaks, breaks->postponed, breaks->eyesTaken,
                      breaks->eyesOffered);
    char times[16] = ",,";
    if (use) {
        const TimeOfDay first = UseClockTime(use->first);
        const TimeOfDay last = UseClockTime(use->last);
        std::snprintf(times, sizeof times, ",%02d:%02d,%02d:%02d", first.hour, first.minute, last.hour, last.minute);
    }
    char line[kLongestLine];
    const int length = std::snprintf(line, sizeof line, "%04d-%02d-%02d,%lld,%lld:%02lld:%02lld%s%s\r\n", day.date.year,
                                     day.date.month, day.date.day, static_cast<long long>(day.activeSeconds),
                                     static_cast<long long>(day.activeSeconds / kSecondsPerHour),
                                     static_cast<long long>(day.activeSeconds / kSecondsPerMinute % kSecondsPerMinute),
                                     static_cast<long long>(day.activeSeconds % kSecondsPerMinute), counts, times);
    if (length > 0)
        csv.append(line, std::min(static_cast<std::size_t>(length), sizeof line - 1));
}

} // namespace

std::string FormatHistoryCsv(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                             const std::vector<UseDay>& uses)
{
    const std::vector<UseDay> useDays = InDateOrder(uses);
    // One pass over both lists in date order.
    const std::vector<BreakDay> breakDays = InDateOrder(breaks);
    auto nextBreakDay = breakDays.begin();
    std::vector<DayRecord> sorted = days;
    std::sort(sorted.begin(), sorted.end(), [](const DayRecord& a, const DayRecord& b) {
        return a.date != b.date ? a.date < b.date : a.activeSeconds > b.activeSeconds;
    });
    std::string csv(kHeader);
    csv.reserve(csv.size() + sorted.size() * kTypicalLine);
    for (std::size_t index = 0; index < sorted.size(); ++index) {
        // The largest of a day's lines sorts first.
        if (index != 0 && sorted[index].date == sorted[index - 1].date)
            continue;
        while (nextBreakDay != breakDays.end() && nextBreakDay->date < sorted[index].date)
            ++nextBreakDay;
        const bool recorded = nextBreakDay != breakDays.end() && nextBreakDay->date == sorted[index].date;
        AppendLine(csv, sorted[index], recorded ? std::optional(nextBreakDay->counts) : std::nullopt,
                   UseDayOf(useDays, sorted[index].date));
    }
    return csv;
}
