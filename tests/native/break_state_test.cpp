#include "breaks/break_state.h"

#include <gtest/gtest.h>

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

} // namespace
