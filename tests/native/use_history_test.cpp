#include "activity/use_history.h"

#include "activity/active_time_store.h"
#include "activity/activity_monitor.h"
#include "activity/counter_state.h"

#include "in_berlin.h"
#include "memory_time_files_host.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// Each line read back as the file writes it; a date twice keeps its earliest first and latest last use.
TEST(UseHistory, ReadsEachWellFormedLineAndKeepsADayFoundTwiceWhole)
{
    constexpr char kDay9[] = "2026-12-09 = first 08:12:40, last 00:41:05\r\n";
    const struct {
        std::string text;
        std::string read; // as written again
    } cases[] = {
        {std::string("USE\r\n") + kDay9, kDay9},
        {"  2026-12-9 = first 8:12:40, last 0:41:05  \n2026-1-2 = first 5:0:0, last 4:59:59",
         std::string("2026-01-02 = first 05:00:00, last 04:59:59\r\n") + kDay9},
        {std::string(kDay9) +
             "2026-12-09 = first 07:00:00, last 23:00:00\r\n2026-12-09 = first 09:00:00, last 01:00:00",
         "2026-12-09 = first 07:00:00, last 01:00:00\r\n"},
        {std::string("2026-12-08 = first 08:00:00, la\r\n") + kDay9, kDay9},
        {"2026-12-08 = first 01:00:00, last 23:00:00\r\n2026-12-08 = first 08:00:00, last 24:00:00", ""},
        {"2026-2-30 = first 08:00:00, last 09:00:00\r\n1979-12-31 = first 08:00:00, last 09:00:00", ""},
        {"2026-12-08 = first 12345678901234567890:00:00, last 09:00:00", ""},
        {"2026-12-08 = breaks 3, postponed 0, eyes 1/2\r\n2026-12-09 = first 08:12:40, last 00:41:05 x", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatUseHistory(ParseUseHistory(c.text)), "USE\r\n" + c.read) << c.text;
}

// The program's activity tick as the main window runs it: the active time's tick, then a use for
// each second it counted. The tick count goes on while the clock may be set anywhere.
class UseHistoryStory : public InBerlin, public MemoryTimeFilesHost {
protected:
    void Reset()
    {
        ResetActiveTimeCounters(true);
        g_timeCountedDay = 0;
        record = CUseHistory();
        files.clear();
        reports.clear();
    }
    // Ticks second by second from one moment to another, with input until a moment (all along without one).
    void Run(std::int64_t from, std::int64_t to, std::optional<std::int64_t> inputUntil = std::nullopt)
    {
        g_timeCountedDay = g_timeCountedDay ? g_timeCountedDay : from;
        for (std::int64_t now = from; now <= to; ++now) {
            tick += 1000;
            lastInput = !inputUntil || now <= *inputUntil ? tick : lastInput;
            ActivityTick(*this, now, tick, lastInput);
            if (CountsAsActive(tick, lastInput))
                record.Use(now);
        }
    }

    CUseHistory record;
    std::uint32_t tick = 5000000;
    std::uint32_t lastInput = 5000000;
};

// A local time of December 2026.
std::int64_t At(int day, int hour, int minute = 0, int second = 0)
{
    return LocalTime(2026, 12, day, hour, minute, second);
}

TEST_F(UseHistoryStory, EachDayKeepsItsFirstUseFromFiveAndTheLastOfItsEvening)
{
    struct Span {
        std::int64_t from, to;
        std::optional<std::int64_t> inputUntil = std::nullopt;
    };
    const struct {
        std::vector<Span> spans;
        std::string file; // its lines after the header, "|" between them
    } cases[] = {
        {{{At(10, 0, 40), At(10, 0, 40, 10)}}, "2026-12-09 = first 00:40:00, last 00:40:10"},
        {{{At(10, 4, 59, 58), At(10, 5, 0, 1)}},
         "2026-12-09 = first 04:59:58, last 04:59:59|2026-12-10 = first 05:00:00, last 05:00:01"},
        // Past midnight, then away: the count's first minute without input is use, the rest none.
        {{{At(9, 23, 58), At(10, 0, 5), At(10, 0, 0, 30)}}, "2026-12-09 = first 23:58:00, last 00:01:30"},
        {{{At(31, 23, 59, 59), LocalTime(2027, 1, 1, 0, 0, 1)}}, "2026-12-31 = first 23:59:59, last 00:00:01"},
        {{{At(8, 12), At(8, 12)}, {At(10, 12), At(10, 12)}},
         "2026-12-08 = first 12:00:00, last 12:00:00|2026-12-10 = first 12:00:00, last 12:00:00"},
        // The clock set back across midnight.
        {{{At(10, 0, 30), At(10, 0, 30)}, {At(9, 23, 50), At(9, 23, 50)}},
         "2026-12-09 = first 23:50:00, last 00:30:00"},
        // The night the clocks go back at 03:00.
        {{{LocalTime(2026, 10, 24, 23, 59), UtcTime(2026, 10, 25, 2, 30)}},
         "2026-10-24 = first 23:59:00, last 03:30:00"},
    };
    for (const auto& c : cases) {
        Reset();
        ASSERT_EQ(record.Load(*this), 1) << c.file;
        for (const Span& span : c.spans)
            Run(span.from, span.to, span.inputUntil);
        ASSERT_EQ(record.Save(*this), 1) << c.file;
        std::string file = "USE|" + c.file + "|";
        for (std::size_t bar = file.find('|'); bar != std::string::npos; bar = file.find('|', bar))
            file.replace(bar, 1, "\r\n");
        EXPECT_EQ(files[kUseHistoryFile], file);
        EXPECT_TRUE(reports.empty()) << c.file;
    }
}

// A file that can't be read at start-up is told, and replaced only once it reads again, with this
// run's uses added to its days.
TEST_F(UseHistoryStory, AnUnreadableFileIsReplacedOnlyOnceItReadsAgain)
{
    const std::string kept = "USE\r\n2026-12-07 = first 08:00:00, last 22:00:00\r\n";
    for (const bool readsAgain : {false, true}) {
        Reset();
        files[kUseHistoryFile] = kept;
        unreadable = {kUseHistoryFile};
        EXPECT_EQ(record.Load(*this), 0);
        Run(At(9, 12), At(9, 12));
        if (readsAgain)
            unreadable.clear();
        EXPECT_EQ(record.Save(*this), readsAgain ? 1 : 0);
        EXPECT_EQ(files[kUseHistoryFile], kept + (readsAgain ? "2026-12-09 = first 12:00:00, last 12:00:00\r\n" : ""));
        EXPECT_EQ(reports, std::vector<std::string>(readsAgain ? 1 : 2, "could not open usehistory.txt"));
    }
}

} // namespace
