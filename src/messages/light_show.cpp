#include "messages/light_show.h"

#include <initializer_list>

namespace {

constexpr std::uint32_t kFlashMs = 200;
constexpr std::uint32_t kRunMs = 150;
constexpr int kFlashCycles = 5;
constexpr int kRunCycles = 10;

constexpr LockStates kAllOff = {false, false, false};
constexpr LockStates kAllOn = {true, true, true};
constexpr LockStates kNumOnly = {true, false, false};
constexpr LockStates kCapsOnly = {false, true, false};
constexpr LockStates kScrollOnly = {false, false, true};

std::vector<LightStep> BuildPlan()
{
    std::vector<LightStep> plan;
    auto cycles = [&plan](int count, std::initializer_list<LockStates> pattern, std::uint32_t waitMs) {
        for (int cycle = 0; cycle < count; ++cycle)
            for (const LockStates& states : pattern)
                plan.push_back({states, waitMs});
    };
    plan.push_back({kAllOff, 0});
    cycles(kFlashCycles, {kAllOff, kAllOn}, kFlashMs);
    cycles(kRunCycles, {kNumOnly, kCapsOnly, kScrollOnly}, kRunMs);
    cycles(kRunCycles, {kScrollOnly, kCapsOnly, kNumOnly}, kRunMs);
    cycles(kFlashCycles, {kAllOff, kAllOn}, kFlashMs);
    return plan;
}

} // namespace

const std::vector<LightStep>& LightShowPlan()
{
    static const std::vector<LightStep> plan = BuildPlan();
    return plan;
}

std::vector<LockKey> KeysToToggle(const LockStates& from, const LockStates& to)
{
    std::vector<LockKey> keys;
    for (std::size_t index = 0; index < kLockKeyCount; ++index)
        if (from[index] != to[index])
            keys.push_back(kLockKeys[index]);
    return keys;
}

std::vector<LightShowEvent> LightShowEvents(const LockStates& start)
{
    std::vector<LightShowEvent> events;
    auto toggle = [&events](const LockStates& from, const LockStates& to) {
        for (LockKey key : KeysToToggle(from, to))
            events.push_back({LightShowEvent::Kind::Toggle, key, 0});
    };
    LockStates current = start;
    for (const LightStep& step : LightShowPlan()) {
        toggle(current, step.wanted);
        current = step.wanted;
        if (step.waitMs > 0)
            events.push_back({LightShowEvent::Kind::Wait, LockKey::NumLock, step.waitMs});
    }
    toggle(current, start);
    return events;
}
