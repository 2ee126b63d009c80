#pragma once
// Today's log and the history kept on disk for the counter: the saves and loads of
// activetimelog.txt and timehistory.txt, the restore at Start and the change of day.
// The files themselves and the user's messages come through a host.

#include "activity/activity_monitor.h"

#include <cstdint>
#include <optional>
#include <string>

constexpr char kActiveTimeLogFile[] = "activetimelog.txt";
constexpr char kHistoryFile[] = "timehistory.txt";

class TimeFilesHost {
public:
    virtual ~TimeFilesHost() = default;
    // The file's text as UTF-8, or nothing when it can't be read.
    virtual std::optional<std::string> ReadText(const std::string& name) = 0;
    // Whether the file exists, readable or not.
    virtual bool Exists(const std::string& name) = 0;
    // Replaces the file whole, atomically; false when it can't be written.
    virtual bool Replace(const std::string& name, const std::string& bytes) = 0;
    // Tells the user that the file could not be opened.
    virtual void ReportCannotOpen(const std::string& name) = 0;
    // Writes settings.txt, as every change of day does first.
    virtual void SaveSettings() = 0;
};

// The history in memory matches the file (or there is no file): a save may replace it.
// False after a load that found the file but could not read it.
extern bool g_bHistoryLoaded;

// Writes today's log; 1 on success, 0 (after the message) when it can't be written.
int SaveActiveTimeLog(TimeFilesHost& host);
// Reads today's log into g_nRestoredTimeMs; 0 (after the message, with 0 restored) when it can't be read.
int LoadActiveTimeLog(TimeFilesHost& host);
// Writes the history with the counted day's live count; 1 on success, 0 after the message.
int SaveHistory(TimeFilesHost& host);
// Reads the history into g_dayHistory; 0 (after the message, with the list empty) when it can't be read.
int LoadHistory(TimeFilesHost& host);

// Start of supervision: restores the larger of today's log, today's history line and a count
// this run already had for the day, and makes it the count at once.
void StartCounting(TimeFilesHost& host, std::uint32_t nowTick);

// Whether the local date of now differs from the counted day's (year, month or day).
bool IsDayChange(std::int64_t countedDay, std::int64_t now);

// At the first tick of a new date: saves the settings and the finished day into the history
// (kept in memory if that fails) and counts the new date from its history line, or from 0.
// Returns whether the date had changed.
bool RollOverIfNewDay(TimeFilesHost& host, std::int64_t now, std::uint32_t nowTick);

// One activity tick: the change of day first, so that the tick that finds a new date begins its
// count, then the count of this second.
ActiveTime ActivityTick(TimeFilesHost& host, std::int64_t now, std::uint32_t nowTick,
                        std::optional<std::uint32_t> lastInputTick);
