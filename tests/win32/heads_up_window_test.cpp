#include "breaks/heads_up_window_win.h"

#include "app/timer_plan.h"
#include "fake_platform_win.h"
#include "resources/resource_ids.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The alerts a screen reader hears, delivered to this thread's hook as its messages are pumped.
std::vector<HWND> g_alerts;

void CALLBACK OnAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        g_alerts.push_back(window);
}

// Commands its owner was told of, by the window the owner is.
std::vector<int> g_commands;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        g_commands.push_back(LOWORD(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

// The heads-up as the rules have it, shown while the user works in a window of their own whose
// edit field has the keyboard; its owner stands in for the main window.
class HeadsUpWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW owner{};
        owner.lpfnWndProc = OwnerProc;
        owner.hInstance = GetModuleHandleW(nullptr);
        owner.lpszClassName = L"HeadsUpTestOwner";
        RegisterClassW(&owner);
        main = CreateWindowExW(0, L"HeadsUpTestOwner", L"Owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
        user = CreateWindowExW(0, L"STATIC", L"User", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
        edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, user, nullptr, nullptr,
                               nullptr);
        SetForegroundWindow(user);
        SetFocus(edit);
        ASSERT_TRUE(FocusKept());
        g_commands.clear();
    }
    void TearDown() override
    {
        DestroyWindow(user);
        DestroyWindow(main);
    }

    ::testing::AssertionResult FocusKept()
    {
        if (GetForegroundWindow() == user && GetActiveWindow() == user && GetFocus() == edit)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "foreground " << GetForegroundWindow() << ", focus " << GetFocus();
    }

    static HeadsUpView View(int seconds, bool canPostpone = true)
    {
        return {HeadsUpText(seconds), canPostpone ? kPostponeCaption : kPostponedTwiceCaption, canPostpone};
    }

    FakePlatform platform;
    CHeadsUpWnd headsUp{platform};
    HWND main = nullptr;
    HWND user = nullptr;
    HWND edit = nullptr;
};

TEST_F(HeadsUpWindowTest, ComesAtTheTaskbarsEdgeAndTellsItsOwnerOfAClickWithoutTakingTheFocus)
{
    g_alerts.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, OnAlert,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    for (int button : {IDC_HEADS_UP_START_NOW, IDC_HEADS_UP_POSTPONE}) {
        headsUp.Follow(main, true, View(30), kHeadsUpTickMs);
        PumpMessages();
        ASSERT_TRUE(headsUp.IsShown());
        EXPECT_EQ(platform.activeTimers[kBreakHeadsUpTimer], kHeadsUpTickMs);
        EXPECT_TRUE(FocusKept()) << button << ": as it comes";
        // Where the reminders' popup opens: with no taskbar, or one at the bottom or right, the
        // work area's corner, clear of its edges.
        RECT work{}, r{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(headsUp.Hwnd(), &r);
        EXPECT_EQ(r.right, work.right - 10) << button;
        EXPECT_EQ(r.bottom, work.bottom - 5) << button;

        // Clicked with the mouse, as the user does: the owner hears of it, the rules decide.
        GetWindowRect(headsUp.Item(button), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT click[2] = {{INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}},
                          {INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTUP, 0, 0}}}};
        SendInput(2, click, sizeof(INPUT));
        EXPECT_TRUE(PumpUntil([&] { return !g_commands.empty(); })) << button;
        EXPECT_EQ(g_commands, std::vector<int>{button});
        g_commands.clear();
        EXPECT_TRUE(headsUp.IsShown()) << button << ": only the rules take it away";
        EXPECT_TRUE(FocusKept()) << button << ": after the click";
        headsUp.Follow(main, false, {}, 0);
        EXPECT_FALSE(headsUp.IsShown()) << button;
        EXPECT_EQ(platform.activeTimers.count(kBreakHeadsUpTimer), 0u) << button;
    }
    PumpMessages();
    EXPECT_EQ(g_alerts, std::vector<HWND>(2, headsUp.Item(IDC_HEADS_UP_TEXT))) << "each time it comes";
    UnhookWinEvent(hook);
}

TEST_F(HeadsUpWindowTest, ShowsTheRulesTextsAndTicksAsOftenAsTheyAsk)
{
    const struct {
        bool shown;
        HeadsUpView view;
        std::uint32_t timerMs;
    } steps[] = {
        {true, View(30), kHeadsUpTickMs},
        {true, View(1), kPauseWatchTickMs},
        {false, {}, kHeadsUpTickMs},
        {true, View(12, false), kHeadsUpTickMs},
        {false, {}, 0},
    };
    int timersSet = 0;
    for (const auto& s : steps) {
        const int timersBefore = static_cast<int>(platform.timersSet.size());
        headsUp.Follow(main, s.shown, s.view, s.timerMs);
        EXPECT_EQ(headsUp.IsShown(), s.shown) << s.view.text;
        if (s.shown) {
            EXPECT_EQ(headsUp.ItemText(IDC_HEADS_UP_TEXT), s.view.text);
            EXPECT_EQ(headsUp.ItemText(IDC_HEADS_UP_POSTPONE), s.view.postponeCaption);
            EXPECT_EQ(headsUp.IsItemEnabled(IDC_HEADS_UP_POSTPONE), s.view.canPostpone) << s.view.text;
        }
        timersSet += static_cast<int>(platform.timersSet.size()) - timersBefore;
        if (s.timerMs != 0)
            EXPECT_EQ(platform.activeTimers[kBreakHeadsUpTimer], s.timerMs) << s.view.text;
        else
            EXPECT_EQ(platform.activeTimers.count(kBreakHeadsUpTimer), 0u);
    }
    EXPECT_EQ(timersSet, 3) << "the timer is set again only when its period changes";
}

} // namespace
