#include "breaks/break_heads_up.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every story starts four seconds before the tick count wraps.
constexpr std::uint32_t kStartTick = 0xFFFFF000;

enum class Act { Due, Tick, Postpone, StartNow, End };

struct Step {
    std::int32_t atMs; // since the story's start
    Act act;
    const char* outcome; // "yes"/"no" for an answer, "-", "break" or "heads-up" for a tick, "" for End
    const char* shown;   // the heads-up's text, or "" while none is shown
    bool canPostpone = true; // while shown
    std::int64_t idleMs = 10000; // since the user's last input; by default the user has paused
    std::uint32_t timerMs = 0;   // the timer's period after the step, when it matters
};

std::string Outcome(BreakHeadsUp& headsUp, Act act, std::uint32_t tick, std::int64_t idleMs)
{
    const auto answer = [](bool yes) { return yes ? "yes" : "no"; };
    switch (act) {
    case Act::Due:
        return answer(headsUp.OnBreakDue(tick));
    case Act::Postpone:
        return answer(headsUp.Postpone(tick));
    case Act::StartNow:
        return answer(headsUp.StartNow());
    case Act::End:
        headsUp.End();
        return "";
    case Act::Tick:
        break;
    }
    const HeadsUpEvent event = headsUp.OnTick(tick, idleMs);
    return event == HeadsUpEvent::BreakDue ? "break" : event == HeadsUpEvent::HeadsUpDue ? "heads-up" : "-";
}

TEST(BreakHeadsUp, CountsDownIsPutOffTwiceAtMostAndEnds)
{
    const struct {
        const char* story;
        std::vector<Step> steps;
    } stories[] = {
        {"counted down; nothing stacks",
         {{0, Act::Due, "yes", "A break starts in 30 seconds"},
          {999, Act::Tick, "-", "A break starts in 29 seconds"}, // a tick a little early
          {10000, Act::Due, "no", "A break starts in 20 seconds"},
          {29000, Act::Tick, "-", "A break starts in 1 second"},
          {30000, Act::Tick, "break", ""},
          {31000, Act::Tick, "-", ""}}},
        {"put off twice at most, then started now",
         {{0, Act::Due, "yes", "A break starts in 30 seconds"},
          {1000, Act::Postpone, "yes", ""},
          {2000, Act::Due, "no", ""},
          {3000, Act::StartNow, "no", ""}, // nothing on screen to click
          {301000, Act::Tick, "heads-up", "A break starts in 30 seconds"},
          {302000, Act::Postpone, "yes", ""},
          {601000, Act::Tick, "-", ""},
          {602000, Act::Tick, "heads-up", "A break starts in 30 seconds", false},
          {603000, Act::Postpone, "no", "A break starts in 29 seconds", false},
          {604000, Act::StartNow, "yes", ""},
          {634000, Act::Tick, "-", ""},
          {635000, Act::Due, "yes", "A break starts in 30 seconds"}}},
        {"the break waits for a pause in typing, at most 30 seconds",
         {{0, Act::Due, "yes", "A break starts in 30 seconds", true, 10000, 1000},
          {30000, Act::Tick, "-", "A break starts in 1 second", true, 0, 250},
          {31000, Act::Tick, "-", "A break starts in 1 second", true, 1999},
          {31250, Act::Tick, "break", "", true, 2000, 0},
          {32000, Act::Due, "yes", "A break starts in 30 seconds"},
          {62000, Act::Tick, "-", "A break starts in 1 second", true, 0},
          {63000, Act::Postpone, "yes", "", true, 0, 1000},
          {363000, Act::Tick, "heads-up", "A break starts in 30 seconds", true, 0},
          {393000, Act::Tick, "-", "A break starts in 1 second", true, 0},
          {422750, Act::Tick, "-", "A break starts in 1 second", true, 0},
          {423000, Act::Tick, "break", "", true, 0}}},
        {"ended by a stop",
         {{0, Act::Due, "yes", "A break starts in 30 seconds"},
          {1000, Act::End, "", ""},
          {31000, Act::Tick, "-", ""},
          {32000, Act::Due, "yes", "A break starts in 30 seconds"},
          {33000, Act::Postpone, "yes", ""},
          {34000, Act::End, "", ""},
          {333000, Act::Tick, "-", ""}}},
    };
    for (const auto& s : stories) {
        BreakHeadsUp headsUp;
        for (const Step& step : s.steps) {
            const std::uint32_t tick = kStartTick + static_cast<std::uint32_t>(step.atMs);
            EXPECT_EQ(Outcome(headsUp, step.act, tick, step.idleMs), step.outcome) << s.story << " at " << step.atMs;
            if (step.timerMs != 0 || (step.act == Act::Tick && *step.outcome == 'b')) {
                EXPECT_EQ(headsUp.TimerPeriodMs(), step.timerMs) << s.story << " at " << step.atMs;
            }
            const HeadsUpView view = headsUp.View(tick);
            EXPECT_EQ(headsUp.Shown() ? view.text : "", step.shown) << s.story << " at " << step.atMs;
            if (headsUp.Shown()) {
                EXPECT_EQ(view.canPostpone, step.canPostpone) << s.story << " at " << step.atMs;
                EXPECT_EQ(view.postponeCaption, step.canPostpone ? "Postpone 5 minutes" : "Postponed twice");
            }
        }
    }
}

} // namespace
