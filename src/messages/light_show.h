#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The lock keys, in the order every step of the light show sets them.
enum class LockKey { NumLock, CapsLock, ScrollLock };
constexpr std::size_t kLockKeyCount = 3;
constexpr std::array<LockKey, kLockKeyCount> kLockKeys = {LockKey::NumLock, LockKey::CapsLock, LockKey::ScrollLock};

// Whether Num Lock, Caps Lock and Scroll Lock are on, in that order.
using LockStates = std::array<bool, kLockKeyCount>;

// One step of the light show: the states the keys are set to, then the wait before the next step.
struct LightStep {
    LockStates wanted;
    std::uint32_t waitMs;
};

// The show from switching all lights off to the last flash; putting the keys back is not a step,
// since it depends on the states the keys have when the show ends.
const std::vector<LightStep>& LightShowPlan();

// The keys to toggle, in key order and each at most once, to go from one set of states to another.
std::vector<LockKey> KeysToToggle(const LockStates& from, const LockStates& to);

// A toggle of one key, or a wait.
struct LightShowEvent {
    enum class Kind { Toggle, Wait };
    Kind kind;
    LockKey key;
    std::uint32_t waitMs;
};

// Every toggle and wait of a show left alone from the given starting states, putting back included.
std::vector<LightShowEvent> LightShowEvents(const LockStates& start);
