#include "breaks/eye_break.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// So many seconds of one thing the user does, a tick a second: w works (input in each second), s sits
// still, b works busy, p works paused, f works beside a forced break on screen, r works and another
// reminder is given at the spell's start, v sits still while a film keeps the display on, h works
// through ticks held up for a minute each.
struct Spell {
    int seconds;
    char doing;
};

// By the second since Start: O offered, T taken, M missed, G the popup gone; and each second's
// countdown while the popup is up.
struct EyeBreakRun {
    std::string events;
    std::string counts;
};

// The clock starts close to the tick count's wrap, which must change nothing.
constexpr std::uint32_t kStartTick = 0xFFFFFFFFu - 45000;

EyeBreakRun Simulate(int minutes, const std::vector<Spell>& spells)
{
    EyeBreakTimer timer;
    std::uint32_t tick = kStartTick;
    timer.Start(tick, minutes);
    std::uint32_t lastInput = tick;
    bool shown = false;
    std::optional<std::uint32_t> lastReminder;
    EyeBreakRun run;
    for (const Spell& spell : spells) {
        for (int i = 0; i < spell.seconds; ++i) {
            tick += spell.doing == 'h' ? 60000 : 1000;
            if (spell.doing != 's' && spell.doing != 'v')
                lastInput = tick - 300;
            if (spell.doing == 'r' && i == 0)
                lastReminder = tick;
            const EyeBreakStep step =
                timer.OnTick({tick, static_cast<std::int32_t>(tick - lastInput), spell.doing == 'b',
                              spell.doing == 'p', spell.doing == 'f', spell.doing == 'v', lastReminder});
            const std::string at = std::to_string((tick - kStartTick) / 1000) + ' ';
            if (step.event)
                run.events += "OTM"[static_cast<int>(*step.event)] + at;
            else if (shown && !step.shown)
                run.events += "G" + at;
            if (step.shown)
                run.counts += std::to_string(step.secondsLeft) + ' ';
            shown = step.shown;
        }
    }
    return run;
}

TEST(EyeBreakTimer, ComesAfterTheIntervalOfWorkAndStartsAgainWhenTheUserRests)
{
    const struct {
        const char* what;
        int minutes;
        std::vector<Spell> spells;
        const char* events;
    } cases[] = {
        {"a minute of work, then still", 1, {{60, 'w'}, {25, 's'}}, "O60 T80 G82 "},
        {"two minutes of work", 2, {{119, 'w'}, {1, 'w'}}, "O120 "},
        {"19 seconds still count as work", 1, {{30, 'w'}, {19, 's'}, {11, 'w'}}, "O60 "},
        {"20 seconds still start the interval again", 1, {{30, 'w'}, {20, 's'}, {60, 'w'}}, "O110 "},
        {"a natural break", 1, {{30, 'w'}, {300, 's'}, {60, 'w'}}, "O390 "},
        {"a busy spell", 1, {{50, 'w'}, {5, 'b'}, {60, 'w'}}, "O115 "},
        {"never while busy", 1, {{120, 'b'}}, ""},
        {"a pause", 1, {{50, 'w'}, {5, 'p'}, {60, 'w'}}, "O115 "},
        {"held-up ticks count a look-away's length each", 1, {{30, 'w'}, {1, 'h'}, {10, 'w'}}, "O100 "},
        {"waits for a forced break on screen", 1, {{50, 'w'}, {30, 'f'}, {1, 'w'}}, "O81 "},
        {"keeps two minutes from another reminder", 1, {{10, 'w'}, {1, 'r'}, {150, 'w'}}, "O131 "},
        {"missed after two minutes of work, the next an interval later", 1, {{60, 'w'}, {180, 'w'}},
         "O60 M180 O240 "},
        {"taken when still at the two-minute mark", 1, {{60, 'w'}, {110, 'w'}, {25, 's'}}, "O60 T190 G192 "},
        {"a call that begins takes it away", 1, {{60, 'w'}, {1, 'b'}}, "O60 M61 "},
        {"a pause chosen takes it away", 1, {{60, 'w'}, {1, 'p'}}, "O60 M61 "},
        {"input during Done changes nothing", 1, {{60, 'w'}, {20, 's'}, {3, 'w'}}, "O60 T80 G82 "},
        {"a film: time without input with the display kept on neither counts nor starts it again", 1,
         {{30, 'w'}, {600, 'v'}, {30, 'w'}}, "O641 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Simulate(c.minutes, c.spells).events, c.events) << c.what;
}

TEST(EyeBreakTimer, TheCountdownRunsWhileStillAndInputStartsItAgain)
{
    const EyeBreakRun run = Simulate(1, {{60, 'w'}, {5, 's'}, {1, 'w'}, {22, 's'}});
    EXPECT_EQ(run.events, "O60 T86 G88 ");
    EXPECT_EQ(run.counts, "20 19 18 17 16 15 20 19 18 17 16 15 14 13 12 11 10 9 8 7 6 5 4 3 2 1 0 0 ");
    // Stillness from before the popup came is not counted: here it waited 19 still seconds for its distance.
    EXPECT_EQ(Simulate(1, {{10, 'w'}, {1, 'r'}, {101, 'w'}, {20, 's'}}).counts, "20 19 ");
}

} // namespace
