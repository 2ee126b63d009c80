#pragma once
// When each day's computer use began and ended, kept in usehistory.txt beside the time files: a
// first line "USE", then one line per day in date order, "2026-12-09 = first 08:12:40, last 00:41:05".
// A day's use runs from 05:00 until 05:00 the next morning, so a use after midnight belongs to the
// evening before, and a last use before 05:00 is after midnight. A use is a second counted as active.

#include "activity/active_time_store.h"
#include "activity/calendar.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr char kUseHistoryFile[] = "usehistory.txt";
// The hour of the morning at which the evening before ends and a new day's use begins.
constexpr int kUseDayBeginsHour = 5;
constexpr std::int32_t kUseDaySeconds = 24 * 3600;

// A moment of use as the record sees it: the day it belongs to, and the seconds the clock showed
// after that day's 05:00 (0 to 86 399), which order the evening whatever the clock did at night.
struct UseMoment {
    CivilDate day;
    std::int32_t second = 0;
    bool operator==(const UseMoment&) const = default;
};

// The moment of a clock reading: before 05:00 it belongs to the evening of the day before.
UseMoment UseMomentAt(const CivilDate& date, const TimeOfDay& time);
// The same for a timestamp by the local clock, or nothing when the system can't convert it.
std::optional<UseMoment> UseMomentOf(std::int64_t time);
// The clock's time of day of the seconds after 05:00.
TimeOfDay UseClockTime(std::int32_t second);

// One day's first use from 05:00 on and the last use of its evening, as seconds after its 05:00.
struct UseDay {
    CivilDate date;
    std::int32_t first = 0;
    std::int32_t last = 0;
    bool operator==(const UseDay&) const = default;
};

// Every well-formed line of a real date from 1980 on whose first use is not after its last, in
// file order; a damaged or foreign line is skipped whole, and the header is optional.
std::vector<UseDay> ParseUseHistory(std::string_view text);

// The days in date order, once each: a date found twice keeps its earliest first use and its
// latest last use, as every use of the day would.
std::vector<UseDay> InDateOrder(std::vector<UseDay> days);

// The whole file: the header, then the days in date order, once each.
std::string FormatUseHistory(const std::vector<UseDay>& days);

// Puts a use into days kept in date order: the day's first and last widen to it.
void AddUse(std::vector<UseDay>& days, const UseMoment& use);

// The day of a date among days in date order, or nothing when it has no line.
std::optional<UseDay> UseDayOf(const std::vector<UseDay>& days, const CivilDate& date);

// The first and last uses of the recorded days, as the main window keeps them while the program runs.
class CUseHistory {
public:
    // Reads the file at start-up. A missing file is no failure (the next save creates it); an
    // unreadable one is told, and no save replaces it until it reads again, when this run's uses
    // join the file's days, or until it has gone.
    int Load(TimeFilesHost& host);
    // Writes every day; 0 after the message when it can't be written.
    int Save(TimeFilesHost& host);
    // A second counted as active at this time.
    void Use(std::int64_t time);

    const std::vector<UseDay>& Days() const { return m_days; }

private:
    // In date order: read from the file, with this run's uses in them.
    std::vector<UseDay> m_days;
    // The file matches the days in memory, or there is none: a save may replace it.
    bool m_bLoaded = false;
};
