#include "breaks/heads_up_window_win.h"

#include "app/timer_plan.h"
#include "fake_platform_win.h"
#include "history/break_history.h"
#include "messages/quiet_keeper_win.h"
#include "resources/resource_ids.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Pumps messages until the condition holds; false when it still doesn't after a minute.
template <typename Condition> bool PumpUntil(Condition condition)
{
    for (const DWORD start = GetTickCount(); !condition(); Sleep(1)) {
        if (GetTickCount() - start > 60000)
            return false;
        PumpMessages();
    }
    return true;
}

// The alerts a screen reader hears, delivered to this thread's hook as its messages are pumped.
std::vector<HWND> g_alerts;

void CALLBACK OnAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        g_alerts.push_back(window);
}

// The heads-up of a time-break suggestion, the user working in a window of their own whose edit
// field has the keyboard; the break dialog is counted, not shown.
class HeadsUpWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        user = CreateWindowExW(0, L"STATIC", L"User", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
        edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, user, nullptr, nullptr,
                               nullptr);
        SetForegroundWindow(user);
        SetFocus(edit);
        ASSERT_TRUE(FocusKept());
        quiet.OnStart(nullptr);
        headsUp.OnStart(nullptr);
    }
    void TearDown() override { DestroyWindow(user); }

    ::testing::AssertionResult FocusKept()
    {
        if (GetForegroundWindow() == user && GetActiveWindow() == user && GetFocus() == edit)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "foreground " << GetForegroundWindow() << ", focus " << GetFocus();
    }

    // Seconds pass with the user at work.
    void Pass(int seconds)
    {
        platform.tickCount += static_cast<std::uint32_t>(seconds) * 1000;
        platform.lastInputTick = platform.tickCount;
        headsUp.OnTick();
    }

    bool TimerRuns() { return platform.activeTimers.count(kBreakHeadsUpTimer) != 0; }

    FakePlatform platform;
    CQuietKeeper quiet{platform};
    int breaks = 0;
    CBreakHistory record;
    CHeadsUpWnd headsUp{platform, quiet, record, [this] { ++breaks; }};
    HWND user = nullptr;
    HWND edit = nullptr;
};

TEST_F(HeadsUpWindowTest, ComesAtTheTaskbarsEdgeAndItsButtonsWorkWithoutTakingTheFocus)
{
    g_alerts.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, OnAlert,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    for (int button : {IDC_HEADS_UP_START_NOW, IDC_HEADS_UP_POSTPONE}) {
        ASSERT_TRUE(headsUp.OnBreakDue(ReminderKind::TimeBreak));
        PumpMessages();
        ASSERT_TRUE(headsUp.IsVisible());
        EXPECT_TRUE(FocusKept()) << button << ": as it comes";
        // Where the reminders' popup opens: with no taskbar, or one at the bottom or right, the
        // work area's corner, clear of its edges.
        RECT work{}, r{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(headsUp.Hwnd(), &r);
        EXPECT_EQ(r.right, work.right - 10) << button;
        EXPECT_EQ(r.bottom, work.bottom - 5) << button;

        // Clicked with the mouse, as the user does.
        const int breaksBefore = breaks;
        GetWindowRect(headsUp.Item(button), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT click[2] = {{INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}},
                          {INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTUP, 0, 0}}}};
        SendInput(2, click, sizeof(INPUT));
        EXPECT_TRUE(PumpUntil([&] { return !headsUp.IsVisible(); })) << button;
        EXPECT_EQ(breaks - breaksBefore, button == IDC_HEADS_UP_START_NOW ? 1 : 0) << button;
        EXPECT_TRUE(FocusKept()) << button << ": after the click";
        headsUp.OnStop();
    }
    PumpMessages();
    EXPECT_EQ(g_alerts, std::vector<HWND>(2, headsUp.Item(IDC_HEADS_UP_TEXT))) << "each time it comes";
    UnhookWinEvent(hook);
}

TEST_F(HeadsUpWindowTest, ABreakPutOffComesBackTwiceAtMostOneStartedNowAsksNothingAndAStopEndsIt)
{
    enum class Act { None, Due, Postpone, StartNow, Stop };
    const struct {
        const char* what;
        int seconds; // pass first
        Act act;
        bool inCall;          // the user's moment as the step is taken
        const char* text;     // the heads-up's, or nothing when it is not shown
        const char* postpone; // its postpone button's caption
        int breaks;
        bool timer;
    } steps[] = {
        {"due", 0, Act::Due, false, "A break starts in 30 seconds", "Postpone 5 minutes", 0, true},
        {"a second on", 1, Act::None, false, "A break starts in 29 seconds", "Postpone 5 minutes", 0, true},
        {"put off", 0, Act::Postpone, false, nullptr, nullptr, 0, true},
        {"back", 300, Act::None, false, "A break starts in 30 seconds", "Postpone 5 minutes", 0, true},
        {"put off again", 0, Act::Postpone, false, nullptr, nullptr, 0, true},
        {"back again", 300, Act::None, false, "A break starts in 30 seconds", "Postponed twice", 0, true},
        {"the break", 30, Act::None, false, nullptr, nullptr, 1, false},
        {"due while in a call", 0, Act::Due, true, "A break starts in 30 seconds", "Postpone 5 minutes", 1, true},
        {"started all the same", 2, Act::StartNow, true, nullptr, nullptr, 2, false},
        {"due", 0, Act::Due, false, "A break starts in 30 seconds", "Postpone 5 minutes", 2, true},
        {"held: in a call at its end", 30, Act::None, true, nullptr, nullptr, 2, false},
        {"due", 0, Act::Due, false, "A break starts in 30 seconds", "Postpone 5 minutes", 2, true},
        {"put off", 0, Act::Postpone, false, nullptr, nullptr, 2, true},
        {"stopped", 0, Act::Stop, false, nullptr, nullptr, 2, false},
        {"nothing comes back", 300, Act::None, false, nullptr, nullptr, 2, false},
    };
    for (const auto& s : steps) {
        platform.quietState.inCall = s.inCall;
        if (s.seconds)
            Pass(s.seconds);
        if (s.act == Act::Due)
            headsUp.OnBreakDue(ReminderKind::TimeBreak);
        else if (s.act == Act::Stop)
            headsUp.OnStop();
        else if (s.act != Act::None)
            SendMessageW(headsUp.Item(s.act == Act::Postpone ? IDC_HEADS_UP_POSTPONE : IDC_HEADS_UP_START_NOW),
                         BM_CLICK, 0, 0);
        EXPECT_EQ(headsUp.IsVisible(), s.text != nullptr) << s.what;
        EXPECT_EQ(headsUp.IsShown(), s.text != nullptr) << s.what;
        if (s.text) {
            EXPECT_EQ(headsUp.ItemText(IDC_HEADS_UP_TEXT), s.text) << s.what;
            EXPECT_EQ(headsUp.ItemText(IDC_HEADS_UP_POSTPONE), s.postpone) << s.what;
            EXPECT_EQ(headsUp.IsItemEnabled(IDC_HEADS_UP_POSTPONE), s.postpone == std::string("Postpone 5 minutes"))
                << s.what;
        }
        EXPECT_EQ(breaks, s.breaks) << s.what;
        EXPECT_EQ(TimerRuns(), s.timer) << s.what;
    }
    const std::vector<BreakDay> days = record.Days();
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].counts.postponed, 3) << "each postponement goes into the day's record";
}

} // namespace
