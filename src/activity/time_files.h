#pragma once
// The two files that keep the user's days: activetimelog.txt holds the counted day's time,
// timehistory.txt one line per day. Readers never fail: text that doesn't form a record is skipped.

#include "activity/calendar.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A count in milliseconds as the files store it; hours are not reduced modulo 24.
struct MillisecondSplit {
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t remainder = 0; // milliseconds within the minute
    std::int32_t seconds = 0;
};
MillisecondSplit SplitMilliseconds(std::int32_t ms);

// The log's one record for the counted day (0-0-0 when its date is unknown); a negative count is written as 0:0:0.
std::string FormatActiveTimeLog(std::optional<CivilDate> countedDay, std::int32_t activeMs);

// What the log holds for the counted day, decided by its last complete record: that record's
// time when it is for this day, has no negative field and fits in the day; 0 otherwise and
// when there is no record.
std::int32_t RestoredTimeFromLog(std::string_view text, const CivilDate& countedDay);

// Whether the log's last complete record is for this day.
bool LogHoldsDay(std::string_view text, const CivilDate& day);

// One day of the history: its date and its active time, kept apart so that no clock change
// alters the time.
struct DayRecord {
    CivilDate date;
    std::int64_t activeSeconds = 0;
    bool operator==(const DayRecord&) const = default;
};

// The history's days in file order, as the last load found them.
extern std::vector<DayRecord> g_dayHistory;

// Every record of real date from 1980 on with no negative field, in file order; the header is optional.
std::vector<DayRecord> ParseHistory(std::string_view text);

// The counted day as a history save sees it.
struct CountedDay {
    std::optional<CivilDate> date; // unknown when the clock can't be converted
    std::int32_t activeMs = 0;
    // False while the count in memory is not yet the day's: an existing line for the day is then kept as it is.
    bool countKnown = true;
};

// The whole history file: the days in order, each line of the counted day carrying the live
// count, and the counted day appended when it has no line yet.
std::string FormatHistory(const std::vector<DayRecord>& days, const CountedDay& counted);

// The counted day's time as the history holds it (the largest of its lines), or 0; like a
// restore from the log, a time longer than the day restores nothing.
std::int32_t RestoredTimeFromHistory(const std::vector<DayRecord>& days, const CivilDate& day);

// Puts a day into the list: an entry of the same date keeps the larger time, otherwise it is appended.
void MergeDay(std::vector<DayRecord>& days, const DayRecord& day);
