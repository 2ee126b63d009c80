// The day's active time as the program counts, shows and keeps it, with the wall clock set to
// where each story needs it (run by the e2e_clock test entry, in a session with a faked clock).
#include "faked_clock.h"
#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char kLogFile[] = "activetimelog.txt";
constexpr char kHistoryFile[] = "timehistory.txt";
constexpr int kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerDay = 86400;

// The defaults: supervision starts by itself, and the window stays shown.
std::string SupervisingSettings()
{
    return WithSetting(FirstStartSettings(), "STARTTRAY", "0");
}

DataFiles Files(const std::string& log, const std::string& history)
{
    return {{"settings.txt", SupervisingSettings()},
            {"standard.txt", DefaultCatalogue()},
            {kLogFile, log},
            {kHistoryFile, history}};
}

std::string LogRecord(const LocalTime& day, const std::string& count)
{
    return "ACTIVE_TIME_TODAY " + DateText(day) + " = " + count + "\r\n";
}

// Seconds of "h:m:s" (as written) or "HH:MM:SS" (as shown); -1 for anything else.
int CountSeconds(const std::string& text)
{
    int hours = 0, minutes = 0, seconds = 0, length = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d%n", &hours, &minutes, &seconds, &length) != 3 ||
        length != static_cast<int>(text.size()) || minutes > 59 || seconds > 59)
        return -1;
    return hours * kSecondsPerHour + minutes * 60 + seconds;
}

// The lines of a written file, each of which must end with CR LF; anything after the last one
// becomes a line of its own that says so.
std::vector<std::string> Lines(const std::optional<std::string>& file)
{
    std::vector<std::string> lines;
    if (!file)
        return lines;
    std::size_t start = 0;
    for (std::size_t end; (end = file->find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(file->substr(start, end - start));
    if (start < file->size())
        lines.push_back("(no CR LF at the end) " + file->substr(start));
    return lines;
}

// The count of a line "<prefix>h:m:s" in seconds, or -1 when the line says something else.
int CountAfter(const std::string& line, const std::string& prefix)
{
    return line.rfind(prefix, 0) == 0 ? CountSeconds(line.substr(prefix.size())) : -1;
}

// The count the main window shows, in seconds (-1 before it shows one).
int Shown(KelvaroProcess& kelvaro, HWND main)
{
    return CountSeconds(kelvaro.ItemText(main, IDC_MAIN_ACTIVE_TIME));
}

bool WaitForStartStop(KelvaroProcess& kelvaro, HWND main, const std::string& text)
{
    return kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == text; },
                             "the button to read \"" + text + "\"") &&
           kelvaro.Sync(main);
}

// Whole seconds since a tick count, rounded up: the most a count can have grown meanwhile.
int SecondsSince(ULONGLONG tick)
{
    return static_cast<int>((GetTickCount64() - tick + 999) / 1000);
}

// The same since the program was started.
int SecondsRunning(const KelvaroProcess& kelvaro)
{
    return static_cast<int>((kelvaro.MsSinceLaunch() + 999) / 1000);
}

// Waits until the shown count reaches `seconds`; the count shown last, or -1.
int WaitForCount(KelvaroProcess& kelvaro, HWND main, int seconds)
{
    int shown = -1;
    if (!kelvaro.WaitUntil([&] { return (shown = Shown(kelvaro, main)) >= seconds; },
                           "the count to reach " + std::to_string(seconds) + " s"))
        ADD_FAILURE() << "the count shown last: " << kelvaro.ItemText(main, IDC_MAIN_ACTIVE_TIME);
    return shown;
}

// Quits and checks that the log holds exactly one record of `day` with the count shown last before,
// or what it grew to until the program took the Quit; returns that count, or -1.
int QuitAndReadLoggedCount(KelvaroProcess& kelvaro, HWND main, const LocalTime& day)
{
    const ULONGLONG shownAt = GetTickCount64();
    const int shown = Shown(kelvaro, main);
    kelvaro.Quit();
    // The label may show the count of the tick before.
    const int most = shown + SecondsSince(shownAt) + 1;
    const std::vector<std::string> log = Lines(kelvaro.ReadFile(kLogFile));
    EXPECT_EQ(log.size(), 1u) << "the log holds one record";
    const int logged = log.empty() ? -1 : CountAfter(log[0], "ACTIVE_TIME_TODAY " + DateText(day) + " = ");
    EXPECT_GE(logged, shown) << (log.empty() ? "(no log)" : log[0]) << " after " << shown << " s were shown";
    EXPECT_LE(logged, most) << (log.empty() ? "(no log)" : log[0]) << " after " << shown << " s were shown";
    return logged;
}

// The count of a day that ended while the test watched: at least the last count seen before, at
// most what it can have grown to until the first count of the next day was seen.
struct DayEnd {
    int leastCount = -1;
    int mostCount = -1;
};

// Waits for the count to restart after midnight, from the count the window showed before, and checks
// that the new day counts from zero.
DayEnd WaitForTheNewDay(KelvaroProcess& kelvaro, HWND main, int lastOfTheDay)
{
    ULONGLONG lastSeenAt = GetTickCount64();
    int firstOfTheNewDay = -1;
    EXPECT_TRUE(kelvaro.WaitUntil(
        [&] {
            const ULONGLONG readAt = GetTickCount64();
            const int shown = Shown(kelvaro, main);
            if (shown >= lastOfTheDay) {
                lastOfTheDay = shown;
                lastSeenAt = readAt;
            } else if (shown >= 0) {
                firstOfTheNewDay = shown;
            }
            return firstOfTheNewDay >= 0;
        },
        "the count to restart after midnight"));
    // Midnight came after the old day was last seen; the label may show the count of the tick before.
    const int secondsAround = SecondsSince(lastSeenAt) + 1;
    EXPECT_LE(firstOfTheNewDay, secondsAround) << "the first count of the new day";
    return {lastOfTheDay, lastOfTheDay + secondsAround};
}

class ActiveTimeE2e : public testing::Test {
protected:
    void SetUp() override
    {
        if (!FakedClock::Available())
            GTEST_FAIL() << "no faked clock: run this test through tests/e2e/run-with-faked-clock.sh";
    }

    // A fresh session has never seen input, so without a user every second would be idle.
    UserAtWork m_user;
};

TEST_F(ActiveTimeE2e, TheDayGoesOnFromItsLoggedCountAndQuitWritesBothFiles)
{
    const LocalTime today{2026, 12, 8, 10, 0, 0};
    FakedClock::Set(today);
    KelvaroProcess kelvaro(Files(LogRecord(today, "2:0:0"), "HISTORY\r\n2006-3-4 = 5:12:0\r\n2026-12-7 = 0:59:59\r\n"));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);

    const int first = WaitForCount(kelvaro, main, 2 * kSecondsPerHour);
    EXPECT_LE(first, 2 * kSecondsPerHour + SecondsRunning(kelvaro) + 1) << "the first count shown after the start";
    WaitForCount(kelvaro, main, 2 * kSecondsPerHour + 3);

    const int logged = QuitAndReadLoggedCount(kelvaro, main, today);
    const std::vector<std::string> history = Lines(kelvaro.ReadFile(kHistoryFile));
    ASSERT_EQ(history.size(), 4u);
    EXPECT_EQ(history[0], "HISTORY");
    EXPECT_EQ(history[1], "2006-3-4 = 5:12:0");
    EXPECT_EQ(history[2], "2026-12-7 = 0:59:59");
    EXPECT_EQ(CountAfter(history[3], "2026-12-8 = "), logged) << history[3];
}

TEST_F(ActiveTimeE2e, AtMidnightTheFinishedDayGoesToTheHistoryAndTheNewDayCountsFromZero)
{
    const LocalTime evening{2026, 12, 8, 23, 0, 0};
    const LocalTime beforeMidnight{2026, 12, 8, 23, 59, 50};
    const LocalTime nextDay{2026, 12, 9, 0, 0, 0};
    FakedClock::Set(evening);
    KelvaroProcess kelvaro(Files(LogRecord(evening, "1:0:0"), "HISTORY\r\n2026-12-7 = 3:4:5\r\n"));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    // Midnight comes once the program counts, however long its start took.
    const int counting = WaitForCount(kelvaro, main, kSecondsPerHour);
    FakedClock::Set(beforeMidnight);

    const DayEnd dayEnd = WaitForTheNewDay(kelvaro, main, counting);
    EXPECT_GE(FakedClock::Now(), FakedClock::Seconds(nextDay)) << "restarted before midnight";

    // The finished day was written at the change, with the count it had reached.
    std::vector<std::string> history = Lines(kelvaro.ReadFile(kHistoryFile));
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0], "HISTORY");
    EXPECT_EQ(history[1], "2026-12-7 = 3:4:5");
    const int finished = CountAfter(history[2], "2026-12-8 = ");
    EXPECT_GE(finished, dayEnd.leastCount) << history[2];
    EXPECT_LE(finished, dayEnd.mostCount) << history[2];

    WaitForCount(kelvaro, main, 3);
    const int logged = QuitAndReadLoggedCount(kelvaro, main, nextDay);
    EXPECT_LE(logged, FakedClock::Now() - FakedClock::Seconds(nextDay) + 1) << "counted since midnight";
    history = Lines(kelvaro.ReadFile(kHistoryFile));
    ASSERT_EQ(history.size(), 4u);
    EXPECT_EQ(history[1], "2026-12-7 = 3:4:5");
    EXPECT_EQ(CountAfter(history[2], "2026-12-8 = "), finished) << history[2];
    EXPECT_EQ(CountAfter(history[3], "2026-12-9 = "), logged) << history[3];
}

TEST_F(ActiveTimeE2e, ADaylightSavingChangeAtNightNeitherAddsNorTakesAnHour)
{
    // Earlier days whose counts, read as times of their day, fall into the hour that the clock
    // skipped that night, into summer time and into winter time.
    const std::string earlierDays = "HISTORY\r\n2025-3-9 = 2:30:0\r\n2025-7-1 = 2:0:0\r\n2025-12-1 = 2:0:0\r\n";
    // The session's clocks change as those of the United States do (see run-with-faked-clock.sh).
    const struct {
        const char* change;
        LocalTime before;
        int hourAfter;
    } kChanges[] = {
        {"clocks go forward", {2027, 3, 14, 1, 59, 50}, 3},
        {"clocks go back", {2026, 11, 1, 1, 59, 50}, 1},
    };
    for (const auto& night : kChanges) {
        SCOPED_TRACE(night.change);
        // Started an hour before, so that the change comes once the program counts.
        FakedClock::Set({night.before.year, night.before.month, night.before.day, night.before.hour, 0, 0});
        KelvaroProcess kelvaro(Files(LogRecord(night.before, "1:0:0"), earlierDays));
        HWND main = kelvaro.MainWindow();
        ASSERT_NE(main, nullptr);
        WaitForCount(kelvaro, main, kSecondsPerHour);
        FakedClock::Set(night.before);
        const std::int64_t change = FakedClock::Seconds(night.before) + 10;

        ASSERT_TRUE(kelvaro.WaitUntil([&] { return FakedClock::Now() >= change + 3; }, "the clock to change"));
        const LocalTime after = FakedClock::Local(FakedClock::Now());
        EXPECT_EQ(after.hour, night.hourAfter) << "the clock reads " << Describe(after);
        const int shown = WaitForCount(kelvaro, main, kSecondsPerHour + 5);
        EXPECT_LE(shown, kSecondsPerHour + SecondsRunning(kelvaro) + 1) << "no more than the seconds it ran";

        const int logged = QuitAndReadLoggedCount(kelvaro, main, night.before);
        const std::vector<std::string> history = Lines(kelvaro.ReadFile(kHistoryFile));
        ASSERT_EQ(history.size(), 5u);
        EXPECT_EQ(history[1], "2025-3-9 = 2:30:0");
        EXPECT_EQ(history[2], "2025-7-1 = 2:0:0");
        EXPECT_EQ(history[3], "2025-12-1 = 2:0:0");
        EXPECT_EQ(CountAfter(history[4], DateText(night.before) + " = "), logged) << history[4];
    }
}

TEST_F(ActiveTimeE2e, StoppedForAMonthTheOldDayIsFinishedAtTheNextStart)
{
    const LocalTime day{2026, 12, 8, 10, 0, 0};
    const LocalTime monthLater{2027, 1, 8};
    FakedClock::Set(day);
    KelvaroProcess kelvaro(Files(LogRecord(day, "2:0:0"), "HISTORY\r\n2026-12-7 = 3:4:5\r\n"));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForStartStop(kelvaro, main, "Stop"));
    WaitForCount(kelvaro, main, 2 * kSecondsPerHour + 2);
    kelvaro.Click(main, IDC_MAIN_START_STOP);
    ASSERT_TRUE(WaitForStartStop(kelvaro, main, "Start"));
    // The button may read "Start" a moment before the Stop's save: the program answers other
    // programs' messages while it updates its tray icon.
    std::vector<std::string> log;
    const std::string record = "ACTIVE_TIME_TODAY " + DateText(day) + " = ";
    ASSERT_TRUE(kelvaro.WaitUntil(
        [&] {
            log = Lines(kelvaro.ReadFile(kLogFile));
            return log.size() == 1 && CountAfter(log[0], record) >= 2 * kSecondsPerHour + 2;
        },
        "the Stop to save the count"))
        << (log.empty() ? "(no log)" : log[0]);
    const std::string stoppedAt = log[0].substr(record.size());

    // The same day of the month, a month later: the first tick finishes the 8th of December with
    // the count it was stopped at, and the 8th of January counts from zero.
    FakedClock::MoveBy(31 * kSecondsPerDay);
    const ULONGLONG clicked = GetTickCount64();
    kelvaro.Click(main, IDC_MAIN_START_STOP);
    ASSERT_TRUE(WaitForStartStop(kelvaro, main, "Stop"));
    int firstOfTheNewDay = -1;
    ASSERT_TRUE(kelvaro.WaitUntil(
        [&] {
            firstOfTheNewDay = Shown(kelvaro, main);
            return firstOfTheNewDay >= 0 && firstOfTheNewDay < kSecondsPerHour;
        },
        "the new day's count"));
    EXPECT_LE(firstOfTheNewDay, SecondsSince(clicked) + 1) << "counted since the Start";
    WaitForCount(kelvaro, main, 2);
    const int logged = QuitAndReadLoggedCount(kelvaro, main, monthLater);
    const std::vector<std::string> history = Lines(kelvaro.ReadFile(kHistoryFile));
    ASSERT_EQ(history.size(), 4u);
    EXPECT_EQ(history[1], "2026-12-7 = 3:4:5");
    EXPECT_EQ(history[2], "2026-12-8 = " + stoppedAt);
    EXPECT_EQ(CountAfter(history[3], "2027-1-8 = "), logged) << history[3];
}

} // namespace
