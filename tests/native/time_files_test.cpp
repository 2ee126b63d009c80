#include "activity/time_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr CivilDate k5March2006{2006, 3, 5};

TEST(ActiveTimeLog, WritesTheRecordWithTheMillisecondSplit)
{
    EXPECT_EQ(FormatActiveTimeLog(k5March2006, (2 * 3600 + 7 * 60 + 45) * 1000),
              "ACTIVE_TIME_TODAY 2006-3-5 = 2:7:45\r\n");
    EXPECT_EQ(FormatActiveTimeLog(k5March2006, 3723999), "ACTIVE_TIME_TODAY 2006-3-5 = 1:2:3\r\n");
    EXPECT_EQ(FormatActiveTimeLog(k5March2006, 30 * 3600000), "ACTIVE_TIME_TODAY 2006-3-5 = 30:0:0\r\n");
    EXPECT_EQ(FormatActiveTimeLog(k5March2006, -1), "ACTIVE_TIME_TODAY 2006-3-5 = 0:0:0\r\n");
    EXPECT_EQ(FormatActiveTimeLog(std::nullopt, 1000), "ACTIVE_TIME_TODAY 0-0-0 = 0:0:1\r\n");
}

TEST(ActiveTimeLog, RestoresOnlyAWholeRecordOfTheCountedDay)
{
    const std::string longWord(5000, 'x');
    struct Case {
        std::string log;
        std::int32_t restoredMs;
    } cases[] = {
        {"ACTIVE_TIME_TODAY 2006-3-5 = 2:7:45\r\n", 7665000},
        {"ACTIVE_TIME_TODAY 2006-3-4 = 2:7:45\r\n", 0},                 // yesterday
        {"ACTIVE_TIME_TODAY 2006-3-5 = 0:90:0", 5400000},               // minutes above 59 count
        {"ACTIVE_TIME_TODAY2006-3-5=1:0:0\nACTIVE_TIME_TODAY\t2006 -3-5=1:0:0", 0}, // glued keyword; blank before '-'
        {"ACTIVE_TIME_TODAY 2006-3-5=\t1:0:0", 3600000},                // blanks of the pattern match any run
        {"ACTIVE_TIME_TODAY 2006-3-5 = 1:0:\r\nACTIVE_TIME_TODAY 2006-3-5 = 0:0:7\r\n", 7000}, // a record ends with its line
        {"ACTIVE_TIME_TODAY 2006-3-5 = 1:0:0 ACTIVE_TIME_TODAY 2006-3-6 = 1:0:0", 0}, // the later record decides
        {"ACTIVE_TIME_TODAY 2006-3-6 = 1:0:0 ACTIVE_TIME_TODAY 2006-3-5 = 1:0:0", 3600000},
        {"active_time_today 2006-3-5 = 1:0:0", 0},
        {"no record at all", 0},
        {"", 0},
        {"ACTIVE_TIME_TODAY 2006-3-5 = -1:0:0", 0},
        {"ACTIVE_TIME_TODAY 2006-3-5 = 300:0:0", 0},                    // more than a day holds
        {"ACTIVE_TIME_TODAY 2006-3-5 = 99999999999999:0:0", 0},         // can't be a number of hours
        {"ACTIVE_TIME_TODAY 2006-3-5 = 1:x:0 ACTIVE_TIME_TODAY 2006-3-5 = 0:0:9", 9000}, // damage, then a record
        {"ACTIVE_TIME_TODAY 2006-3-5 = 3:0:0 ACTIVE_TIME_TODAY 2006-3-5 = 1:", 10800000}, // cut off: no stale fields
        {longWord + " ACTIVE_TIME_TODAY 2006-3-5 = 0:0:1 " + longWord, 1000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RestoredTimeFromLog(c.log, k5March2006), c.restoredMs) << c.log.substr(0, 80);
    EXPECT_TRUE(LogHoldsDay("ACTIVE_TIME_TODAY 2006-3-5 = 999:0:0", k5March2006));
    EXPECT_FALSE(LogHoldsDay("ACTIVE_TIME_TODAY 2006-3-4 = 1:0:0", k5March2006));
}

TEST(History, SavesTheCountedDayInPlaceOrLast)
{
    const std::vector<DayRecord> days = ParseHistory("HISTORY\r\n2006-3-4 = 5:12:0\r\n2006-3-5 = 2:7:45\r\n");
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(FormatHistory(days, {k5March2006, 3630000}),
              "HISTORY\r\n2006-3-4 = 5:12:0\r\n2006-3-5 = 1:0:30\r\n");
    EXPECT_EQ(FormatHistory(days, {CivilDate{2006, 3, 6}, 5999}),
              "HISTORY\r\n2006-3-4 = 5:12:0\r\n2006-3-5 = 2:7:45\r\n2006-3-6 = 0:0:5\r\n");
    // Two lines for the counted day each carry the live count.
    EXPECT_EQ(FormatHistory(ParseHistory("2006-3-5 = 1:0:0 2006-3-5 = 2:0:0"), {k5March2006, 1000}),
              "HISTORY\r\n2006-3-5 = 0:0:1\r\n2006-3-5 = 0:0:1\r\n");
    EXPECT_EQ(FormatHistory({}, {k5March2006, 0}), "HISTORY\r\n2006-3-5 = 0:0:0\r\n");
}

TEST(History, ACountNotYetTheDaysNeverReplacesItsLine)
{
    const std::vector<DayRecord> days = ParseHistory("HISTORY\r\n2006-3-5 = 6:0:0\r\n");
    EXPECT_EQ(FormatHistory(days, {k5March2006, 0, false}), "HISTORY\r\n2006-3-5 = 6:0:0\r\n");
    EXPECT_EQ(FormatHistory(days, {k5March2006, -5000}), "HISTORY\r\n2006-3-5 = 6:0:0\r\n");
    EXPECT_EQ(FormatHistory({}, {k5March2006, -5000}), "HISTORY\r\n2006-3-5 = 0:0:0\r\n");
    EXPECT_EQ(FormatHistory({}, {k5March2006, 7000, false}), "HISTORY\r\n2006-3-5 = 0:0:7\r\n");
}

TEST(History, LoadKeepsEveryRealDayAndSkipsOnlyTheDamage)
{
    const std::string text = "HISTORY\r\n"
                             "1979-12-31 = 1:0:0\r\n"   // before 1980
                             "1980-1-1 = 0:0:2\r\n"     // the first year a PC's clock gives
                             "2006-3-1 = -1:0:0\r\n"    // negative field
                             "2006-2-30 = 1:0:0\r\n"    // no such day
                             "2006-13-1 = 1:0:0\r\n"    // no such month
                             "2006-3-2 = 1:x:0\r\n"     // damaged
                             "2006-3-\r\n"              // cut off
                             "2006-3-8 = 5:12:\r\n"     // cut after its last colon: no seconds from the next line
                             "2006-3-3 = 0:90:0\r\n"    // minutes above 59
                             "2006-3-7 = 2147483647:60:0\r\n" // more hours than a save could write back
                             "garbage " + std::string(300, 'z') + "\r\n"
                             "2026-10-25 = 24:10:0\r\n" // the night the clocks go back
                             "2006-3-4=5:12:0\r\n2006-3-5 = 99999999999:0:0\n2006-3-6 = 0:0:1";
    const std::vector<DayRecord> days = ParseHistory(text);
    const std::vector<DayRecord> expected = {{{1980, 1, 1}, 2},
                                             {{2006, 3, 3}, 5400},
                                             {{2026, 10, 25}, 24 * 3600 + 600},
                                             {{2006, 3, 4}, 5 * 3600 + 12 * 60},
                                             {{2006, 3, 6}, 1}};
    EXPECT_EQ(days, expected);
    EXPECT_EQ(FormatHistory(days, {CivilDate{2006, 3, 7}, 0}),
              "HISTORY\r\n1980-1-1 = 0:0:2\r\n2006-3-3 = 1:30:0\r\n2026-10-25 = 24:10:0\r\n2006-3-4 = 5:12:0\r\n2006-3-6 = 0:0:1\r\n"
              "2006-3-7 = 0:0:0\r\n");
    // The header is optional, and a file that begins like it but differs still loads its records.
    EXPECT_EQ(ParseHistory("2006-3-4 = 5:12:0").size(), 1u);
    EXPECT_EQ(ParseHistory("HIS2006-3-4 = 5:12:0").size(), 1u);
    EXPECT_TRUE(ParseHistory("").empty());
    EXPECT_TRUE(ParseHistory("HISTORY").empty());
}

TEST(History, MergeKeepsTheLargerTimeOfADay)
{
    std::vector<DayRecord> days = {{{2006, 3, 4}, 100}};
    MergeDay(days, {{2006, 3, 4}, 50});
    MergeDay(days, {{2006, 3, 5}, 70});
    MergeDay(days, {{2006, 3, 5}, 90});
    EXPECT_EQ(days, (std::vector<DayRecord>{{{2006, 3, 4}, 100}, {{2006, 3, 5}, 90}}));
    EXPECT_EQ(RestoredTimeFromHistory(days, {2006, 3, 5}), 90000);
    EXPECT_EQ(RestoredTimeFromHistory(days, {2006, 3, 6}), 0);
}

} // namespace
