#pragma once
// The breaks of each day, kept in breakhistory.txt beside the active time's files: a first line
// "BREAKS", then one line per day in date order, "2026-12-09 = breaks 4, postponed 1, eyes 10/14".
// The counted day is the active time's (g_timeCountedDay), so both files change day together.

#include "activity/active_time_store.h"
#include "activity/calendar.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr char kBreakHistoryFile[] = "breakhistory.txt";

// What happened to the user's breaks: a break taken (a forced break that ran its countdown, or a
// natural break of five minutes), a forced break postponed, an eye break offered and one taken.
enum class BreakEvent { BreakTaken, Postponed, EyeBreakOffered, EyeBreakTaken };

struct BreakCounts {
    std::int32_t breaks = 0;
    std::int32_t postponed = 0;
    std::int32_t eyesTaken = 0;
    std::int32_t eyesOffered = 0;
    bool operator==(const BreakCounts&) const = default;
};

struct BreakDay {
    CivilDate date;
    BreakCounts counts;
    bool operator==(const BreakDay&) const = default;
};

// Every well-formed line of a real date from 1980 on, in file order; a damaged or foreign line is
// skipped whole, and the header is optional.
std::vector<BreakDay> ParseBreakHistory(std::string_view text);

// The days in date order, once each: a date found twice keeps the larger of each count, since
// counts only grow within a day.
std::vector<BreakDay> InDateOrder(std::vector<BreakDay> days);

// The whole file: the header, then the days in date order, once each.
std::string FormatBreakHistory(const std::vector<BreakDay>& days);

// The line under the History dialog's figures: "Breaks today: 4 (eyes 10 of 14) · average 3.2 a
// day over the days recorded", the average over every day with a line, today's included.
std::string BreakStatisticsLine(const std::vector<BreakDay>& days, const std::optional<CivilDate>& today);

// The counts of one date among the days, or nothing when it has no line.
std::optional<BreakCounts> BreakCountsOf(const std::vector<BreakDay>& days, const CivilDate& date);

// Today's breaks and the recorded days, as the main window keeps them while the program runs.
class CBreakHistory {
public:
    // Reads the file at start-up; today goes on from its line. A missing file is no failure (the
    // next save creates it); an unreadable one is told, and no save replaces it until it reads
    // again, when what this run counted is added to what the file holds, or until it has gone.
    int Load(TimeFilesHost& host);
    // Writes every day with today's counts; 0 after the message when it can't be written.
    int Save(TimeFilesHost& host);
    // Counts for a day: the counted day, or one before it (an eye break offered before midnight).
    void Count(BreakEvent event, const CivilDate& day);
    // Follows the active time's counted day; true when it changed, so the finished day is saved.
    bool FollowCountedDay();

    // The recorded days with today's counts in them.
    std::vector<BreakDay> Days();

private:
    // Read from the file, and the days this run finished; while the file can't be read, only the latter.
    std::vector<BreakDay> m_days;
    std::optional<CivilDate> m_countedDate;
    BreakCounts m_today;
    // The file matches the days in memory, or there is none: a save may replace it.
    bool m_bLoaded = false;
};
