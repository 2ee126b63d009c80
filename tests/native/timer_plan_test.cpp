#include "app/timer_plan.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct PeriodCase {
    int button;
    std::int64_t otherMinutes;
    MessagePeriods expected;
};

TEST(TimerPlan, PeriodsFollowTheIntervalChoice)
{
    const PeriodCase cases[] = {
        {kInterval30Min, 0, {4209000, 1830000, 1830000}},
        {kInterval45Min, 0, {6219199, 2704000, 2704000}},
        {kInterval60Min, 0, {8289268, 3604030, 3604070}},
        {0, 0, {4146899, 1803000, 1804000}},
        {kIntervalOther, 1, {139800, 60000, 60000}},
        {kIntervalOther, 120, {16776000, 7200000, 7200000}},
        // The largest value whose health-tip period still fits a signed 32-bit count.
        {kIntervalOther, 15361, {2147467800, 921660000, 921660000}},
        // Beyond it the health tips are held at the longest period instead of wrapping negative.
        {kIntervalOther, 15362, {2147483647, 921720000, 921720000}},
        {kIntervalOther, 35791, {2147483647, 2147460000, 2147460000}},
        {kIntervalOther, 35792, {2147483647, 2147483647, 2147483647}},
        {kIntervalOther, std::numeric_limits<std::int64_t>::max() / 10, {2147483647, 2147483647, 2147483647}},
    };
    for (const PeriodCase& c : cases) {
        const MessagePeriods periods = PlanMessagePeriods(c.button, c.otherMinutes);
        EXPECT_EQ(periods.healthTipMs, c.expected.healthTipMs) << c.button << " / " << c.otherMinutes;
        EXPECT_EQ(periods.timeBreakMs, c.expected.timeBreakMs) << c.button << " / " << c.otherMinutes;
        EXPECT_EQ(periods.sleepMessageMs, c.expected.sleepMessageMs) << c.button << " / " << c.otherMinutes;
    }
}

TEST(TimerPlan, OnlyCheckedKindsGetATimerButActivityAlwaysRuns)
{
    auto ids = [](const std::vector<TimerArming>& timers) {
        std::vector<unsigned> result;
        for (const TimerArming& t : timers)
            result.push_back(t.id);
        return result;
    };
    EXPECT_EQ(ids(PlanTimers(kInterval30Min, 0, {true, true, true, true})),
              (std::vector<unsigned>{1, 2, 3, 4, 6, 8, 9}));
    EXPECT_EQ(ids(PlanTimers(kInterval30Min, 0, {false, false, false, false})), (std::vector<unsigned>{6, 8, 9}));
    EXPECT_EQ(ids(PlanTimers(kInterval30Min, 0, {false, true, false, true})), (std::vector<unsigned>{2, 4, 6, 8, 9}));

    const std::vector<TimerArming> all = PlanTimers(kIntervalOther, 1, {true, true, true, true});
    EXPECT_EQ(all[0].periodMs, 139800);
    EXPECT_EQ(all[3].periodMs, 1000);
    EXPECT_EQ(all[4].periodMs, 1000);
    EXPECT_EQ(all[5].periodMs, 300000);
    EXPECT_EQ(TimersRemovedAtStop(), (std::vector<unsigned>{1, 2, 3, 4, 6, 8, 9, 10}));
}

TEST(StartRules, AnIntervalIsNeededToStart)
{
    struct Case {
        int button;
        const char* text;
        bool allowed;
    } cases[] = {
        {kInterval30Min, "", false}, // an empty field refuses whatever is checked
        {kInterval60Min, "", false},   {0, "", false},
        {kInterval30Min, "0", true}, // the field only counts under "Other"
        {kIntervalOther, "0", false},  {kIntervalOther, "1", true},
        {kIntervalOther, "00", false}, {kIntervalOther, "007", true},
        {kIntervalOther, "x5", false}, // no leading digits reads as 0
        {kIntervalOther, "5x", true},  {kIntervalOther, "99999999999999999999999", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IntervalAllowsStart(c.button, c.text), c.allowed) << c.button << " '" << c.text << "'";
}

TEST(StartRules, LeadingNumberReadsDigitsUntilTheFirstOther)
{
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("120"), 120);
    EXPECT_EQ(LeadingNumber("12 3"), 12);
    EXPECT_EQ(LeadingNumber("-5"), 0);
    // However long the digits run, the value stays a huge positive number and never wraps.
    for (const char* huge :
         {"9223372036854775808", "92233720368547758089", "99999999999999999999999", "123456789012345678901234567890"}) {
        EXPECT_GE(LeadingNumber(huge), 92233720368547758) << huge;
        EXPECT_EQ(PlanMessagePeriods(kIntervalOther, LeadingNumber(huge)).timeBreakMs, 2147483647) << huge;
        EXPECT_TRUE(IntervalAllowsStart(kIntervalOther, huge)) << huge;
    }
}

} // namespace
