// When the evening's use ended, as the program keeps it in usehistory.txt, with the wall clock set
// across midnight (run by the e2e_clock test entry, in a session with a faked clock).
#include "faked_clock.h"
#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The seconds of "HH:MM:SS" at the start of a text, or -1.
int ClockSeconds(const std::string& text)
{
    int hours = 0, minutes = 0, seconds = 0;
    return std::sscanf(text.c_str(), "%2d:%2d:%2d", &hours, &minutes, &seconds) == 3
               ? hours * 3600 + minutes * 60 + seconds
               : -1;
}

TEST(UseHistoryE2e, UseFrom2358To0001IsTheLastUseOfTheEveningBefore)
{
    if (!FakedClock::Available())
        GTEST_FAIL() << "no faked clock: run this test through tests/e2e/run-with-faked-clock.sh";
    const UserAtWork user;
    FakedClock::Set({2026, 12, 8, 23, 58, 0});
    KelvaroProcess kelvaro(
        WithTimeFiles({{"settings.txt", WithSetting(FirstStartSettings(), "STARTTRAY", "0")},
                       {"standard.txt", DefaultCatalogue()},
                       {"usehistory.txt", "USE\r\n2026-12-07 = first 08:00:00, last 22:15:00\r\n"}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    const auto shown = [&] {
        return ClockSeconds(kelvaro.ItemText(main, IDC_MAIN_ACTIVE_TIME));
    };
    int counted = -1;
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return (counted = shown()) >= 1; }, "the program to count"));
    const std::int64_t midnight = FakedClock::Seconds({2026, 12, 9});
    const std::int64_t firstSeen = FakedClock::Now();

    // Midnight while the user works: the count starts the new day, the use stays the evening's.
    FakedClock::Set({2026, 12, 8, 23, 59, 57});
    ASSERT_TRUE(kelvaro.WaitUntil(
        [&] {
            const int now = shown();
            const bool restarted = now >= 0 && now < counted;
            counted = now >= 0 ? now : counted;
            return restarted;
        },
        "the count to restart after midnight"));
    FakedClock::Set({2026, 12, 9, 0, 0, 58});
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return FakedClock::Now() >= midnight + 60; }, "the clock to reach 00:01"));
    const int before = shown();
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return shown() >= before + 2; }, "two more seconds counted"));
    kelvaro.Quit();
    const std::int64_t quitBy = FakedClock::Now();

    // The evening's line after the earlier day's, its last use from 00:01 to the Quit (00:01 unless
    // the machine took minutes for it), and no line for the 9th.
    const std::string record = kelvaro.ReadFile("usehistory.txt").value_or("");
    const std::string earlier = "USE\r\n2026-12-07 = first 08:00:00, last 22:15:00\r\n2026-12-08 = first ";
    ASSERT_EQ(record.rfind(earlier, 0), 0u) << record;
    const int first = ClockSeconds(record.substr(earlier.size()));
    const int last = ClockSeconds(record.substr(earlier.size() + std::string("23:58:00, last ").size()));
    EXPECT_TRUE(first >= ClockSeconds("23:58:00") && first <= 24 * 3600 - (midnight - firstSeen)) << record;
    EXPECT_TRUE(last >= 60 && last <= quitBy - midnight) << record;
    EXPECT_EQ(record.size(), earlier.size() + std::string("23:58:00, last 00:01:00\r\n").size()) << record;
}

} // namespace
