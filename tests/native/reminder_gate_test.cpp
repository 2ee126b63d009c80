#include "messages/reminder_gate.h"

#include "in_berlin.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::int64_t kNoon = 1165320000; // 2006-12-05 12:00:00 UTC
constexpr GateSettings kBothOn{};
constexpr GateSettings kBothOff{false, false};

Moment At(std::int64_t idleMs, bool busy, GateSettings settings = kBothOn)
{
    return {kNoon, idleMs, busy, settings};
}

const char* Name(GateVerdict verdict)
{
    return verdict == GateVerdict::Give ? "give" : verdict == GateVerdict::Hold ? "hold" : "drop";
}

TEST(ReminderGate, EachMomentGivesHoldsOrDrops)
{
    struct Case {
        const char* what;
        Moment moment;
        ReminderKind kind;
        const char* verdict;
    } cases[] = {
        {"at work", At(1000, false), ReminderKind::TimeBreak, "give"},
        {"busy", At(1000, true), ReminderKind::TimeBreak, "hold"},
        {"busy, health tip", At(1000, true), ReminderKind::HealthTip, "hold"},
        {"busy, warning", At(1000, true), ReminderKind::LongActivity, "hold"},
        {"busy, holding off", At(1000, true, {false, true}), ReminderKind::GoToBed, "give"},
        {"a minute without input", At(60000, false), ReminderKind::TimeBreak, "drop"},
        {"59 seconds without input", At(59999, false), ReminderKind::LongActivity, "give"},
        {"away, natural breaks off", At(600000, false, {true, false}), ReminderKind::TimeBreak, "give"},
        {"in a call without input", At(600000, true), ReminderKind::TimeBreak, "hold"},
        {"both off: as ever", At(600000, true, kBothOff), ReminderKind::HealthTip, "give"},
    };
    for (const Case& c : cases) {
        ReminderGate gate;
        EXPECT_STREQ(Name(gate.OnDue(c.kind, c.moment)), c.verdict) << c.what;
    }
}

TEST(ReminderGate, TheEndOfBusyGivesTheOneHeldReminderThatStillMatters)
{
    using Kinds = std::vector<ReminderKind>;
    // 14:45 lies in the time-break suggestions' window, 23:45 in the go-to-bed messages'.
    constexpr int kDay = 14, kNight = 23, kMinute = 45;
    struct Case {
        const char* what;
        Kinds held;
        int hourAtEnd;
        Moment atEnd;
        std::optional<ReminderKind> given;
    } cases[] = {
        {"nothing held", {}, kDay, At(0, false), std::nullopt},
        {"a suggestion", {ReminderKind::TimeBreak}, kDay, At(0, false), ReminderKind::TimeBreak},
        {"health tips are dropped", {ReminderKind::HealthTip}, kDay, At(0, false), std::nullopt},
        {"the latest message wins",
         {ReminderKind::TimeBreak, ReminderKind::LongActivity, ReminderKind::GoToBed},
         kNight,
         At(0, false),
         ReminderKind::GoToBed},
        {"a message before a warning",
         {ReminderKind::LongActivity, ReminderKind::TimeBreak},
         kDay,
         At(0, false),
         ReminderKind::TimeBreak},
        {"its window has passed: the warning",
         {ReminderKind::TimeBreak, ReminderKind::LongActivity},
         kNight,
         At(0, false),
         ReminderKind::LongActivity},
        {"its window has passed", {ReminderKind::GoToBed}, kDay, At(0, false), std::nullopt},
        {"away at the end", {ReminderKind::TimeBreak}, kDay, At(120000, false), std::nullopt},
    };
    for (const Case& c : cases) {
        ReminderGate gate;
        for (ReminderKind kind : c.held)
            ASSERT_EQ(gate.OnDue(kind, At(0, true)), GateVerdict::Hold) << c.what;
        EXPECT_EQ(gate.OnBusyEnded(c.atEnd, c.hourAtEnd, kMinute), c.given) << c.what;
        // Only one: the next end of busy has nothing left.
        EXPECT_EQ(gate.OnBusyEnded(At(0, false), c.hourAtEnd, kMinute), std::nullopt) << c.what;
    }
}

TEST(ReminderGate, APauseDropsEverythingUntilItEnds)
{
    ReminderGate gate;
    gate.OnDue(ReminderKind::TimeBreak, At(0, true));
    gate.Pause(kNoon + 1800);
    EXPECT_EQ(gate.OnDue(ReminderKind::LongActivity, At(0, false)), GateVerdict::Drop);
    EXPECT_EQ(gate.OnBusyEnded(At(0, false), 14, 0), std::nullopt) << "the user chose the quiet";
    EXPECT_EQ(gate.PausedUntil(kNoon + 1799), kNoon + 1800);
    EXPECT_EQ(gate.PausedUntil(kNoon + 1800), std::nullopt) << "over by itself";
    EXPECT_EQ(gate.OnDue(ReminderKind::TimeBreak, At(0, false)), GateVerdict::Give);

    gate.OnDue(ReminderKind::TimeBreak, At(0, true));
    gate.Pause(kNoon + 60);
    gate.Resume();
    EXPECT_EQ(gate.OnBusyEnded(At(0, false), 14, 0), std::nullopt) << "a resume gives nothing held before";
}

TEST(ReminderGate, FiveMinutesAwayCountOnceAsABreak)
{
    // Seconds without input, tick by tick; true where the user comes back from a break.
    struct Case {
        const char* what;
        std::vector<std::int64_t> idleSeconds;
        bool busyFrom120s;
        GateSettings settings;
        bool breakTaken;
    } cases[] = {
        {"five minutes", {0, 100, 299, 300, 0}, false, kBothOn, true},
        {"a second short", {0, 100, 299, 0}, false, kBothOn, false},
        {"listening in a call", {0, 100, 200, 400, 0}, true, kBothOn, false},
        {"natural breaks off", {0, 400, 0}, false, {true, false}, false},
    };
    for (const Case& c : cases) {
        ReminderGate gate;
        bool taken = false;
        for (std::int64_t seconds : c.idleSeconds)
            taken = gate.OnActivity(seconds * 1000, c.busyFrom120s && seconds >= 120, c.settings) || taken;
        EXPECT_EQ(taken, c.breakTaken) << c.what;
        EXPECT_FALSE(gate.OnActivity(0, false, c.settings)) << c.what << ": once";
    }
}

class PauseInBerlin : public InBerlin {};

TEST_F(PauseInBerlin, EndsAfterItsLengthOrAtTheNextSixOClock)
{
    const std::int64_t evening = LocalTime(2026, 3, 28, 22, 15);
    EXPECT_EQ(PauseEnd(PauseChoice::ThirtyMinutes, evening), evening + 1800);
    EXPECT_EQ(PauseEnd(PauseChoice::TwoHours, evening), evening + 7200);
    // Across the night the clocks go forward: 06:00 is six hours and 45 minutes away, not seven.
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, evening), LocalTime(2026, 3, 29, 6));
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, evening) - evening, 6 * 3600 + 45 * 60);
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, LocalTime(2026, 12, 31, 3)), LocalTime(2026, 12, 31, 6));
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, LocalTime(2026, 12, 31, 6)), LocalTime(2027, 1, 1, 6));
    EXPECT_EQ(PausedUntilText(LocalTime(2026, 12, 31, 6)), "Reminders paused until 06:00");
}

} // namespace
