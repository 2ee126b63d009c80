#pragma once
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A time of the local clock.
struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const TimeOfDay&) const = default;
};

// A day of the local calendar, as the time files write it.
struct CivilDate {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    auto operator<=>(const CivilDate&) const = default;
};

// The local date of a timestamp (seconds since 1970-01-01 UTC), or nothing when the system can't convert it.
std::optional<CivilDate> LocalDate(std::int64_t time);

// The local time of day of a timestamp, or nothing when the system can't convert it.
std::optional<TimeOfDay> LocalTimeOfDay(std::int64_t time);

// The local time of a date, moved by a number of days, at an hour; the day may run past the
// month's end. Nothing when the system can't convert it.
std::optional<std::int64_t> LocalTimeAt(const CivilDate& date, int dayOffset, int hour);

// Whether the numbers name a real day of the Gregorian calendar.
bool IsValidDate(const CivilDate& date);

// How long the local day lasts in milliseconds: 24 hours, or 23 or 25 on the days the clocks change.
std::int64_t LocalDayLengthMs(const CivilDate& date);

// The moment (seconds since 1970-01-01 UTC) at which the local clock shows a date and time of day:
// the later one where the clock shows it twice as it goes back, and where it skips the time, the
// moment it would have shown it without the change (an hour on, as the clock then reads). Nothing
// when the system can't convert it.
std::optional<std::int64_t> LocalMoment(const CivilDate& date, const TimeOfDay& time);

// A clock time as every text of the program shows it, "09:05": two digits each, 24 hours.
std::string FormatClockTime(int minuteOfDay);
// "H:MM" or "HH:MM" of a real clock time, into minutes after midnight; nothing for anything else.
std::optional<int> ParseClockTime(std::string_view text);
