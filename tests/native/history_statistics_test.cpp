#include "history/history_statistics.h"

#include "in_berlin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Berlin moved its clocks forward on 26 March 2006, so a span counted in local seconds would lose a day.
class HistoryFiguresTest : public InBerlin {};

TEST_F(HistoryFiguresTest, ComputesEveryFigureFromTheFile)
{
    struct Case {
        const char* what;
        std::string file;
        std::string list, total, perActiveDay, perCalendarDay, best;
    } cases[] = {
        {"worked example", "HISTORY\r\n2006-3-4 = 5:12:0\r\n2006-3-6 = 1:0:30\r\n",
         "2006 Mar 04 (Sat)\t Active Time: 05:12:00  \r\n2006 Mar 06 (Mon)\t Active Time: 01:00:30  \r\n",
         "0 full days and 06:12:30", "03:06:15", "02:04:10", "2006 Mar 04 (Sat) - 05:12:00"},
        {"two full days, tie keeps the first", "HISTORY\r\n2006-3-4 = 23:59:59\r\n2006-3-5 = 23:59:59\r\n",
         "2006 Mar 04 (Sat)\t Active Time: 23:59:59  \r\n2006 Mar 05 (Sun)\t Active Time: 23:59:59  \r\n",
         "1 full day and 23:59:58", "23:59:59", "23:59:59", "2006 Mar 04 (Sat) - 23:59:59"},
        {"single day", "2006-3-5 = 2:7:45", "2006 Mar 05 (Sun)\t Active Time: 02:07:45  \r\n",
         "0 full days and 02:07:45", "02:07:45", "02:07:45", "2006 Mar 05 (Sun) - 02:07:45"},
        {"ten calendar days", "2006-3-1 = 5:0:0 2006-3-10 = 5:0:0",
         "2006 Mar 01 (Wed)\t Active Time: 05:00:00  \r\n2006 Mar 10 (Fri)\t Active Time: 05:00:00  \r\n",
         "0 full days and 10:00:00", "05:00:00", "01:00:00", "2006 Mar 01 (Wed) - 05:00:00"},
        {"out of date order: span from the earliest date, tie by file order",
         "2006-3-9 = 1:0:0 2006-3-5 = 3:0:0 2006-3-2 = 3:0:0",
         "2006 Mar 09 (Thu)\t Active Time: 01:00:00  \r\n2006 Mar 05 (Sun)\t Active Time: 03:00:00  \r\n"
         "2006 Mar 02 (Thu)\t Active Time: 03:00:00  \r\n",
         "0 full days and 07:00:00", "02:20:00", "00:52:30", "2006 Mar 05 (Sun) - 03:00:00"},
        {"days under an hour", "2006-3-4 = 0:0:30 2006-3-5 = 0:0:45",
         "2006 Mar 04 (Sat)\t Active Time: 00:00:30  \r\n2006 Mar 05 (Sun)\t Active Time: 00:00:45  \r\n",
         "0 full days and 00:01:15", "00:00:37", "00:00:37", "2006 Mar 05 (Sun) - 00:00:45"},
        {"a day without activity is still a day", "2006-3-4 = 0:0:0",
         "2006 Mar 04 (Sat)\t Active Time: 00:00:00  \r\n", "0 full days and 00:00:00", "00:00:00", "00:00:00",
         "2006 Mar 04 (Sat) - 00:00:00"},
        {"empty file", "", "", "0 full days and 00:00:00", "00:00:00", "00:00:00", ""},
        {"span across the spring clock change", "2006-3-25 = 1:0:0 2006-3-27 = 2:0:0",
         "2006 Mar 25 (Sat)\t Active Time: 01:00:00  \r\n2006 Mar 27 (Mon)\t Active Time: 02:00:00  \r\n",
         "0 full days and 03:00:00", "01:30:00", "01:00:00", "2006 Mar 27 (Mon) - 02:00:00"},
        {"a day longer than 24 hours keeps its date", "2008-2-29 = 24:10:0",
         "2008 Feb 29 (Fri)\t Active Time: 24:10:00  \r\n", "1 full day and 00:10:00", "24:10:00", "24:10:00",
         "2008 Feb 29 (Fri) - 24:10:00"},
        {"a total beyond 32 bits", "2006-3-4 = 600000:0:0 2006-3-5 = 600000:0:0",
         "2006 Mar 04 (Sat)\t Active Time: 600000:00:00  \r\n2006 Mar 05 (Sun)\t Active Time: 600000:00:00  \r\n",
         "50000 full days and 00:00:00", "600000:00:00", "600000:00:00", "2006 Mar 04 (Sat) - 600000:00:00"},
        {"damaged and impossible records are left out",
         "HISTORY\r\n2006-13-1 = 9:0:0\r\n2006-2-29 = 9:0:0\r\n2006-3-4 = 1:x:0\r\n2006-3-5 = 0:1:0\r\n2006-3-",
         "2006 Mar 05 (Sun)\t Active Time: 00:01:00  \r\n", "0 full days and 00:01:00", "00:01:00", "00:01:00",
         "2006 Mar 05 (Sun) - 00:01:00"},
    };
    for (const Case& c : cases) {
        const HistoryFigures figures = ComputeHistoryFigures(ParseHistory(c.file));
        EXPECT_EQ(figures.list, c.list) << c.what;
        EXPECT_EQ(figures.total, c.total) << c.what;
        EXPECT_EQ(figures.averageActiveDays, c.perActiveDay) << c.what;
        EXPECT_EQ(figures.averageAllDays, c.perCalendarDay) << c.what;
        EXPECT_EQ(figures.bestDay, c.best) << c.what;
    }
}

TEST_F(HistoryFiguresTest, ListsOnlyTheLatestDaysOfAHugeHistoryButCountsThemAll)
{
    const std::vector<DayRecord> days(kMostListedDays + 1, DayRecord{{2006, 3, 4}, 60});
    std::vector<DayRecord> differentFirst = days;
    differentFirst.front() = {{2006, 3, 5}, 7200};
    const HistoryFigures figures = ComputeHistoryFigures(differentFirst);
    EXPECT_EQ(figures.list, ComputeHistoryFigures({days.begin() + 1, days.end()}).list);
    EXPECT_EQ(figures.total, "7 full days and 00:40:00");
    EXPECT_EQ(figures.bestDay, "2006 Mar 05 (Sun) - 02:00:00");
}

} // namespace
