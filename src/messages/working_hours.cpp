#include "messages/working_hours.h"

#include "activity/calendar.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "platform/text_chars.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMinutesPerHour = 60;
constexpr int kMinutesPerWeek = kDaysInWeek * kMinutesPerDay;
constexpr std::size_t kMostRanges = 2;

// English for now; the user's language comes with the translations.
constexpr const char* kShortDayNames[kDaysInWeek] = {
    TrLaterC("weekday", "Mon"), TrLaterC("weekday", "Tue"), TrLaterC("weekday", "Wed"), TrLaterC("weekday", "Thu"),
    TrLaterC("weekday", "Fri"), TrLaterC("weekday", "Sat"), TrLaterC("weekday", "Sun")};
constexpr const char* kDayNames[kDaysInWeek] = {TrLater("Monday"), TrLater("Tuesday"),  TrLater("Wednesday"),
                                                TrLater("Thursday"), TrLater("Friday"), TrLater("Saturday"),
                                                TrLater("Sunday")};

int WrappedWeekday(int weekday)
{
    return (weekday % kDaysInWeek + kDaysInWeek) % kDaysInWeek;
}

bool PastMidnight(const WorkRange& range)
{
    return range.to <= range.from;
}

// The ranges a day works, none on a day off; held in place, as the rules run every second.
class DayRanges {
public:
    explicit DayRanges(const WorkDay& day)
    {
        if (!day.working)
            return;
        m_ranges[m_nCount++] = day.first;
        if (day.second)
            m_ranges[m_nCount++] = *day.second;
    }
    const WorkRange* begin() const { return m_ranges.data(); }
    const WorkRange* end() const { return m_ranges.data() + m_nCount; }

private:
    std::array<WorkRange, kMostRanges> m_ranges{};
    std::size_t m_nCount = 0;
};

// Whether a minute of a weekday lies in working hours: in a range of its own day, or in the part
// after midnight of a range of the day before.
bool IsWorkingMinute(const WorkWeek& week, int weekday, int minute)
{
    for (const WorkRange& range : DayRanges(week[static_cast<std::size_t>(weekday)])) {
        if (minute >= range.from && (PastMidnight(range) || minute < range.to))
            return true;
    }
    const int dayBefore = (weekday + kDaysInWeek - 1) % kDaysInWeek;
    for (const WorkRange& range : DayRanges(week[static_cast<std::size_t>(dayBefore)])) {
        if (PastMidnight(range) && minute < range.to)
            return true;
    }
    return false;
}

bool IsWorkingMinuteOfWeek(const WorkWeek& week, int minuteOfWeek)
{
    const int wrapped = (minuteOfWeek % kMinutesPerWeek + kMinutesPerWeek) % kMinutesPerWeek;
    return IsWorkingMinute(week, wrapped / kMinutesPerDay, wrapped % kMinutesPerDay);
}

std::optional<WorkRange> ParseRange(std::string_view text)
{
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> from = ParseClockTime(text.substr(0, dash));
    const std::optional<int> to = ParseClockTime(text.substr(dash + 1));
    if (!from || !to)
        return std::nullopt;
    return WorkRange{*from, *to};
}

} // namespace

WorkDay DefaultWorkDay(int weekday)
{
    WorkDay day;
    day.working = weekday != kSaturday && weekday != kSunday;
    return day;
}

WorkWeek DefaultWorkWeek()
{
    WorkWeek week;
    for (int weekday = 0; weekday < kDaysInWeek; ++weekday)
        week[static_cast<std::size_t>(weekday)] = DefaultWorkDay(weekday);
    return week;
}

std::string DayName(int weekday)
{
    return Tr(kDayNames[static_cast<std::size_t>(WrappedWeekday(weekday))]);
}

int WeekdayOfRow(int row, int firstDayOfWeek)
{
    return WrappedWeekday(firstDayOfWeek + row);
}

WorkRowInput InputOfRow(bool working, bool second)
{
    return {working, working, working && second};
}

std::string FormatWorkDay(const WorkDay& day)
{
    std::string text;
    for (const WorkRange& range : DayRanges(day)) {
        if (!text.empty())
            text += ' ';
        text += FormatClockTime(range.from) + '-' + FormatClockTime(range.to);
    }
    return text;
}

WorkDay ParseWorkDay(std::string_view text, int weekday)
{
    const std::vector<std::string_view> words = SplitWords(text);
    WorkDay day = DefaultWorkDay(weekday);
    if (words.empty()) {
        day.working = false;
        return day;
    }
    if (words.size() > kMostRanges)
        return day;
    const std::optional<WorkRange> first = ParseRange(words[0]);
    const std::optional<WorkRange> second = words.size() > 1 ? ParseRange(words[1]) : std::nullopt;
    if (!first || (words.size() > 1 && !second))
        return day;
    day.working = true;
    day.first = *first;
    day.second = second;
    return day;
}

std::optional<int> LocalWeekday(std::int64_t time)
{
    const std::optional<CivilDate> date = LocalDate(time);
    if (!date || !IsValidDate(*date))
        return std::nullopt;
    const std::chrono::sys_days day{std::chrono::year{date->year} /
                                    std::chrono::month{static_cast<unsigned>(date->month)} /
                                    std::chrono::day{static_cast<unsigned>(date->day)}};
    // ISO numbers Monday 1 ... Sunday 7.
    return static_cast<int>(std::chrono::weekday{day}.iso_encoding()) - 1;
}

bool IsWorkingTime(const WorkWeek& week, std::int64_t time)
{
    const std::optional<int> weekday = LocalWeekday(time);
    const std::optional<TimeOfDay> clock = LocalTimeOfDay(time);
    if (!weekday || !clock)
        return false;
    return IsWorkingMinute(week, *weekday, clock->hour * kMinutesPerHour + clock->minute);
}

bool WorkingHoursBegan(const WorkWeek& week, std::int64_t previous, std::int64_t now)
{
    return IsWorkingTime(week, now) && !IsWorkingTime(week, previous);
}

std::optional<WorkingSpellStart> NextWorkingSpellStart(const WorkWeek& week, std::int64_t time)
{
    const std::optional<int> weekday = LocalWeekday(time);
    const std::optional<TimeOfDay> clock = LocalTimeOfDay(time);
    if (!weekday || !clock)
        return std::nullopt;
    const int now = *weekday * kMinutesPerDay + clock->hour * kMinutesPerHour + clock->minute;
    // Working hours begin only at the start of a range whose minute before is free.
    std::optional<int> soonest;
    for (int day = 0; day < kDaysInWeek; ++day) {
        for (const WorkRange& range : DayRanges(week[static_cast<std::size_t>(day)])) {
            const int start = day * kMinutesPerDay + range.from;
            if (IsWorkingMinuteOfWeek(week, start - 1))
                continue;
            int ahead = ((start - now) % kMinutesPerWeek + kMinutesPerWeek) % kMinutesPerWeek;
            if (ahead == 0)
                ahead = kMinutesPerWeek;
            if (!soonest || ahead < *soonest)
                soonest = ahead;
        }
    }
    if (!soonest)
        return std::nullopt;
    const int start = (now + *soonest) % kMinutesPerWeek;
    return WorkingSpellStart{start / kMinutesPerDay, start % kMinutesPerDay};
}

std::string OutsideWorkingHoursText(const std::optional<WorkingSpellStart>& start)
{
    if (!start)
        return Tr("Outside working hours");
    return FillText(Tr("Outside working hours until %s %s"),
                    {TrC("weekday", kShortDayNames[static_cast<std::size_t>(start->weekday)]),
                     FormatClockTime(start->minute)});
}
