#pragma once
// The data files of a test in memory, any of them made unreadable or unwritable, and the boxes the
// program asked for, with the counters of active time as a fresh start of the program finds them.

#include "activity/counter_state.h"
#include "activity/time_files.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class MemoryTimeFilesHost : public TimeFilesHost {
public:
    std::optional<std::string> ReadText(const std::string& name) override
    {
        if (unreadable.count(name) || !files.count(name))
            return std::nullopt;
        return files[name];
    }
    bool Exists(const std::string& name) override { return files.count(name) != 0; }
    bool Replace(const std::string& name, const std::string& bytes) override
    {
        if (unwritable.count(name))
            return false;
        files[name] = bytes;
        return true;
    }
    void ReportCannotOpen(const std::string& name) override { reports.push_back("could not open " + name); }
    void SaveSettings() override { ++settingsSaves; }

    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;
    std::set<std::string> unwritable;
    std::vector<std::string> reports;
    int settingsSaves = 0;
};

// The counters as the program starts them; the history counts as loaded or not yet read.
inline void ResetActiveTimeCounters(bool historyLoaded)
{
    g_nActiveTimeMs = g_nRestoredTimeMs = g_nIdleTimeMs = 0;
    g_dwStartTick = g_dwPreviousTick = 0;
    g_bCountKnown = false;
    g_bHistoryLoaded = historyLoaded;
    g_dayHistory.clear();
}
