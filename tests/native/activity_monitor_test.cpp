#include "activity/activity_monitor.h"
#include "activity/counter_state.h"

#include <gtest/gtest.h>

namespace {

// A user at the computer, one activity tick a second: the tick count and the last input move on.
class SimulatedUser {
public:
    explicit SimulatedUser(std::uint32_t startTick, std::int32_t restoredMs = 0) : tick(startTick), lastInput(startTick)
    {
        RestartCount(tick, restoredMs);
    }
    // Seconds of ticks, typing through them or not.
    void Spend(int seconds, bool typing)
    {
        for (int second = 0; second < seconds; ++second) {
            tick += 1000;
            if (typing)
                lastInput = tick;
            CountActivity(tick, lastInput);
        }
    }
    std::uint32_t tick;
    std::uint32_t lastInput;
};

TEST(ActivityMonitor, PausesCountForTheirFirstMinuteOnly)
{
    SimulatedUser user(5000);
    user.Spend(30, false);
    EXPECT_EQ(g_nActiveTimeMs, 30000) << "a 30-second pause costs nothing";
    user.Spend(600, true);
    user.Spend(300, false);
    // A 5-minute pause adds about a minute, then the count stops.
    EXPECT_EQ(g_nActiveTimeMs, (30 + 600 + 60) * 1000);
    const std::int32_t stopped = g_nActiveTimeMs;
    user.Spend(120, false);
    EXPECT_EQ(g_nActiveTimeMs, stopped);
    user.Spend(10, true);
    EXPECT_EQ(g_nActiveTimeMs, stopped + 10000);
}

TEST(ActivityMonitor, ExactlyOneMinuteIsNotIdleAndAnUnknownLastInputIsActive)
{
    RestartCount(0, 0);
    CountActivity(61000, 1000); // 60000 since the input
    EXPECT_EQ(g_nIdleTimeMs, 0);
    CountActivity(62000, 1000);
    EXPECT_EQ(g_nIdleTimeMs, 1000);
    CountActivity(63000, std::nullopt);
    EXPECT_EQ(g_nIdleTimeMs, 1000);
    EXPECT_EQ(g_nActiveTimeMs, 62000);
}

TEST(ActivityMonitor, TheTickCountWrapChangesNothing)
{
    SimulatedUser user(0xFFFFFFFFu - 30000);
    user.Spend(100, true);
    EXPECT_EQ(g_nActiveTimeMs, 100000);
    user.Spend(200, false);
    EXPECT_EQ(g_nActiveTimeMs, 160000);
}

TEST(ActivityMonitor, ATickTakesOffItsWholeIdleGapBeyondTheFirstMinute)
{
    struct Case {
        const char* story;
        std::uint32_t gapMs;
        std::uint32_t idleAtTickMs; // since the last input, when the late tick comes
        std::int32_t expectedGainMs;
    } cases[] = {
        {"a night asleep without a power notice", 8 * 3600000u, 8 * 3600000u + 5000, 55000},
        {"a held-up loop while the user types", 10000, 0, 10000},
        {"a tick on time, long idle", 1000, 120000, 0},
        {"a timer firing a little late, long idle", 1016, 120000, 0},
        {"a tick just past the first minute", 1000, 60400, 600},
        {"the pause passes its first minute inside the gap", 30000, 75000, 15000},
        {"the tick that begins a new day's count, long idle", 0, 120000, 0},
    };
    for (const Case& c : cases) {
        RestartCount(1000000, 0);
        const std::uint32_t tick = 1000000 + c.gapMs;
        CountActivity(tick, tick - c.idleAtTickMs);
        EXPECT_EQ(g_nActiveTimeMs, c.expectedGainMs) << c.story;
    }
}

TEST(ActivityMonitor, AStartWithTwoHoursLoggedShowsThreeHoursAfterAnHour)
{
    SimulatedUser user(42, 2 * 3600000);
    user.Spend(3600, true);
    const ActiveTimeTexts texts = FormatActiveTimeTexts(SplitForDisplay(g_nActiveTimeMs));
    EXPECT_STREQ(texts.time, "03:00:00");
    EXPECT_STREQ(texts.tooltip, "Active time today: 03:00:00");
}

TEST(ActivityMonitor, TheDisplayAndTheTrayPicture)
{
    const struct {
        std::int32_t ms;
        const char* shown;
    } times[] = {
        {3725999, "01:02:05"}, {-5000, "00:00:00"}, {59999, "00:00:59"},
        // A day of more than 24 hours (the night the clocks go back) is not shown modulo 24.
        {24 * 3600000 + 600000, "24:10:00"}, {INT32_MAX, "596:31:23"}};
    for (const auto& t : times) {
        const ActiveTimeTexts texts = FormatActiveTimeTexts(SplitForDisplay(t.ms));
        EXPECT_STREQ(texts.time, t.shown) << t.ms;
        EXPECT_EQ(texts.tooltip, "Active time today: " + std::string(t.shown)) << t.ms;
    }
    const std::optional<int> pictures[] = {std::nullopt, 1, 2, 3, 4, 5, 6, 7, 7, 8, 8};
    for (int hours = 0; hours <= 10; ++hours)
        EXPECT_EQ(TrayPictureForHours(hours), pictures[hours]) << hours << " hours";
}

} // namespace
