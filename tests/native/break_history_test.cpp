#include "history/break_history.h"

#include "activity/active_time_store.h"
#include "activity/counter_state.h"
#include "activity/time_files.h"

#include "in_berlin.h"
#include "memory_time_files_host.h"

#include <gtest/gtest.h>

namespace {

constexpr char kDay9[] = "2026-12-09 = breaks 4, postponed 1, eyes 10/14";

TEST(BreakHistoryFile, ReadsEachWellFormedLineAndSkipsTheRestWhole)
{
    const struct {
        const char* what;
        std::string text;
        std::vector<BreakDay> days;
    } cases[] = {
        {"as written", std::string("BREAKS\r\n") + kDay9 + "\r\n", {{{2026, 12, 9}, {4, 1, 10, 14}}}},
        {"no header, LF, blanks around", std::string("  ") + kDay9 + "  \n2026-1-2 = breaks 0, postponed 0, eyes 0/0",
         {{{2026, 12, 9}, {4, 1, 10, 14}}, {{2026, 1, 2}, {}}}},
        {"cut short, the next line whole", std::string("2026-12-08 = breaks 3, postp\r\n") + kDay9,
         {{{2026, 12, 9}, {4, 1, 10, 14}}}},
        {"more eyes taken than offered", "2026-12-08 = breaks 1, postponed 0, eyes 3/2", {}},
        {"a day that isn't", "2026-2-30 = breaks 1, postponed 0, eyes 0/0", {}},
        {"before 1980", "1979-12-31 = breaks 1, postponed 0, eyes 0/0", {}},
        {"negative", "2026-12-08 = breaks -1, postponed 0, eyes 0/0", {}},
        {"past 32 bits", "2026-12-08 = breaks 2147483648, postponed 0, eyes 0/0", {}},
        {"the active time's line", "2026-12-08 = 5:12:00", {}},
        {"something after", std::string(kDay9) + " x", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseBreakHistory(c.text), c.days) << c.what;
}

TEST(BreakHistoryFile, WritesTheDaysInDateOrderOnceEach)
{
    const std::string text = FormatBreakHistory({{{2026, 12, 9}, {4, 1, 10, 14}},
                                                 {{2026, 1, 2}, {1, 0, 0, 3}},
                                                 {{2026, 12, 9}, {5, 0, 11, 12}}});
    EXPECT_EQ(text, "BREAKS\r\n2026-01-02 = breaks 1, postponed 0, eyes 0/3\r\n"
                    "2026-12-09 = breaks 5, postponed 1, eyes 11/14\r\n");
    EXPECT_EQ(FormatBreakHistory(ParseBreakHistory(text)), text);
}

TEST(BreakHistoryFile, TheStatisticsLineAveragesEveryRecordedDay)
{
    const std::vector<BreakDay> days = {{{2026, 12, 7}, {2, 0, 0, 0}}, {{2026, 12, 8}, {4, 0, 1, 1}},
                                        {{2026, 12, 9}, {4, 1, 10, 14}}};
    EXPECT_EQ(BreakStatisticsLine(days, CivilDate{2026, 12, 9}),
              "Breaks today: 4 (eyes 10 of 14) \xC2\xB7 average 3.3 a day over the days recorded");
    EXPECT_EQ(BreakStatisticsLine(days, CivilDate{2026, 12, 10}),
              "Breaks today: 0 (eyes 0 of 0) \xC2\xB7 average 2.5 a day over the days recorded");
    EXPECT_EQ(BreakStatisticsLine({}, std::nullopt),
              "Breaks today: 0 (eyes 0 of 0) \xC2\xB7 average 0.0 a day over the days recorded");
}

// The program's days as the break record and the active time see them: the record follows the
// active time's counted day, changed by its rollover.
class BreakHistoryStory : public InBerlin, public MemoryTimeFilesHost {
protected:
    void SetUp() override
    {
        InBerlin::SetUp();
        ResetActiveTimeCounters(true);
    }

    void StartProgram(std::int64_t at)
    {
        g_timeCountedDay = at;
        record = CBreakHistory();
        record.Load(*this);
    }
    // The activity tick at a time: the active time rolls over first, the record follows and saves.
    void TickAt(std::int64_t time)
    {
        ActivityTick(*this, time, static_cast<std::uint32_t>(time * 1000), static_cast<std::uint32_t>(time * 1000));
        if (record.FollowCountedDay())
            record.Save(*this);
    }
    std::string Line(const CivilDate& date)
    {
        const auto counts = BreakCountsOf(ParseBreakHistory(files[kBreakHistoryFile]), date);
        if (!counts)
            return "none";
        return std::to_string(counts->breaks) + " " + std::to_string(counts->postponed) + " " +
               std::to_string(counts->eyesTaken) + "/" + std::to_string(counts->eyesOffered);
    }

    // Counts for the counted day, as the rules do for all but an eye break taken after midnight.
    void Count(BreakEvent event) { record.Count(event, *LocalDate(g_timeCountedDay)); }

    CBreakHistory record;
};

TEST_F(BreakHistoryStory, CountsEachKindSurvivesARestartAndChangesDayWithTheActiveTime)
{
    StartProgram(LocalTime(2026, 12, 9, 23, 50));
    EXPECT_EQ(files[kBreakHistoryFile], "BREAKS\r\n2026-12-09 = breaks 0, postponed 0, eyes 0/0\r\n")
        << "a missing file is created";
    EXPECT_TRUE(reports.empty());
    for (BreakEvent event : {BreakEvent::BreakTaken, BreakEvent::Postponed, BreakEvent::EyeBreakOffered,
                             BreakEvent::EyeBreakTaken, BreakEvent::EyeBreakTaken, BreakEvent::EyeBreakOffered})
        Count(event);
    record.Save(*this);
    EXPECT_EQ(Line({2026, 12, 9}), "1 1 1/2") << "never more eyes taken than offered";

    StartProgram(LocalTime(2026, 12, 9, 23, 55));
    Count(BreakEvent::BreakTaken);
    TickAt(LocalTime(2026, 12, 9, 23, 59, 59));
    EXPECT_EQ(Line({2026, 12, 9}), "1 1 1/2") << "saved only at the change of date or a save of its own";
    TickAt(LocalTime(2026, 12, 10, 0, 0, 0));
    EXPECT_EQ(Line({2026, 12, 9}), "2 1 1/2") << "restarted on the same day, went on from its line";
    EXPECT_EQ(Line({2026, 12, 10}), "0 0 0/0");
    Count(BreakEvent::BreakTaken);

    // The clock set back across midnight: the earlier day goes on from its line.
    TickAt(LocalTime(2026, 12, 9, 23, 58));
    Count(BreakEvent::BreakTaken);
    TickAt(LocalTime(2027, 1, 15, 9));
    EXPECT_EQ(Line({2026, 12, 9}), "3 1 1/2");
    EXPECT_EQ(Line({2026, 12, 10}), "1 0 0/0");
    EXPECT_EQ(Line({2027, 1, 15}), "0 0 0/0") << "a month jump";
}

TEST_F(BreakHistoryStory, BothDaylightSavingNightsChangeDayAtMidnightOnly)
{
    for (const CivilDate day : {CivilDate{2026, 3, 28}, CivilDate{2026, 10, 24}}) {
        files.clear();
        StartProgram(LocalTime(day.year, day.month, day.day, 23));
        Count(BreakEvent::BreakTaken);
        // The clocks change at 02:00 or 03:00 of the next day: one change of date only, at midnight.
        for (std::int64_t time = LocalTime(day.year, day.month, day.day, 23, 59, 58);
             time < LocalTime(day.year, day.month, day.day + 1, 4); time += 1)
            TickAt(time);
        Count(BreakEvent::BreakTaken);
        record.Save(*this);
        EXPECT_EQ(Line(day), "1 0 0/0") << day.month;
        EXPECT_EQ(Line({day.year, day.month, day.day + 1}), "1 0 0/0") << day.month;
    }
}

TEST_F(BreakHistoryStory, DamagedOrUnreadableFilesLoseNoDay)
{
    files[kBreakHistoryFile] = std::string("BREAKS\r\n2026-12-07 = breaks 2, postponed 0, eyes 0/0\r\ngarbage ") +
                               "\x01\x02 = breaks\r\n2026-12-08 = breaks 1, postponed 0, eyes 0/0\r\n" +
                               "2026-12-09 = breaks 3, postponed 1, eyes 2/2\r\n";
    unreadable.insert(kBreakHistoryFile);
    StartProgram(LocalTime(2026, 12, 8, 23, 59));
    EXPECT_EQ(reports, std::vector<std::string>{"could not open breakhistory.txt"});
    Count(BreakEvent::BreakTaken);
    TickAt(LocalTime(2026, 12, 9, 12));
    Count(BreakEvent::BreakTaken);
    Count(BreakEvent::EyeBreakOffered);
    EXPECT_EQ(record.Save(*this), 0) << "an unreadable file is not replaced";
    unreadable.clear();
    EXPECT_EQ(record.Save(*this), 1);
    EXPECT_EQ(files[kBreakHistoryFile], "BREAKS\r\n2026-12-07 = breaks 2, postponed 0, eyes 0/0\r\n"
                                        "2026-12-08 = breaks 2, postponed 0, eyes 0/0\r\n"
                                        "2026-12-09 = breaks 4, postponed 1, eyes 2/3\r\n")
        << "what the run counted meanwhile comes on top of the file's counts, on each day";
    Count(BreakEvent::BreakTaken);
    record.Save(*this);
    EXPECT_EQ(Line({2026, 12, 9}), "5 1 2/3") << "added once only";

    // Unreadable at start and deleted since: nothing is lost by writing a new one.
    files[kBreakHistoryFile] = "BREAKS\r\n";
    unreadable.insert(kBreakHistoryFile);
    reports.clear();
    StartProgram(LocalTime(2026, 12, 10, 9));
    Count(BreakEvent::BreakTaken);
    files.erase(kBreakHistoryFile);
    unreadable.clear();
    EXPECT_EQ(record.Save(*this), 1);
    EXPECT_EQ(Line({2026, 12, 10}), "1 0 0/0");
    EXPECT_EQ(reports, std::vector<std::string>{"could not open breakhistory.txt"}) << "told once, at start";
    reports.clear();
    unwritable.insert(kBreakHistoryFile);
    reports.clear();
    EXPECT_EQ(record.Save(*this), 0);
    EXPECT_EQ(reports, std::vector<std::string>{"could not open breakhistory.txt"}) << "one box per failure";
}

TEST_F(BreakHistoryStory, AnEyeBreakTakenAfterMidnightCountsForTheDayItWasOffered)
{
    StartProgram(LocalTime(2026, 12, 9, 23, 59, 50));
    Count(BreakEvent::EyeBreakOffered);
    TickAt(LocalTime(2026, 12, 10, 0, 0, 5));
    record.Count(BreakEvent::EyeBreakTaken, {2026, 12, 9});
    record.Count(BreakEvent::EyeBreakTaken, {2026, 12, 9});
    record.Save(*this);
    EXPECT_EQ(Line({2026, 12, 9}), "0 0 1/1") << "never more taken than offered, on any day";
    EXPECT_EQ(Line({2026, 12, 10}), "0 0 0/0");
}

} // namespace
