#pragma once
// What the History dialog shows, computed from the history's days.

#include "activity/time_files.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The most days the list shows: 27 years of daily use. An edit control lays out every line it
// holds, so the million lines of a damaged history kept the program busy for long minutes.
constexpr std::size_t kMostListedDays = 10000;

// The five texts of the History dialog.
struct HistoryFigures {
    std::string list;              // one line per day, in file order, each ended by CR LF; the last kMostListedDays
    std::string total;             // "N full days and HH:MM:SS"
    std::string averageActiveDays; // per recorded day
    std::string averageAllDays;    // per calendar day from the earliest date to the latest
    std::string bestDay;           // the day with the most active time; empty without a record
};

HistoryFigures ComputeHistoryFigures(const std::vector<DayRecord>& days);

// Days since 1970-01-01 by the calendar alone, so that no change of daylight saving time shifts a day.
std::chrono::sys_days DayNumber(const CivilDate& date);

// A duration as HH:MM:SS; hours are not reduced modulo 24 and take more digits when needed.
std::string FormatDuration(std::int64_t seconds);

// A month's short name as the History dialog's dates give it, "Dec", in the user's language.
std::string MonthName(int month);

// A day as the History dialog names it, "2006 Mar 04 (Sat)", in English whatever the locale.
std::string FormatHistoryDate(const CivilDate& date);
