#include "messages/led_blinker_win.h"

#include "messages/light_show.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr char kStartedDiagnostic[] = "LED Thread Started";
// Far longer than a step of the show, so only a worker stuck in the system is given up on.
constexpr std::chrono::milliseconds kStopWait{1000};
// How long the keys' states are watched for the show's last press to show, before they are believed.
constexpr DWORD kSettlePollMs = 10;
constexpr int kSettlePolls = 20;

// Shared by the shows one after another. Never destroyed: a show may still run while the process exits.
struct ShowState {
    std::mutex mutex;
    std::condition_variable ended;
    bool running = false;
    std::atomic<bool> stopping = false;
    // Manual reset, so a stop asked for between two sleeps still cuts the next one short.
    HANDLE wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

ShowState& State()
{
    static ShowState& state = *new ShowState;
    return state;
}

int VirtualKeyOf(LockKey key)
{
    switch (key) {
    case LockKey::NumLock:
        return VK_NUMLOCK;
    case LockKey::CapsLock:
        return VK_CAPITAL;
    case LockKey::ScrollLock:
        return VK_SCROLL;
    }
    return 0;
}

LockStates ReadLockStates(Platform& platform)
{
    LockStates states{};
    for (std::size_t index = 0; index < kLockKeyCount; ++index)
        states[index] = platform.IsLockKeyOn(VirtualKeyOf(kLockKeys[index]));
    return states;
}

void PressKeys(Platform& platform, const std::vector<LockKey>& keys)
{
    for (LockKey key : keys)
        platform.PressKey(VirtualKeyOf(key));
}

// On the show's own thread: of the platform, only the lock-key and sleep calls, which allow that.
void RunLightShow(Platform& platform, ShowState& state)
{
    const LockStates start = ReadLockStates(platform);
    // A read right after a press may not see it yet, so the show goes by the states it set.
    LockStates tracked = start;
    for (const LightStep& step : LightShowPlan()) {
        if (state.stopping)
            break;
        PressKeys(platform, KeysToToggle(tracked, step.wanted));
        tracked = step.wanted;
        if (step.waitMs > 0 && platform.SleepUnlessWoken(state.wake, step.waitMs))
            break;
    }
    // Against the states of this moment, not the tracked ones: the user may have pressed a lock key
    // during the show, and it must not end the opposite way. A reading right after the show's last
    // press may not see it yet; a key that still differs after a moment is one the user pressed.
    LockStates now = ReadLockStates(platform);
    for (int poll = 0; poll < kSettlePolls && now != tracked; ++poll) {
        platform.SleepUnlessWoken(nullptr, kSettlePollMs);
        now = ReadLockStates(platform);
    }
    PressKeys(platform, KeysToToggle(now, start));
}

void LedThreadProc(Platform& platform)
{
    ShowState& state = State();
    try {
        RunLightShow(platform, state);
    } catch (...) {
        // Out of memory mid-show: the lights stay as they are, and the next show may run.
    }
    {
        std::lock_guard lock(state.mutex);
        state.running = false;
    }
    state.ended.notify_all();
}

} // namespace

bool CLedBlinker::Start()
{
    ShowState& state = State();
    std::lock_guard lock(state.mutex);
    // Two shows at once would each put back the states they found, mixed with the other's lights.
    if (state.running || !state.wake)
        return false;
    ResetEvent(state.wake);
    state.stopping = false;
    try {
        std::thread(LedThreadProc, std::ref(m_platform)).detach();
    } catch (const std::system_error&) {
        // The reminder goes on without lights.
        return false;
    }
    state.running = true;
    m_platform.WriteDiagnostic(kStartedDiagnostic);
    return true;
}

bool CLedBlinker::StopAndRestore()
{
    ShowState& state = State();
    std::unique_lock lock(state.mutex);
    if (!state.running)
        return true;
    state.stopping = true;
    SetEvent(state.wake);
    return state.ended.wait_for(lock, kStopWait, [&state] { return !state.running; });
}
