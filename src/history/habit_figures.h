#pragma once
// The History dialog's figures over weeks, months and nights: each week's and month's active time
// and breaks a day used, how many of the last nights ended before a time, and the runs of days
// within the daily limit and of nights before the bedtime.

#include "activity/time_files.h"
#include "activity/use_history.h"
#include "history/break_history.h"

#include <cstdint>
#include <vector>

// The weeks' and the months' views show this many, ending with the present one.
constexpr int kViewPeriods = 12;
// The nights' view shows this many evenings, tonight's last.
constexpr int kViewNights = 30;
// The nights' sentence tells of this many of the last nights.
constexpr int kToldNights = 7;
// Without a bedtime, the nights are told against midnight: 19 hours after the day's 05:00.
constexpr std::int32_t kMidnightSecond = kUseDaySeconds - kUseDayBeginsHour * 3600;

struct PeriodFigures {
    CivilDate first;                // the week's or the month's first day
    int daysUsed = 0;               // its days with active time
    std::int64_t activeSeconds = 0; // the active time of those days
    std::int64_t breaks = 0;        // the breaks of all its days
    bool operator==(const PeriodFigures&) const = default;
};

// The active seconds and the breaks a day used; 0 without a day used.
std::int64_t SecondsPerDayUsed(const PeriodFigures& period);
double BreaksPerDayUsed(const PeriodFigures& period);
// The periods as one, for the whole view.
PeriodFigures Together(const std::vector<PeriodFigures>& periods);

// The kViewPeriods weeks up to today's, oldest first, from the history's and the break record's
// days in any order (a day with several lines takes the largest); a week starts on the locale's
// first day, firstDayOfWeek 0 Monday ... 6 Sunday.
std::vector<PeriodFigures> WeekFigures(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                                       const CivilDate& today, int firstDayOfWeek);
// The same for the kViewPeriods calendar months up to today's.
std::vector<PeriodFigures> MonthFigures(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                                        const CivilDate& today);

struct Streak {
    int current = 0; // the run that ends with the latest day counted
    int best = 0;
    bool operator==(const Streak&) const = default;
};

// A recorded day (or night), and whether it kept to the rule.
struct StreakDay {
    CivilDate date;
    bool kept = false;
};

// The runs of kept days among the recorded ones, in any order: a day without a record neither ends
// nor lengthens a run. The unfinished day (today, or tonight) counts only once it has broken the
// rule: until its end it may still keep it.
Streak CountStreak(std::vector<StreakDay> days, const CivilDate& unfinished);

// Days with no more active time than the limit, over the history's days (the largest line of each).
Streak LimitStreak(const std::vector<DayRecord>& days, int limitMinutes, const CivilDate& today);

// Whether the night's last use came before a time, in seconds after 05:00.
bool StoppedBefore(const UseDay& night, std::int32_t time);

// Nights whose last use came before a time, over the use record's days in date order.
Streak NightStreak(const std::vector<UseDay>& nights, std::int32_t time, const CivilDate& tonight);

struct NightsTold {
    int before = 0; // nights that stopped before the time
    int nights = 0; // of so many, at most kToldNights
    bool operator==(const NightsTold&) const = default;
};

// The last kToldNights nights with a use among the kViewNights evenings up to tonight's, tonight
// only once it has gone past the time, and how many of them stopped before it.
NightsTold TellNights(const std::vector<UseDay>& nights, std::int32_t time, const CivilDate& tonight);

// The seconds after 05:00 at which a time of day, in minutes after midnight, comes in the evening.
std::int32_t EveningSecond(int minutesAfterMidnight);
