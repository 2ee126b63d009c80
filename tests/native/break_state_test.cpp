#include "breaks/break_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(BreakCountdown, SecondsComeFromTheLeadingDigitsAndFitTheCounter)
{
    EXPECT_EQ(CountdownSeconds("60"), 60);
    EXPECT_EQ(CountdownSeconds(""), 0);
    EXPECT_EQ(CountdownSeconds("x5"), 0);
    EXPECT_EQ(CountdownSeconds("45s"), 45);
    EXPECT_EQ(CountdownSeconds("2147483647"), 2147483647);
    EXPECT_EQ(CountdownSeconds("2147483648"), 2147483647);
    EXPECT_EQ(CountdownSeconds("99999999999999999999999"), 2147483647);
}

TEST(BreakCountdown, CaptionsCountDownToAnEnabledOk)
{
    struct Case {
        std::int32_t seconds;
        std::vector<std::string> captions; // one a second until the end
    } cases[] = {
        {3, {"OK (Wait 2 sec)", "OK (Wait 1 sec)", "OK"}},
        {1, {"OK"}},
        {0, {"OK"}},
        {-7, {"OK"}},
    };
    for (const Case& c : cases) {
        g_nBreakCountdown = c.seconds;
        for (std::size_t tick = 0; tick < c.captions.size(); ++tick) {
            const CountdownStep step = TickBreakCountdown("60");
            EXPECT_EQ(step.caption, c.captions[tick]) << c.seconds << " s, tick " << tick;
            EXPECT_EQ(step.ended, tick + 1 == c.captions.size());
            EXPECT_EQ(g_bBreakRunning, !step.ended);
        }
        EXPECT_EQ(g_nBreakCountdown, 60) << "reloaded for the next break";
    }
    g_nBreakCountdown = 1;
    TickBreakCountdown("");
    EXPECT_EQ(g_nBreakCountdown, 0) << "an empty field waits nothing";
}

} // namespace
