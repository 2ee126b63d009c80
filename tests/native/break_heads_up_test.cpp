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
};

std::string Outcome(BreakHeadsUp& headsUp, Act act, std::uint32_t tick)
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
    switch (headsUp.OnTick(tick)) {
    case HeadsUpEvent::BreakDue:
        return "break";
    case HeadsUpEvent::HeadsUpDue:
        return "heads-up";
    case HeadsUpEvent::None:
        break;
    }
    return "-";
}

TEST(BreakHeadsUp, CountsDownIsPutOffTwiceAtMostAndEnds)
{
    const struct {
        const char* story;
        std::vector<Step> steps;
    } stories[] = {
        {"counted down",
         {{0, Act::Due, "yes", "A break starts in 30 seconds"},
          {999, Act::Tick, "-", "A break starts in 29 seconds"}, // a tick a little early
          {2040, Act::Tick, "-", "A break starts in 28 seconds"},
          {29000, Act::Tick, "-", "A break starts in 1 second"},
          {30000, Act::Tick, "break", ""},
          {31000, Act::Tick, "-", ""}}},
        {"a break due meanwhile stacks nothing",
         {{0, Act::Due, "yes", "A break starts in 30 seconds"},
          {10000, Act::Due, "no", "A break starts in 20 seconds"},
          {20000, Act::Postpone, "yes", ""},
          {25000, Act::Due, "no", ""},
          {320000, Act::Tick, "heads-up", "A break starts in 30 seconds"},
          {321000, Act::Due, "no", "A break starts in 29 seconds"}}},
        {"postponed twice, a third time refused",
         {{0, Act::Due, "yes", "A break starts in 30 seconds"},
          {1000, Act::Postpone, "yes", ""},
          {300000, Act::Tick, "-", ""},
          {301000, Act::Tick, "heads-up", "A break starts in 30 seconds"},
          {302000, Act::Postpone, "yes", ""},
          {602000, Act::Tick, "heads-up", "A break starts in 30 seconds"},
          {603000, Act::Postpone, "no", "A break starts in 29 seconds"},
          {632000, Act::Tick, "break", ""}}},
        {"started now",
         {{0, Act::Due, "yes", "A break starts in 30 seconds"},
          {1000, Act::Postpone, "yes", ""},
          {2000, Act::StartNow, "no", ""}, // nothing on screen to click
          {301000, Act::Tick, "heads-up", "A break starts in 30 seconds"},
          {302000, Act::StartNow, "yes", ""},
          {303000, Act::StartNow, "no", ""},
          {332000, Act::Tick, "-", ""},
          {333000, Act::Due, "yes", "A break starts in 30 seconds"}}},
        {"ended by a stop",
         {{0, Act::Due, "yes", "A break starts in 30 seconds"},
          {1000, Act::End, "", ""},
          {31000, Act::Tick, "-", ""},
          {32000, Act::Due, "yes", "A break starts in 30 seconds"},
          {33000, Act::Postpone, "yes", ""},
          {34000, Act::End, "", ""},
          {333000, Act::Tick, "-", ""},
          {334000, Act::Postpone, "no", ""}}},
    };
    for (const auto& s : stories) {
        BreakHeadsUp headsUp;
        for (const Step& step : s.steps) {
            const std::uint32_t tick = kStartTick + static_cast<std::uint32_t>(step.atMs);
            EXPECT_EQ(Outcome(headsUp, step.act, tick), step.outcome) << s.story << " at " << step.atMs;
            EXPECT_EQ(headsUp.Shown() ? headsUp.View(tick).text : "", step.shown) << s.story << " at " << step.atMs;
        }
    }
}

TEST(BreakHeadsUp, ThePostponeButtonTellsWhenTheBreakWasPutOffTwice)
{
    const HeadsUpView fresh{"A break starts in 30 seconds", "Postpone 5 minutes", true};
    const HeadsUpView spent{"A break starts in 30 seconds", "Postponed twice", false};
    BreakHeadsUp headsUp;
    std::uint32_t tick = kStartTick;
    ASSERT_TRUE(headsUp.OnBreakDue(tick));
    for (const HeadsUpView& expected : {fresh, fresh, spent}) {
        EXPECT_EQ(headsUp.View(tick), expected) << tick - kStartTick;
        headsUp.Postpone(tick);
        tick += kPostponeMs;
        headsUp.OnTick(tick);
    }
    // A new break may be put off twice again.
    headsUp.StartNow();
    ASSERT_TRUE(headsUp.OnBreakDue(tick));
    EXPECT_EQ(headsUp.View(tick), fresh);
}

} // namespace
