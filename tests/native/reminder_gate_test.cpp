#include "messages/reminder_gate.h"

#include "in_berlin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::int64_t kNoon = 1165320000; // 2006-12-05 12:00:00 UTC
constexpr GateSettings kBothOff{false, false};

Moment At(std::int64_t idleMs, bool busy, GateSettings settings = {})
{
    return {kNoon, idleMs, busy, settings};
}

// H health tip, T time-break suggestion, B go-to-bed message, W long-activity warning.
ReminderKind Kind(char letter)
{
    return letter == 'H'   ? ReminderKind::HealthTip
           : letter == 'T' ? ReminderKind::TimeBreak
           : letter == 'B' ? ReminderKind::GoToBed
                           : ReminderKind::LongActivity;
}

TEST(ReminderGate, EachMomentGivesHoldsOrDrops)
{
    const struct {
        const char* what;
        Moment moment;
        char kind;
        GateVerdict verdict;
    } cases[] = {
        {"at work", At(1000, false), 'T', GateVerdict::Give},
        {"busy", At(1000, true), 'H', GateVerdict::Hold},
        {"busy, holding off", At(1000, true, {false, true}), 'B', GateVerdict::Give},
        {"a minute without input", At(60000, false), 'T', GateVerdict::Drop},
        {"59 seconds without input", At(59999, false), 'W', GateVerdict::Give},
        {"away, natural breaks off", At(600000, false, {true, false}), 'T', GateVerdict::Give},
        {"in a call without input", At(600000, true), 'T', GateVerdict::Hold},
        {"both off: as ever", At(600000, true, kBothOff), 'H', GateVerdict::Give},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReminderGate().OnDue(Kind(c.kind), c.moment), c.verdict) << c.what;
}

class ReminderGateInBerlin : public InBerlin {};

TEST_F(ReminderGateInBerlin, TheEndOfBusyGivesTheOneHeldReminderThatStillMatters)
{
    // At 14:45 the time-break suggestions' window is open, at 23:45 the go-to-bed messages'.
    const struct {
        std::string held;
        int hour;
        std::int64_t idleMsAtEnd;
        char given; // '-': nothing
    } cases[] = {
        {"", 14, 0, '-'},   {"T", 14, 0, 'T'},  {"H", 14, 0, '-'}, {"TWB", 23, 0, 'B'},
        {"WT", 14, 0, 'T'}, {"TW", 23, 0, 'W'}, {"B", 14, 0, '-'}, {"T", 14, 120000, '-'},
    };
    for (const auto& c : cases) {
        ReminderGate gate;
        for (char kind : c.held)
            ASSERT_EQ(gate.OnDue(Kind(kind), At(0, true)), GateVerdict::Hold) << c.held;
        const Moment atEnd{LocalTime(2006, 12, 5, c.hour, 45), c.idleMsAtEnd, false, {}};
        EXPECT_EQ(gate.OnQuietCheck(false, atEnd), std::nullopt) << c.held << ": not busy before";
        const std::optional<ReminderKind> given = gate.OnQuietCheck(true, atEnd);
        EXPECT_EQ(given, c.given == '-' ? std::nullopt : std::optional(Kind(c.given))) << c.held << " " << c.hour;
        EXPECT_EQ(gate.OnQuietCheck(true, {atEnd.now, 0, false, {}}), std::nullopt) << c.held << ": only once";
    }
}

TEST(ReminderGate, APauseDropsEverythingUntilItEnds)
{
    ReminderGate gate;
    gate.OnDue(ReminderKind::TimeBreak, At(0, true));
    gate.Pause(kNoon + 1800);
    EXPECT_EQ(gate.OnDue(ReminderKind::LongActivity, At(0, false)), GateVerdict::Drop);
    EXPECT_EQ(gate.OnQuietCheck(true, At(0, false)), std::nullopt) << "the user chose the quiet";
    EXPECT_EQ(gate.PausedUntil(kNoon + 1799), kNoon + 1800);
    EXPECT_EQ(gate.PausedUntil(kNoon + 1800), std::nullopt) << "over by itself";
    EXPECT_EQ(gate.OnDue(ReminderKind::TimeBreak, At(0, false)), GateVerdict::Give);
}

TEST(ReminderGate, FiveMinutesAwayCountOnceAsABreak)
{
    const struct {
        const char* what;
        std::vector<std::int64_t> idleSeconds; // tick by tick
        bool busyFrom120s;
        GateSettings settings;
        bool breakTaken;
    } cases[] = {
        {"five minutes", {0, 100, 299, 300, 0}, false, {}, true},
        {"a second short", {0, 100, 299, 0}, false, {}, false},
        {"listening in a call", {0, 100, 200, 400, 0}, true, {}, false},
        {"natural breaks off", {0, 400, 0}, false, {true, false}, false},
    };
    for (const auto& c : cases) {
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
    EXPECT_EQ(PauseEnd(PauseChoice::TwoHours, evening), evening + 7200);
    // Across the night the clocks go forward: 06:00 is six hours and 45 minutes away, not seven.
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, evening) - evening, 6 * 3600 + 45 * 60);
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, LocalTime(2026, 12, 31, 3)), LocalTime(2026, 12, 31, 6));
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, LocalTime(2026, 12, 31, 6)), LocalTime(2027, 1, 1, 6));
    EXPECT_EQ(PausedUntilText(LocalTime(2026, 12, 31, 6)), "Reminders paused until 06:00");
}

} // namespace
