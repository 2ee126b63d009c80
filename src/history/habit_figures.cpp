#include "history/habit_figures.h"

#include "history/history_statistics.h"
#include "messages/working_hours.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;
constexpr int kMonthsPerYear = 12;

CivilDate ToCivil(std::chrono::sys_days day)
{
    const std::chrono::year_month_day date{day};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

// The largest line of each day from a date on, in date order.
std::vector<DayRecord> LargestOfEachDay(const std::vector<DayRecord>& days, const CivilDate& from = {})
{
    std::vector<DayRecord> largest;
    for (const DayRecord& day : days) {
        if (day.date >= from)
            largest.push_back(day);
    }
    std::sort(largest.begin(), largest.end(), [](const DayRecord& a, const DayRecord& b) {
        return a.date != b.date ? a.date < b.date : a.activeSeconds > b.activeSeconds;
    });
    largest.erase(std::unique(largest.begin(), largest.end(),
                              [](const DayRecord& a, const DayRecord& b) { return a.date == b.date; }),
                  largest.end());
    return largest;
}

// The figures of the periods whose first days are given, oldest first: each day goes to the last
// period that starts on or before it, up to the day before the next period's first.
std::vector<PeriodFigures> Periods(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                                   const std::vector<std::chrono::sys_days>& firsts, std::chrono::sys_days last)
{
    std::vector<PeriodFigures> periods;
    periods.reserve(firsts.size());
    for (const std::chrono::sys_days first : firsts)
        periods.push_back({ToCivil(first), 0, 0, 0});
    const auto periodOf = [&](const CivilDate& date) -> PeriodFigures* {
        const std::chrono::sys_days day = DayNumber(date);
        if (firsts.empty() || day < firsts.front() || day > last)
            return nullptr;
        const auto after = std::upper_bound(firsts.begin(), firsts.end(), day);
        return &periods[static_cast<std::size_t>(after - firsts.begin() - 1)];
    };
    for (const DayRecord& day : LargestOfEachDay(days, periods.empty() ? CivilDate{} : periods.front().first)) {
        PeriodFigures* period = periodOf(day.date);
        if (period && day.activeSeconds > 0) {
            ++period->daysUsed;
            period->activeSeconds += day.activeSeconds;
        }
    }
    for (const BreakDay& day : InDateOrder(breaks)) {
        if (PeriodFigures* period = periodOf(day.date))
            period->breaks += day.counts.breaks;
    }
    return periods;
}

bool IsSettled(const StreakDay& day, const CivilDate& unfinished)
{
    return day.date != unfinished || !day.kept;
}

} // namespace

std::int64_t SecondsPerDayUsed(const PeriodFigures& period)
{
    return period.daysUsed > 0 ? period.activeSeconds / period.daysUsed : 0;
}

double BreaksPerDayUsed(const PeriodFigures& period)
{
    return period.daysUsed > 0 ? static_cast<double>(period.breaks) / period.daysUsed : 0.0;
}

PeriodFigures Together(const std::vector<PeriodFigures>& periods)
{
    PeriodFigures together;
    if (!periods.empty())
        together.first = periods.front().first;
    for (const PeriodFigures& period : periods) {
        together.daysUsed += period.daysUsed;
        together.activeSeconds += period.activeSeconds;
        together.breaks += period.breaks;
    }
    return together;
}

std::vector<PeriodFigures> WeekFigures(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                                       const CivilDate& today, int firstDayOfWeek)
{
    const std::chrono::sys_days last = DayNumber(today);
    const int weekday = static_cast<int>(std::chrono::weekday{last}.iso_encoding()) - 1;
    const int firstDay = std::clamp(firstDayOfWeek, 0, kSunday);
    const std::chrono::sys_days thisWeek = last - std::chrono::days{(weekday - firstDay + kDaysInWeek) % kDaysInWeek};
    std::vector<std::chrono::sys_days> firsts;
    for (int week = kViewPeriods - 1; week >= 0; --week)
        firsts.push_back(thisWeek - std::chrono::days{week * kDaysInWeek});
    return Periods(days, breaks, firsts, last);
}

std::vector<PeriodFigures> MonthFigures(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                                        const CivilDate& today)
{
    std::vector<std::chrono::sys_days> firsts;
    const int thisMonth = today.year * kMonthsPerYear + today.month - 1;
    for (int month = thisMonth - (kViewPeriods - 1); month <= thisMonth; ++month)
        firsts.push_back(DayNumber({month / kMonthsPerYear, month % kMonthsPerYear + 1, 1}));
    return Periods(days, breaks, firsts, DayNumber(today));
}

Streak CountStreak(std::vector<StreakDay> days, const CivilDate& unfinished)
{
    std::sort(days.begin(), days.end(), [](const StreakDay& a, const StreakDay& b) { return a.date < b.date; });
    Streak streak;
    for (const StreakDay& day : days) {
        if (!IsSettled(day, unfinished))
            continue;
        streak.current = day.kept ? streak.current + 1 : 0;
        streak.best = std::max(streak.best, streak.current);
    }
    return streak;
}

Streak LimitStreak(const std::vector<DayRecord>& days, int limitMinutes, const CivilDate& today)
{
    std::vector<StreakDay> kept;
    for (const DayRecord& day : LargestOfEachDay(days))
        kept.push_back({day.date, day.activeSeconds <= limitMinutes * kSecondsPerMinute});
    return CountStreak(std::move(kept), today);
}

bool StoppedBefore(const UseDay& night, std::int32_t time)
{
    return night.last < time;
}

Streak NightStreak(const std::vector<UseDay>& nights, std::int32_t time, const CivilDate& tonight)
{
    std::vector<StreakDay> kept;
    kept.reserve(nights.size());
    for (const UseDay& night : nights)
        kept.push_back({night.date, StoppedBefore(night, time)});
    return CountStreak(std::move(kept), tonight);
}

NightsTold TellNights(const std::vector<UseDay>& nights, std::int32_t time, const CivilDate& tonight)
{
    const CivilDate first = ToCivil(DayNumber(tonight) - std::chrono::days{kViewNights - 1});
    NightsTold told;
    for (auto night = nights.rbegin(); night != nights.rend() && told.nights < kToldNights; ++night) {
        if (night->date > tonight)
            continue;
        if (night->date < first)
            break;
        const StreakDay day{night->date, StoppedBefore(*night, time)};
        if (!IsSettled(day, tonight))
            continue;
        ++told.nights;
        told.before += day.kept ? 1 : 0;
    }
    return told;
}

std::int32_t EveningSecond(int minutesAfterMidnight)
{
    const int minutes = (minutesAfterMidnight % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay;
    return UseMomentAt({}, {minutes / kMinutesPerHour, minutes % kMinutesPerHour, 0}).second;
}
