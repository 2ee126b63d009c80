#include "activity/active_time_store.h"
#include "activity/activity_monitor.h"
#include "activity/counter_state.h"
#include "activity/time_files.h"

#include "in_berlin.h"
#include "memory_time_files_host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// One run of the program with its two time files, a clock, a tick count and a user, stepped
// second by second the way the activity tick sees them.
class TimeFilesStory : public InBerlin, public MemoryTimeFilesHost {
protected:
    void SetUp() override
    {
        InBerlin::SetUp();
        ResetActiveTimeCounters(false);
    }

    void StartProgram(std::int64_t at)
    {
        now = at;
        LoadHistory(*this);
        g_timeCountedDay = now;
    }
    void Start() { StartCounting(*this, tick); }
    void Stop() { SaveActiveTimeLog(*this); }
    void Quit()
    {
        SaveActiveTimeLog(*this);
        SaveHistory(*this);
    }
    // Supervision running: one activity tick a second.
    void Run(int seconds, bool typing = true)
    {
        for (int second = 0; second < seconds; ++second) {
            ++now;
            tick += 1000;
            if (typing)
                lastInput = tick;
            ActivityTick(*this, now, tick, lastInput);
        }
    }
    // Time passing while supervision is stopped.
    void Wait(std::int64_t seconds)
    {
        now += seconds;
        tick += static_cast<std::uint32_t>(seconds * 1000);
    }

    std::int64_t now = 0;
    std::uint32_t tick = 7000000;
    std::uint32_t lastInput = 7000000;
};

TEST_F(TimeFilesStory, RunningAcrossMidnightRollsTheDayIntoTheHistory)
{
    files[kHistoryFile] = "HISTORY\r\n2026-12-7 = 8:0:0\r\n";
    files[kActiveTimeLogFile] = "ACTIVE_TIME_TODAY 2026-12-8 = 2:0:0\r\n";
    StartProgram(LocalTime(2026, 12, 8, 23, 0));
    Start();
    Run(3600 + 10);
    EXPECT_STREQ(FormatActiveTimeTexts(SplitForDisplay(g_nActiveTimeMs)).time, "00:00:10");
    EXPECT_EQ(settingsSaves, 1);
    // The tick that finds the new date starts its count, so the midnight second belongs to neither day.
    EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2026-12-7 = 8:0:0\r\n2026-12-8 = 2:59:59\r\n");
    Quit();
    EXPECT_EQ(files[kActiveTimeLogFile], "ACTIVE_TIME_TODAY 2026-12-9 = 0:0:10\r\n");
    EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2026-12-7 = 8:0:0\r\n2026-12-8 = 2:59:59\r\n2026-12-9 = 0:0:10\r\n");
    EXPECT_TRUE(reports.empty());
}

TEST_F(TimeFilesStory, StoppedBeforeMidnightOrForAMonthTheOldDayKeepsItsCount)
{
    for (const std::int64_t stoppedFor : {10 * 3600, 31 * 24 * 3600}) {
        SetUp();
        files.clear();
        files[kHistoryFile] = "HISTORY\r\n";
        StartProgram(LocalTime(2026, 12, 8, 20, 0));
        Start();
        Run(3600);
        Stop();
        Wait(stoppedFor);
        Start();
        EXPECT_EQ(g_nActiveTimeMs, 3600000) << "the old day's count comes back at Start";
        Run(5);
        EXPECT_EQ(g_nActiveTimeMs, 4000) << stoppedFor;
        Quit();
        const std::string newDay = stoppedFor < 24 * 3600 ? "2026-12-9" : "2027-1-8";
        EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2026-12-8 = 1:0:0\r\n" + newDay + " = 0:0:4\r\n");
    }
}

TEST_F(TimeFilesStory, AClockSetBackToADayInTheHistoryContinuesThatDay)
{
    files[kHistoryFile] = "HISTORY\r\n2026-12-8 = 8:0:0\r\n";
    StartProgram(LocalTime(2026, 12, 9, 0, 10));
    Start();
    Run(1800);
    now = LocalTime(2026, 12, 8, 23, 50);
    Run(60);
    EXPECT_EQ(g_nActiveTimeMs, 8 * 3600000 + 59000);
    Quit();
    EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2026-12-8 = 8:0:59\r\n2026-12-9 = 0:30:0\r\n");
}

TEST_F(TimeFilesStory, TheDaysTheClocksChangeKeepTheirRealTime)
{
    // The night of the spring change has an hour less; the time from 2:00 to 3:00 is stored as it is.
    files[kHistoryFile] = "HISTORY\r\n2027-3-27 = 2:30:0\r\n";
    StartProgram(LocalTime(2027, 3, 28, 1, 0));
    Start();
    Run(2 * 3600 + 1800);
    EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2027-3-27 = 2:30:0\r\n") << "no change of date yet";
    Quit();
    EXPECT_EQ(files[kActiveTimeLogFile], "ACTIVE_TIME_TODAY 2027-3-28 = 2:30:0\r\n");
    EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2027-3-27 = 2:30:0\r\n2027-3-28 = 2:30:0\r\n");

    // The autumn night has 25 hours, and a day counted whole is restored whole.
    SetUp();
    files.clear();
    files[kHistoryFile] = "HISTORY\r\n";
    StartProgram(LocalTime(2026, 10, 25, 0, 0));
    Start();
    Run(25 * 3600 - 5);
    EXPECT_STREQ(FormatActiveTimeTexts(SplitForDisplay(g_nActiveTimeMs)).time, "24:59:55");
    Stop();
    Start();
    EXPECT_EQ(g_nActiveTimeMs, (25 * 3600 - 5) * 1000);
    Run(10);
    EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2026-10-25 = 24:59:59\r\n");
}

TEST_F(TimeFilesStory, AFailedSaveAtTheChangeOfDayLosesNothing)
{
    files[kHistoryFile] = "HISTORY\r\n2026-12-7 = 8:0:0\r\n";
    StartProgram(LocalTime(2026, 12, 8, 23, 0));
    Start();
    unwritable.insert(kHistoryFile);
    Run(3600 + 10);
    EXPECT_EQ(reports.back(), "could not open timehistory.txt");
    unwritable.clear();
    Quit();
    EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2026-12-7 = 8:0:0\r\n2026-12-8 = 0:59:59\r\n2026-12-9 = 0:0:10\r\n");
}

TEST_F(TimeFilesStory, AHistoryThatCantBeReadIsNeverReplacedByLess)
{
    files[kHistoryFile] = "HISTORY\r\n2026-12-7 = 8:0:0\r\n";
    unreadable.insert(kHistoryFile);
    StartProgram(LocalTime(2026, 12, 8, 10, 0));
    Start();
    Run(60);
    Quit();
    EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2026-12-7 = 8:0:0\r\n");
    EXPECT_EQ(reports.back(), "could not open timehistory.txt");
    // Once it can be read again, the save keeps its days and adds today's.
    unreadable.clear();
    Quit();
    EXPECT_EQ(files[kHistoryFile], "HISTORY\r\n2026-12-7 = 8:0:0\r\n2026-12-8 = 0:1:0\r\n");
}

TEST_F(TimeFilesStory, BeforeAStartTheSavesKeepTodaysStoredTime)
{
    const std::string log = "ACTIVE_TIME_TODAY 2026-12-8 = 3:0:0\r\n";
    const std::string history = "HISTORY\r\n2026-12-8 = 3:0:0\r\n";
    files[kActiveTimeLogFile] = log;
    files[kHistoryFile] = history;
    StartProgram(LocalTime(2026, 12, 8, 10, 0));
    Quit(); // as Quit, Escape or the end of the session do with supervision never started
    EXPECT_EQ(files[kActiveTimeLogFile], log);
    EXPECT_EQ(files[kHistoryFile], history);

    // A save right after Start writes the restored count, not the 0 of a fresh run.
    Start();
    Quit();
    EXPECT_EQ(files[kActiveTimeLogFile], log);
    EXPECT_EQ(files[kHistoryFile], history);
}

TEST_F(TimeFilesStory, StartRestoresTheLargestKnownCountOfTheDay)
{
    files[kHistoryFile] = "HISTORY\r\n2026-12-8 = 5:0:0\r\n";
    files[kActiveTimeLogFile] = "ACTIVE_TIME_TODAY 2026-12-8 = 4:0:0\r\n";
    StartProgram(LocalTime(2026, 12, 8, 10, 0));
    Start();
    EXPECT_EQ(g_nActiveTimeMs, 5 * 3600000) << "the history line is larger";
    Run(60);
    Stop();
    // A log held by another program at the next Start: reported, and the count goes on.
    unreadable.insert(kActiveTimeLogFile);
    Start();
    EXPECT_EQ(reports, std::vector<std::string>{"could not open activetimelog.txt"});
    EXPECT_EQ(g_nActiveTimeMs, 5 * 3600000 + 60000);
    // A damaged log of hundreds of hours restores nothing from it.
    unreadable.clear();
    files[kActiveTimeLogFile] = "ACTIVE_TIME_TODAY 2026-12-8 = 900:0:0\r\n";
    g_bCountKnown = false;
    Start();
    EXPECT_EQ(g_nActiveTimeMs, 5 * 3600000);
}

} // namespace
