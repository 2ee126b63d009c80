#pragma once
// The user's working hours: a week of seven days, each a working day or not, with one or two
// ranges of the local clock. Every rule reads the local wall clock, so a change of daylight saving
// time or a clock set back moves nothing: 09:00 is 09:00 whatever the clock did in the night.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr int kDaysInWeek = 7;
constexpr int kMinutesPerDay = 24 * 60;

// Days are numbered as the locale's first day of the week is (LOCALE_IFIRSTDAYOFWEEK): 0 Monday ... 6 Sunday.
constexpr int kMonday = 0;
constexpr int kSaturday = 5;
constexpr int kSunday = 6;

// A range of the clock in minutes after midnight, each 0 to 1439. A range that ends before it
// begins runs past midnight into the next day and belongs to the day it starts; one that ends
// where it begins lasts 24 hours.
struct WorkRange {
    int from = 9 * 60;
    int to = 17 * 60;
    bool operator==(const WorkRange&) const = default;
};

// A day off keeps its ranges, so that switching it on again shows them; the settings file writes
// a day off as "" and reads it back with the day's default range.
struct WorkDay {
    bool working = false;
    WorkRange first;
    std::optional<WorkRange> second;
    bool operator==(const WorkDay&) const = default;
};

using WorkWeek = std::array<WorkDay, kDaysInWeek>;

// Monday to Friday 09:00-17:00; Saturday and Sunday off.
WorkDay DefaultWorkDay(int weekday);
WorkWeek DefaultWorkWeek();

// The settings value of a day: "09:00-12:30 13:30-17:30", "09:00-17:00", or "" for a day off.
std::string FormatWorkDay(const WorkDay& day);
// Reads a settings value; anything not of that form reads as the weekday's default.
WorkDay ParseWorkDay(std::string_view text, int weekday);

// A day's name as the Working hours dialog shows it, "Monday".
std::string DayName(int weekday);
// The weekday of a row of the Working hours dialog, whose first row is the locale's first day of the week.
int WeekdayOfRow(int row, int firstDayOfWeek);

// Which controls of a day's row in the Working hours dialog take input.
struct WorkRowInput {
    bool firstRange = false;  // the day's range: on a working day
    bool secondBox = false;   // the second range's check box: on a working day
    bool secondRange = false; // the second range: on a working day while its box is checked
    bool operator==(const WorkRowInput&) const = default;
};
WorkRowInput InputOfRow(bool working, bool second);


// The weekday (0 Monday ... 6 Sunday) of a local time, seconds since 1970-01-01 UTC; nothing when
// the system can't convert it.
std::optional<int> LocalWeekday(std::int64_t time);

// Whether a local time (seconds since 1970-01-01 UTC) lies in working hours.
bool IsWorkingTime(const WorkWeek& week, std::int64_t time);

// Whether working hours began between two readings of the clock taken a second apart: now lies in
// them and the previous reading doesn't, whichever way the clock moved in between (a clock set back
// from 18:00 to 16:00 begins them again).
bool WorkingHoursBegan(const WorkWeek& week, std::int64_t previous, std::int64_t now);

// When the next working spell begins, by the local clock: a weekday and a minute of the day.
struct WorkingSpellStart {
    int weekday = kMonday;
    int minute = 0;
    bool operator==(const WorkingSpellStart&) const = default;
};

// The first start of a working spell after a local time; nothing when the week has no working
// hours, or none that ever end.
std::optional<WorkingSpellStart> NextWorkingSpellStart(const WorkWeek& week, std::int64_t time);

// The tray tooltip's line outside working hours: "Outside working hours until Mon 09:00", or
// "Outside working hours" when no spell ever begins.
std::string OutsideWorkingHoursText(const std::optional<WorkingSpellStart>& start);
