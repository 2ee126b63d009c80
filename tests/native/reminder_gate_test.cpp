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
    for (const auto& c : cases) {
        ReminderPause pause;
        EXPECT_EQ(ReminderGate(pause).OnDue(Kind(c.kind), c.moment), c.verdict) << c.what;
    }
}

class ReminderGateInBerlin : public InBerlin {};

TEST_F(ReminderGateInBerlin, TheEndOfBusyGivesTheMostRecentHeldReminderWhoseWindowStillFits)
{
    // Time-break suggestions by day and go-to-bed messages at night, by the half hour after 21:00.
    const struct {
        std::string held; // in the order held
        int hour;
        int minute;
        std::int64_t idleMsAtEnd;
        char given; // '-': nothing
    } cases[] = {
        {"", 14, 45, 0, '-'},   {"T", 14, 45, 0, 'T'},   {"H", 14, 45, 0, '-'},  {"TWB", 23, 45, 0, 'B'},
        {"WT", 14, 45, 0, 'T'}, {"TW", 23, 45, 0, 'W'},  {"B", 14, 45, 0, '-'},  {"T", 14, 45, 120000, '-'},
        {"TB", 23, 10, 0, 'T'}, {"BT", 22, 40, 0, 'B'},  {"TWB", 23, 10, 0, 'W'}, {"TBT", 23, 45, 0, 'B'},
    };
    for (const auto& c : cases) {
        ReminderPause pause;
        ReminderGate gate{pause};
        for (char kind : c.held)
            ASSERT_EQ(gate.OnDue(Kind(kind), At(0, true)), GateVerdict::Hold) << c.held;
        const Moment atEnd{LocalTime(2006, 12, 5, c.hour, c.minute), c.idleMsAtEnd, false, {}};
        const HeldRelease release = gate.OnQuietCheck(atEnd);
        const std::optional<ReminderKind> expected = c.given == '-' ? std::nullopt : std::optional(Kind(c.given));
        EXPECT_EQ(release.reminder, expected) << c.held << " at " << c.hour << ":" << c.minute;
        EXPECT_EQ(gate.OnQuietCheck({atEnd.now, 0, false, {}}), HeldRelease{}) << c.held << ": only once";
    }
}

TEST_F(ReminderGateInBerlin, TheEndOfASpellIsSeenWhicheverReadingSawIt)
{
    const std::int64_t afternoon = LocalTime(2006, 12, 5, 14);
    const Moment busy{afternoon, 0, true, {}};
    const Moment free{afternoon, 0, false, {}};
    const HeldRelease breakSuggestion{ReminderKind::TimeBreak, false};

    // A health tip due just after the full-screen program closed reads the end first.
    ReminderPause pause;
    ReminderGate gate{pause};
    gate.OnDue(ReminderKind::TimeBreak, busy);
    EXPECT_EQ(gate.OnQuietCheck(busy), HeldRelease{});
    EXPECT_EQ(gate.OnDue(ReminderKind::HealthTip, free), GateVerdict::Give);
    EXPECT_EQ(gate.OnQuietCheck(free), breakSuggestion) << "the spell ended at the health tip's reading";

    // Busy again before the quiet check: the spell goes on, and its end gives the suggestion.
    gate.OnDue(ReminderKind::TimeBreak, busy);
    gate.See(free);
    gate.See(busy);
    EXPECT_EQ(gate.OnQuietCheck(busy), HeldRelease{});
    EXPECT_EQ(gate.OnQuietCheck(free), breakSuggestion);

    // A suggestion given at the end of the spell makes the held one needless; the warning stays.
    gate.OnDue(ReminderKind::TimeBreak, busy);
    gate.OnDue(ReminderKind::LongActivity, busy);
    EXPECT_EQ(gate.OnDue(ReminderKind::TimeBreak, free), GateVerdict::Give);
    EXPECT_EQ(gate.OnQuietCheck(free), (HeldRelease{ReminderKind::LongActivity, false}));

    // The same with the suggestion alone held: it does not come a second time.
    gate.OnDue(ReminderKind::TimeBreak, busy);
    EXPECT_EQ(gate.OnDue(ReminderKind::TimeBreak, free), GateVerdict::Give);
    EXPECT_EQ(gate.OnQuietCheck(free), HeldRelease{});
}

TEST(ReminderGate, EmptyListBoxesWaitForTheMomentAsRemindersDo)
{
    ReminderPause pause;
    ReminderGate gate{pause};
    EXPECT_EQ(gate.OnEmptyListBoxesDue(At(0, false)), GateVerdict::Give);
    EXPECT_EQ(gate.OnEmptyListBoxesDue(At(600000, false)), GateVerdict::Drop) << "away";
    EXPECT_EQ(gate.OnEmptyListBoxesDue(At(0, true)), GateVerdict::Hold);
    EXPECT_EQ(gate.OnEmptyListBoxesDue(At(0, true)), GateVerdict::Hold);
    EXPECT_EQ(gate.OnQuietCheck(At(0, false)), (HeldRelease{std::nullopt, true})) << "once for both ticks";
    gate.OnEmptyListBoxesDue(At(0, true));
    gate.OnEmptyListBoxesDue(At(0, false));
    EXPECT_EQ(gate.OnQuietCheck(At(0, false)), HeldRelease{}) << "told at the tick that saw the end";
    gate.OnEmptyListBoxesDue(At(0, true));
    gate.Pause(kNoon + 60, std::nullopt);
    EXPECT_EQ(gate.OnEmptyListBoxesDue(At(0, false)), GateVerdict::Drop);
    EXPECT_EQ(gate.OnQuietCheck(At(0, false)), HeldRelease{}) << "the user chose the quiet";
}

TEST(ReminderGate, APauseDropsEverythingUntilItEndsAndResumeLetsGoOfWhatWasHeld)
{
    ReminderPause pause;
    ReminderGate gate{pause};
    gate.OnDue(ReminderKind::TimeBreak, At(0, true));
    gate.Pause(kNoon + 1800, PauseChoice::ThirtyMinutes);
    EXPECT_EQ(gate.OnDue(ReminderKind::LongActivity, At(0, false)), GateVerdict::Drop);
    EXPECT_EQ(gate.OnQuietCheck(At(0, false)), HeldRelease{}) << "the user chose the quiet";
    EXPECT_EQ(pause.RunsUntil(kNoon + 1799), kNoon + 1800);
    EXPECT_EQ(pause.Choice(kNoon + 1799), PauseChoice::ThirtyMinutes);
    EXPECT_EQ(pause.RunsUntil(kNoon + 1800), std::nullopt) << "over by itself";
    EXPECT_EQ(pause.Choice(kNoon + 1800), std::nullopt);
    Moment after = At(0, false);
    after.now = kNoon + 1800;
    EXPECT_EQ(gate.OnDue(ReminderKind::TimeBreak, after), GateVerdict::Give);

    gate.OnDue(ReminderKind::LongActivity, At(0, true));
    gate.Pause(kNoon + 1800, PauseChoice::ThirtyMinutes);
    gate.Resume();
    EXPECT_EQ(pause.RunsUntil(kNoon), std::nullopt);
    EXPECT_EQ(gate.OnQuietCheck(At(0, false)), HeldRelease{}) << "resumed, nothing held comes";
}

class PauseInBerlin : public InBerlin {};

TEST_F(PauseInBerlin, EndsAfterItsLengthOrAtTheNextSixOClock)
{
    const std::int64_t evening = LocalTime(2026, 3, 28, 22, 15);
    EXPECT_EQ(PauseEnd(PauseChoice::ThirtyMinutes, evening), evening + 1800);
    EXPECT_EQ(PauseEnd(PauseChoice::OneHour, evening), evening + 3600);
    EXPECT_EQ(PauseEnd(PauseChoice::TwoHours, evening), evening + 7200);
    // Across the night the clocks go forward: 06:00 is six hours and 45 minutes away, not seven.
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, evening) - evening, 6 * 3600 + 45 * 60);
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, LocalTime(2026, 12, 31, 3)), LocalTime(2026, 12, 31, 6));
    EXPECT_EQ(PauseEnd(PauseChoice::UntilMorning, LocalTime(2026, 12, 31, 6)), LocalTime(2027, 1, 1, 6));
    EXPECT_EQ(PausedUntilText(LocalTime(2026, 12, 31, 6)), "Reminders paused until 06:00");
}

TEST(ReminderGate, AShutdownWaitsForAPresentationACallOrAFullScreenProgram)
{
    const struct {
        QuietState state;
        bool holding;
        bool waits;
    } cases[] = {
        {{}, true, false},
        {{.fullScreen = true}, true, true},
        {{.presenting = true}, true, true},
        {{.inCall = true}, true, true},
        {{.focusAssist = true}, true, false},
        {{.fullScreen = true, .inCall = true}, false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShutdownMustWait(c.state, {c.holding, true}), c.waits) << c.state.fullScreen << c.state.presenting
                                                                          << c.state.inCall << c.state.focusAssist;
}

} // namespace
