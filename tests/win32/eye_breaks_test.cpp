#include "app/main_window_win.h"
#include "app/timer_plan.h"
#include "breaks/eye_break_popup_win.h"
#include "fake_platform_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string Text(HWND window)
{
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return Narrow(text);
}

// The popup's countdown as shown, or "gone".
std::string Count()
{
    HWND popup = FindWindowW(CEyeBreakPopup::kWindowClass, nullptr);
    return popup && IsWindowVisible(popup) ? Text(GetDlgItem(popup, IDC_EYE_BREAK_COUNT)) : "gone";
}

std::vector<HWND> g_alerts;

void CALLBACK OnAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        g_alerts.push_back(window);
}

TEST(EyeBreakPopupTest, ComesAndCountsWithoutTakingTheFocusFromWhereTheUserTypes)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    HWND edit =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, owner, nullptr, nullptr, nullptr);
    SetForegroundWindow(owner);
    SetFocus(edit);
    auto focusKept = [&] {
        return GetForegroundWindow() == owner && GetActiveWindow() == owner && GetFocus() == edit;
    };
    ASSERT_TRUE(focusKept());
    g_alerts.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, OnAlert,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);

    CEyeBreakPopup popup;
    ASSERT_TRUE(popup.Show(owner, 20));
    PumpMessages();
    HWND window = popup.Hwnd();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(Text(window), "Rest your eyes: look at something far away") << "a screen reader's name for it";
    EXPECT_EQ(g_alerts, std::vector<HWND>{window});
    EXPECT_EQ(Count(), "20");
    // Inside the work area, at its corner by the taskbar.
    RECT r{};
    RECT work{};
    GetWindowRect(window, &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom);

    // A click on it, as the mouse gives it.
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT click[2] = {{INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}},
                      {INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTUP, 0, 0}}}};
    SendInput(2, click, sizeof(INPUT));
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 500; Sleep(10))
        PumpMessages();
    popup.ShowCount(7);
    EXPECT_EQ(Count(), "7");
    popup.ShowCount(0);
    EXPECT_EQ(Count(), "Done");
    EXPECT_TRUE(focusKept()) << "foreground " << GetForegroundWindow() << ", focus " << GetFocus();

    popup.Close();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(popup.Hwnd(), nullptr);
    // Its owner's end takes it too.
    ASSERT_TRUE(popup.Show(owner, 20));
    DestroyWindow(owner);
    EXPECT_EQ(popup.Hwnd(), nullptr);
    UnhookWinEvent(hook);
}

// The main window supervising at two in the afternoon, with time-break suggestions every 30
// minutes and their sound, so that every suggestion given is heard.
class EyeBreaksWindowTest : public ::testing::Test {
protected:
    void Open(const std::string& settings)
    {
        ResetProgramState();
        platform.files["standard.txt"] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";
        platform.files["settings.txt"] = "STARTTRAY 0 FREQUENCE 1021 SOUND_ON_MSG 1 STARTPROGRAM true " + settings;
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["activetimelog.txt"] = "";
        platform.now = LocalTime(2006, 12, 5, 14);
        window = std::make_unique<CTavrinDlg>(platform, icons);
        ASSERT_TRUE(window->Create(nullptr));
        PumpMessages();
        ASSERT_TRUE(g_bRunning);
    }

    // Seconds pass; the user works unless still.
    void Pass(int seconds, bool still = false)
    {
        for (int second = 0; second < seconds; ++second) {
            platform.tickCount += 1000;
            ++platform.now;
            if (!still)
                platform.lastInputTick = platform.tickCount - 300;
            window->OnTimer(kActivityTimer);
        }
    }
    size_t Heard() const { return platform.soundsPlayed.size(); }

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(EyeBreaksWindowTest, AReminderDueDuringTheEyeBreakComesWhenItHasGone)
{
    Open("EYE_BREAKS 1 EYE_BREAK_MINUTES 1");
    Pass(59);
    EXPECT_EQ(Count(), "gone");
    Pass(1);
    EXPECT_EQ(Count(), "20");
    EXPECT_NE(GetForegroundWindow(), FindWindowW(CEyeBreakPopup::kWindowClass, nullptr));
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 0u) << "the suggestion waits";

    Pass(5, true);
    EXPECT_EQ(Count(), "15");
    Pass(1);
    EXPECT_EQ(Count(), "20") << "input starts the countdown again";
    Pass(20, true);
    EXPECT_EQ(Count(), "Done");
    EXPECT_EQ(Heard(), 0u);
    Pass(2, true);
    EXPECT_EQ(Count(), "gone");
    EXPECT_EQ(Heard(), 1u) << "the suggestion, now";

    // Within two minutes of it, the next eye break waits; Stop takes a popup away.
    Pass(119);
    EXPECT_EQ(Count(), "gone");
    Pass(1);
    EXPECT_EQ(Count(), "20");
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    EXPECT_EQ(Count(), "gone");

    // A number the interval can't be is taken as 20 minutes, and shown so.
    g_pSettingsDlg->SetItemText(IDC_SETTINGS_EYE_BREAK_MINUTES, "0");
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    EXPECT_EQ(g_pSettingsDlg->ItemText(IDC_SETTINGS_EYE_BREAK_MINUTES), "20");
    Pass(20 * 60 - 1);
    EXPECT_EQ(Count(), "gone");
    Pass(1);
    EXPECT_EQ(Count(), "20");
}

TEST_F(EyeBreaksWindowTest, NoneWhenOffBusyOrPaused)
{
    const struct {
        const char* what;
        const char* settings;
        bool inCall;
        int pauseCommand; // 0: none
    } cases[] = {
        {"off", "EYE_BREAKS 0 EYE_BREAK_MINUTES 1", false, 0},
        {"a file without them", "", false, 0},
        {"in a call", "EYE_BREAKS 1 EYE_BREAK_MINUTES 1", true, 0},
        {"paused", "EYE_BREAKS 1 EYE_BREAK_MINUTES 1", false, ID_TRAY_PAUSE_1_HOUR},
    };
    for (const auto& c : cases) {
        Open(c.settings);
        platform.quietState.inCall = c.inCall;
        window->OnTimer(kQuietCheckTimer);
        if (c.pauseCommand)
            SendMessageW(window->Hwnd(), WM_COMMAND, c.pauseCommand, 0);
        Pass(30 * 60);
        EXPECT_EQ(Count(), "gone") << c.what;
        DestroyWindow(window->Hwnd());
    }
}

} // namespace
