// A break the user takes by leaving the computer for five minutes goes into the day's break record,
// which the History dialog shows after a restart. Run by the e2e_natural_break test entry, in a
// session whose clock and tick count libfaketime moves together: five minutes away last seconds.
#include "faked_clock.h"
#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

namespace {

// Longer than the five minutes that make a time away a break.
constexpr std::int64_t kAwaySeconds = 330;
// What the count of active time keeps of a time away: its first minute.
constexpr int kCountedOfAwaySeconds = 60;
constexpr std::int64_t kSecondsPerDay = 86400;

// Moves the wall clock and the tick count of every program of the session by so many seconds on
// from the real time, through the file that libfaketime reads.
void MoveClockAndTicks(std::int64_t seconds)
{
    const char* path = std::getenv("KELVARO_FAKED_CLOCK");
    ASSERT_TRUE(path && *path) << "no faked clock: run this test through tests/e2e/run-with-faked-clock.sh";
    const std::filesystem::path file = ToWindowsPath(path);
    const std::filesystem::path written = file.wstring() + L".new";
    {
        std::ofstream out(written, std::ios::binary | std::ios::trunc);
        out << "+" << seconds << "\n";
        ASSERT_TRUE(out.good()) << "could not write " << written.string();
    }
    // A reader must never find the file half written.
    ASSERT_TRUE(MoveFileExW(written.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) << GetLastError();
}

// Waits for a condition after the tick count jumped, which the driver's waits would take for the
// end of their guard: this one counts its polls instead.
bool WaitAcrossTheJump(const std::function<bool()>& condition, const std::string& what)
{
    constexpr DWORD kPollMs = 100;
    constexpr int kPolls = KelvaroProcess::kDeadlineMs / kPollMs;
    for (int poll = 0; poll < kPolls; ++poll) {
        if (condition())
            return true;
        Sleep(kPollMs);
    }
    ADD_FAILURE() << "gave up waiting for " << what;
    return false;
}

// Milliseconds since the last input of the session, as every program of it reads them.
ULONGLONG IdleMs()
{
    LASTINPUTINFO last{sizeof last, 0};
    return GetLastInputInfo(&last) ? GetTickCount() - last.dwTime : 0;
}

std::string DateOf(const LocalTime& time)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", time.year, time.month, time.day);
    return text;
}

// The count the main window shows, in seconds (-1 before it shows one).
int ShownSeconds(KelvaroProcess& kelvaro, HWND main)
{
    int hours = 0, minutes = 0, seconds = 0;
    if (std::sscanf(kelvaro.ItemText(main, IDC_MAIN_ACTIVE_TIME).c_str(), "%d:%d:%d", &hours, &minutes, &seconds) != 3)
        return -1;
    return (hours * 60 + minutes) * 60 + seconds;
}

TEST(NaturalBreakE2e, FiveMinutesAwayIsABreakOfTheDayKeptOverARestart)
{
    // The break must begin and end on one day: a run late in the evening starts after midnight.
    std::int64_t offset = 0;
    const LocalTime now = FakedClock::Local(FakedClock::Now());
    const int secondsToMidnight = kSecondsPerDay - ((now.hour * 60 + now.minute) * 60 + now.second);
    if (secondsToMidnight < 4 * kAwaySeconds) {
        offset = secondsToMidnight + kAwaySeconds;
        MoveClockAndTicks(offset);
    }

    KelvaroProcess kelvaro({{"settings.txt", WithSetting(FirstStartSettings(), "STARTTRAY", "0")},
                            {"standard.txt", DefaultCatalogue()},
                            {"activetimelog.txt", "ACTIVE_TIME_TODAY 1995-1-1 = 0:0:0\r\n"},
                            {"timehistory.txt", "HISTORY\r\n"}});
    HWND main = kelvaro.MainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == "Stop"; },
                                  "supervision to start"));
    KelvaroProcess::MoveMouse();
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return ShownSeconds(kelvaro, main) >= 1; }, "the count to begin"));

    // The user leaves: five and a half minutes pass for every program at once.
    const int shownAtLeaving = ShownSeconds(kelvaro, main) - static_cast<int>(IdleMs() / 1000);
    MoveClockAndTicks(offset + kAwaySeconds);
    ASSERT_TRUE(WaitAcrossTheJump([] { return IdleMs() >= kAwaySeconds * 1000; }, "the time away to show"));
    // The program's tick has seen the time away once the count took in its first minute, which
    // the real time alone would take a minute for.
    ASSERT_TRUE(WaitAcrossTheJump(
        [&] { return ShownSeconds(kelvaro, main) >= shownAtLeaving + kCountedOfAwaySeconds - 1; },
        "the program to see the time away"));
    const std::string today = DateOf(FakedClock::Local(FakedClock::Now()));

    // The user comes back.
    KelvaroProcess::MoveMouse();
    ASSERT_TRUE(kelvaro.WaitUntil([] { return IdleMs() < kAwaySeconds * 1000; }, "the input to arrive"));
    // A tick after the input has seen the return once the count grows again.
    const int back = ShownSeconds(kelvaro, main);
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return ShownSeconds(kelvaro, main) > back + 1; }, "the count to go on"));
    kelvaro.Quit();
    const std::string record = kelvaro.ReadFile("breakhistory.txt").value_or("");
    EXPECT_NE(record.find(today + " = breaks 1, postponed 0, eyes 0/0\r\n"), std::string::npos) << record;

    kelvaro.Restart();
    main = kelvaro.MainWindow();
    ASSERT_TRUE(main);
    kelvaro.Click(main, IDC_MAIN_SHOW_HISTORY);
    HWND history = kelvaro.WaitForWindow("History");
    ASSERT_TRUE(history);
    EXPECT_EQ(kelvaro.ItemText(history, IDC_HISTORY_BREAKS).rfind("Breaks today: 1 (eyes 0 of 0)", 0), 0u)
        << kelvaro.ItemText(history, IDC_HISTORY_BREAKS);
    kelvaro.Quit();
}

} // namespace
