#include "messages/light_show.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = LightShowEvent::Kind;

std::string Name(const LockStates& states)
{
    std::string name;
    for (bool on : states)
        name += on ? '1' : '0';
    return name;
}

// The lights during each wait of the show, as "NCS" digits and the wait.
std::vector<std::string> ExpectedLights()
{
    std::vector<std::string> lights;
    auto repeat = [&lights](int times, std::vector<std::string> pattern) {
        for (int time = 0; time < times; ++time)
            lights.insert(lights.end(), pattern.begin(), pattern.end());
    };
    repeat(5, {"000 200", "111 200"});
    repeat(10, {"100 150", "010 150", "001 150"});
    repeat(10, {"001 150", "010 150", "100 150"});
    repeat(5, {"000 200", "111 200"});
    return lights;
}

TEST(LightShow, EveryStartingStateGetsTheWholeShowAndEndsAsItStarted)
{
    for (int bits = 0; bits < 8; ++bits) {
        const LockStates start = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
        LockStates lights = start;
        std::vector<std::string> seen;
        std::vector<LockKey> toggledSinceWait;
        for (const LightShowEvent& event : LightShowEvents(start)) {
            if (event.kind == Kind::Wait) {
                seen.push_back(Name(lights) + " " + std::to_string(event.waitMs));
                toggledSinceWait.clear();
                continue;
            }
            // One press per change, in the order Num, Caps, Scroll.
            if (!toggledSinceWait.empty()) {
                EXPECT_LT(toggledSinceWait.back(), event.key) << Name(start) << " after wait " << seen.size();
            }
            toggledSinceWait.push_back(event.key);
            lights[static_cast<size_t>(event.key)] = !lights[static_cast<size_t>(event.key)];
        }
        EXPECT_EQ(seen, ExpectedLights()) << Name(start);
        EXPECT_EQ(lights, start) << Name(start);
    }
}

} // namespace
