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
        SupervisionState state;
        state.LoadBreakCountdown(c.seconds);
        state.BeginBreakCountdown();
        for (std::size_t tick = 0; tick < c.captions.size(); ++tick) {
            const CountdownStep step = state.TickBreakCountdown(60);
            EXPECT_EQ(CountdownCaption(step), c.captions[tick]) << c.seconds << " s, tick " << tick;
            EXPECT_EQ(step.ended, tick + 1 == c.captions.size());
            EXPECT_EQ(state.BreakCountingDown(), !step.ended);
        }
        EXPECT_EQ(state.BreakSecondsLeft(), 60) << "loaded for the next break";
    }
}

} // namespace
