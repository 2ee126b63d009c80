#include "activity/active_time_store.h"

#include "activity/activity_monitor.h"
#include "activity/counter_state.h"
#include "activity/time_files.h"

#include <algorithm>

bool g_bHistoryLoaded = false;

namespace {

constexpr std::int64_t kMsPerSecond = 1000;

std::optional<CivilDate> CountedDate()
{
    return LocalDate(g_timeCountedDay);
}

// A history that exists but could not be read at the last load is read again before it is
// replaced, so a save never drops the days it holds; days known only in memory are kept.
bool HistoryReadyToReplace(TimeFilesHost& host)
{
    if (g_bHistoryLoaded || !host.Exists(kHistoryFile))
        return true;
    const std::optional<std::string> text = host.ReadText(kHistoryFile);
    if (!text)
        return false;
    std::vector<DayRecord> days = ParseHistory(*text);
    for (const DayRecord& day : g_dayHistory)
        MergeDay(days, day);
    g_dayHistory = std::move(days);
    g_bHistoryLoaded = true;
    return true;
}

} // namespace

int SaveActiveTimeLog(TimeFilesHost& host)
{
    const std::optional<CivilDate> countedDate = CountedDate();
    if (!g_bCountKnown && host.Exists(kActiveTimeLogFile)) {
        // Not counted yet in this run: a log of the counted day (or one that can't be read) stays as it is.
        const std::optional<std::string> text = host.ReadText(kActiveTimeLogFile);
        if (!text || (countedDate && LogHoldsDay(*text, *countedDate)))
            return 1;
    }
    if (!host.Replace(kActiveTimeLogFile, FormatActiveTimeLog(countedDate, g_nActiveTimeMs))) {
        host.ReportCannotOpen(kActiveTimeLogFile);
        return 0;
    }
    return 1;
}

int LoadActiveTimeLog(TimeFilesHost& host)
{
    g_nRestoredTimeMs = 0;
    const std::optional<std::string> text = host.ReadText(kActiveTimeLogFile);
    if (!text) {
        host.ReportCannotOpen(kActiveTimeLogFile);
        return 0;
    }
    if (const std::optional<CivilDate> countedDate = CountedDate())
        g_nRestoredTimeMs = RestoredTimeFromLog(*text, *countedDate);
    return 1;
}

int SaveHistory(TimeFilesHost& host)
{
    if (!HistoryReadyToReplace(host) ||
        !host.Replace(kHistoryFile, FormatHistory(g_dayHistory, {CountedDate(), g_nActiveTimeMs, g_bCountKnown}))) {
        host.ReportCannotOpen(kHistoryFile);
        return 0;
    }
    return 1;
}

int LoadHistory(TimeFilesHost& host)
{
    g_dayHistory.clear();
    const std::optional<std::string> text = host.ReadText(kHistoryFile);
    if (!text) {
        g_bHistoryLoaded = !host.Exists(kHistoryFile);
        host.ReportCannotOpen(kHistoryFile);
        return 0;
    }
    g_dayHistory = ParseHistory(*text);
    g_bHistoryLoaded = true;
    return 1;
}

void StartCounting(TimeFilesHost& host, std::uint32_t nowTick)
{
    LoadActiveTimeLog(host);
    std::int32_t restoredMs = g_nRestoredTimeMs;
    if (const std::optional<CivilDate> countedDate = CountedDate())
        restoredMs = std::max(restoredMs, RestoredTimeFromHistory(g_dayHistory, *countedDate));
    // Active time only grows within a day, so the larger figure is always the right one.
    if (g_bCountKnown)
        restoredMs = std::max(restoredMs, g_nActiveTimeMs);
    RestartCount(nowTick, restoredMs);
    g_bCountKnown = true;
}

bool IsDayChange(std::int64_t countedDay, std::int64_t now)
{
    return LocalDate(countedDay) != LocalDate(now);
}

bool RollOverIfNewDay(TimeFilesHost& host, std::int64_t now, std::uint32_t nowTick)
{
    if (!IsDayChange(g_timeCountedDay, now))
        return false;
    host.SaveSettings();
    // The finished day goes into the list first, so a failed save can't lose it: the next save that succeeds writes it.
    if (const std::optional<CivilDate> finished = CountedDate(); finished && g_nActiveTimeMs >= 0)
        MergeDay(g_dayHistory, {*finished, g_nActiveTimeMs / kMsPerSecond});
    if (SaveHistory(host))
        LoadHistory(host);
    g_timeCountedDay = now;
    std::int32_t restoredMs = 0;
    // A date that already has a line (the clock set back across midnight) continues from it.
    if (const std::optional<CivilDate> newDate = CountedDate())
        restoredMs = RestoredTimeFromHistory(g_dayHistory, *newDate);
    RestartCount(nowTick, restoredMs);
    return true;
}

ActiveTime ActivityTick(TimeFilesHost& host, std::int64_t now, std::uint32_t nowTick,
                        std::optional<std::uint32_t> lastInputTick)
{
    RollOverIfNewDay(host, now, nowTick);
    return CountActivity(nowTick, lastInputTick);
}
