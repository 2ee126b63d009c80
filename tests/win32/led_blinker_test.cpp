#include "messages/led_blinker_win.h"

#include "fake_platform_win.h"
#include "messages/light_show.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kLockKeyCodes[] = {VK_NUMLOCK, VK_CAPITAL, VK_SCROLL};
constexpr char kStarted[] = "LED Thread Started";
// The longest the show may watch the keys after its last press: the user waits for the lights meanwhile.
constexpr DWORD kSettleBudgetMs = 200;

std::vector<std::string> ExpectedCalls(const LockStates& start)
{
    std::vector<std::string> calls;
    for (const LightShowEvent& event : LightShowEvents(start)) {
        if (event.kind == LightShowEvent::Kind::Wait)
            calls.push_back("sleep " + std::to_string(event.waitMs));
        else
            calls.push_back("press " + FakePlatform::LockKeyName(kLockKeyCodes[static_cast<size_t>(event.key)]));
    }
    return calls;
}

// The calls of a show from the given states, up to its sleep of the given number (from 1).
std::vector<std::string> ExpectedCallsUntilSleep(const LockStates& start, int sleep)
{
    std::vector<std::string> calls = ExpectedCalls(start);
    int sleeps = 0;
    const auto last = std::find_if(calls.begin(), calls.end(), [&sleeps, sleep](const std::string& call) {
        return call.starts_with("sleep") && ++sleeps == sleep;
    });
    calls.erase(last + 1, calls.end());
    return calls;
}

// The sleeps a list of keyboard calls asked for, in all.
DWORD SleptMs(const std::vector<std::string>& calls)
{
    constexpr std::string_view kSleep = "sleep ";
    DWORD ms = 0;
    for (const std::string& call : calls)
        if (call.starts_with(kSleep))
            ms += static_cast<DWORD>(std::stoul(call.substr(kSleep.size())));
    return ms;
}

// Under Wine a thread sees only the lock-key changes made after it began, so the keys are read
// on the test's own thread, which is older than any of them.
LockStates LockStatesOf(Platform& platform)
{
    LockStates states{};
    for (size_t index = 0; index < kLockKeyCount; ++index)
        states[index] = platform.IsLockKeyOn(kLockKeyCodes[index]);
    return states;
}

class LedBlinkerTest : public ::testing::Test {
protected:
    // A show still running is ended before its fake goes.
    void TearDown() override { EXPECT_TRUE(CLedBlinker::StopAndRestore()); }

    void SetStart(const LockStates& start)
    {
        for (size_t index = 0; index < kLockKeyCount; ++index)
            if (start[index])
                platform.UserPresses(kLockKeyCodes[index]);
    }

    FakePlatform platform;
};

TEST_F(LedBlinkerTest, AShowPressesTheKeysOfItsPlanAndPutsThemBack)
{
    const LockStates start = {true, true, false};
    SetStart(start);
    const std::vector<std::string> expected = ExpectedCalls(start);
    ASSERT_TRUE(CLedBlinker(platform).Start());
    ASSERT_TRUE(platform.WaitForKeyboardCalls(expected.size()));
    ASSERT_TRUE(CLedBlinker::StopAndRestore());
    EXPECT_EQ(platform.KeyboardCalls(), expected);
    EXPECT_EQ(LockStatesOf(platform), start);
    EXPECT_EQ(platform.diagnostics, kStarted);
    // Over, so the next reminder gets its show.
    EXPECT_TRUE(CLedBlinker(platform).Start());
}

TEST_F(LedBlinkerTest, AShowCaughtMidwayIsTheOnlyOneAndPutsBackWhatTheUserChanged)
{
    const LockStates start = {false, true, false};
    SetStart(start);
    // Held while only Caps Lock is lit in the running light, when the user presses it.
    constexpr int kHeldSleep = 12;
    platform.holdAtSleep = kHeldSleep;
    ASSERT_TRUE(CLedBlinker(platform).Start());
    ASSERT_TRUE(platform.WaitUntilHeld());
    platform.UserPresses(VK_CAPITAL);
    EXPECT_FALSE(CLedBlinker(platform).Start());

    ASSERT_TRUE(CLedBlinker::StopAndRestore());
    std::vector<std::string> expected = ExpectedCallsUntilSleep(start, kHeldSleep);
    // Going by the states it set, the show would have left Caps Lock off.
    expected.push_back("press Caps");
    // The show watched the keys a while before it believed the user's press, but within its budget.
    const std::vector<std::string> allCalls = platform.KeyboardCalls();
    const DWORD settleMs = SleptMs(allCalls) - SleptMs(expected);
    EXPECT_GT(settleMs, 0u);
    EXPECT_LE(settleMs, kSettleBudgetMs);
    std::vector<std::string> calls;
    for (const std::string& call : allCalls)
        if (calls.size() < expected.size() - 1 || !call.starts_with("sleep"))
            calls.push_back(call);
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(LockStatesOf(platform), start);
    EXPECT_EQ(platform.diagnostics, kStarted);
    EXPECT_TRUE(CLedBlinker::StopAndRestore());
}

TEST_F(LedBlinkerTest, AShowStoppedRightAfterItsPressPutsTheKeysBackOnceThePressShows)
{
    const LockStates start = {true, false, false};
    SetStart(start);
    platform.pressesShowAfterASleep = true;
    // Stopped in the wait after all three lights went on, before those presses show.
    platform.holdAtSleep = 2;
    ASSERT_TRUE(CLedBlinker(platform).Start());
    ASSERT_TRUE(platform.WaitUntilHeld());
    ASSERT_TRUE(CLedBlinker::StopAndRestore());
    for (size_t index = 0; index < kLockKeyCount; ++index)
        EXPECT_EQ(platform.LockKeyEndsOn(kLockKeyCodes[index]), start[index]) << index;
}

TEST_F(LedBlinkerTest, AStopThatComesAsAWaitEndsLightsNoFurtherStep)
{
    // Stopped just as the wait with all three lights on ran out.
    constexpr int kHeldSleep = 2;
    platform.holdAtSleep = kHeldSleep;
    platform.heldSleepRunsItsCourse = true;
    ASSERT_TRUE(CLedBlinker(platform).Start());
    ASSERT_TRUE(platform.WaitUntilHeld());
    ASSERT_TRUE(CLedBlinker::StopAndRestore());
    std::vector<std::string> expected = ExpectedCallsUntilSleep({false, false, false}, kHeldSleep);
    expected.insert(expected.end(), {"press Num", "press Caps", "press Scroll"});
    EXPECT_EQ(platform.KeyboardCalls(), expected);
}

// The real keyboard of the Wine session, whose lock states outlive the test: put back in teardown.
class LedBlinkerOnWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { before = LockStatesOf(platform); }
    void TearDown() override
    {
        EXPECT_TRUE(CLedBlinker::StopAndRestore());
        const LockStates now = LockStatesOf(platform);
        for (size_t index = 0; index < kLockKeyCount; ++index)
            if (now[index] != before[index])
                platform.PressKey(kLockKeyCodes[index]);
        EXPECT_EQ(LockStatesOf(platform), before);
    }

    Win32Platform platform;
    LockStates before{};
};

TEST_F(LedBlinkerOnWindowsTest, AKeyPressTogglesTheKeyAndAStoppedShowPutsTheKeysBack)
{
    for (size_t index = 0; index < kLockKeyCount; ++index) {
        LockStates toggled = before;
        toggled[index] = !toggled[index];
        platform.PressKey(kLockKeyCodes[index]);
        EXPECT_EQ(LockStatesOf(platform), toggled) << index;
        platform.PressKey(kLockKeyCodes[index]);
        EXPECT_EQ(LockStatesOf(platform), before) << index;
    }

    ASSERT_TRUE(CLedBlinker(platform).Start());
    // Somewhere in the first flashes, the user presses Caps Lock.
    constexpr DWORD kIntoTheShowMs = 300;
    Sleep(kIntoTheShowMs);
    platform.PressKey(VK_CAPITAL);
    EXPECT_TRUE(CLedBlinker::StopAndRestore());
    EXPECT_EQ(LockStatesOf(platform), before);
}

} // namespace
