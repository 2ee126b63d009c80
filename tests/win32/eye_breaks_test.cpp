#include "app/main_window_win.h"
#include "app/timer_plan.h"
#include "breaks/eye_break_popup_win.h"
#include "fake_platform_win.h"
#include "messages/status_bar_popup_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The shown popup's countdown, or "gone".
std::string Count()
{
    HWND popup = FindWindowW(CEyeBreakPopup::kWindowClass, nullptr);
    wchar_t text[16] = L"gone";
    if (popup && IsWindowVisible(popup))
        GetDlgItemTextW(popup, IDC_EYE_BREAK_COUNT, text, 16);
    return Narrow(text);
}

TEST(EyeBreakPopupTest, ComesCountsAndTakesAClickWithoutTakingTheFocusFromWhereTheUserTypes)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    HWND edit =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, owner, nullptr, nullptr, nullptr);
    SetForegroundWindow(owner);
    SetFocus(edit);
    CEyeBreakPopup popup;
    ASSERT_TRUE(popup.Show(owner, 20));
    EXPECT_EQ(Count(), "20");
    RECT r{};
    GetWindowRect(popup.Hwnd(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT click[2] = {{INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}},
                      {INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTUP, 0, 0}}}};
    SendInput(2, click, sizeof(INPUT));
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 500; Sleep(10))
        PumpMessages();
    popup.ShowCount(0);
    EXPECT_EQ(Count(), "Done");
    EXPECT_TRUE(GetForegroundWindow() == owner && GetActiveWindow() == owner && GetFocus() == edit)
        << "foreground " << GetForegroundWindow() << ", focus " << GetFocus();
    // Its owner's end takes it too.
    DestroyWindow(owner);
    EXPECT_EQ(popup.Hwnd(), nullptr);
}

// The main window supervising at two in the afternoon with eye breaks after a minute of work, and
// time-break suggestions with their sound, so that every suggestion given is heard.
class EyeBreaksWindowTest : public ::testing::Test {
protected:
    void Open(const std::string& eyeBreaks)
    {
        ResetProgramState();
        platform.files["standard.txt"] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";
        platform.files["settings.txt"] = "STARTTRAY 0 FREQUENCE 1021 SOUND_ON_MSG 1 STARTPROGRAM true " + eyeBreaks;
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["activetimelog.txt"] = "";
        platform.now = LocalTime(2006, 12, 5, 14);
        window = std::make_unique<CTavrinDlg>(platform, icons);
        ASSERT_TRUE(window->Create(nullptr));
        PumpMessages();
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

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(EyeBreaksWindowTest, ASuggestionDueDuringTheEyeBreakComesWhenItHasGone)
{
    Open("EYE_BREAKS 1 EYE_BREAK_MINUTES 1");
    Pass(60);
    EXPECT_EQ(Count(), "20");
    window->OnTimer(kTimeBreakTimer);
    Pass(5, true);
    EXPECT_EQ(Count(), "15");
    Pass(15, true);
    EXPECT_EQ(Count(), "Done");
    EXPECT_TRUE(platform.soundsPlayed.empty()) << "the suggestion waits";
    Pass(2, true);
    EXPECT_EQ(Count(), "gone");
    EXPECT_EQ(platform.soundsPlayed.size(), 1u) << "the suggestion, now";
    // Its popup rolls in (its timers are the fake's) before the next eye break may come.
    while (HWND popup = FindWindowW(CStatusBarMsgWnd::kWindowClass, nullptr))
        DestroyWindow(popup);

    Pass(120);
    EXPECT_EQ(Count(), "20") << "two minutes after the suggestion";
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    EXPECT_EQ(Count(), "gone") << "Stop takes it away";
    EXPECT_NE(platform.files["breakhistory.txt"].find("2006-12-05 = breaks 0, postponed 0, eyes 1/2"),
              std::string::npos)
        << "the day's record: one taken of two offered";
    // A number the interval can't be is taken as 20 minutes, and shown so.
    window->SettingsDialog()->SetItemText(IDC_SETTINGS_EYE_BREAK_MINUTES, "0");
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_EYE_BREAK_MINUTES), "20");
}

TEST_F(EyeBreaksWindowTest, ABreakPutOffThatComesBackDuringAnEyeBreakComesAfterIt)
{
    Open("EYE_BREAKS 1 EYE_BREAK_MINUTES 1 FORCEBREAK 1");
    window->OnTimer(kTimeBreakTimer);
    HWND headsUp = FindWindowW(L"#32770", L"Break heads-up");
    ASSERT_TRUE(IsWindowVisible(headsUp));
    SendMessageW(GetDlgItem(headsUp, IDC_HEADS_UP_POSTPONE), BM_CLICK, 0, 0);
    ASSERT_FALSE(IsWindowVisible(headsUp));
    // The eye break comes two minutes after the heads-up, is missed by working on, and comes again
    // just as the five minutes are over.
    for (int second = 0; second < 300; ++second) {
        Pass(1);
        window->OnTimer(kBreakHeadsUpTimer);
    }
    EXPECT_EQ(Count(), "20");
    EXPECT_FALSE(IsWindowVisible(headsUp)) << "the break put off waits for the eye break";
    for (int second = 0; second < 22; ++second) {
        Pass(1, true);
        window->OnTimer(kBreakHeadsUpTimer);
        EXPECT_FALSE(IsWindowVisible(headsUp) && Count() != "gone") << "never both at the edge";
    }
    EXPECT_EQ(Count(), "gone");
    EXPECT_TRUE(IsWindowVisible(headsUp)) << "then the break's heads-up";
    Pass(120);
    EXPECT_EQ(Count(), "gone") << "no eye break while the heads-up is up";
}

TEST_F(EyeBreaksWindowTest, NoneWhenOffInACallOrPaused)
{
    const struct {
        const char* settings;
        bool inCall;
        int pauseCommand; // 0: none
    } cases[] = {
        {"EYE_BREAKS 0 EYE_BREAK_MINUTES 1", false, 0},
        {"EYE_BREAKS 1 EYE_BREAK_MINUTES 1", true, 0},
        {"EYE_BREAKS 1 EYE_BREAK_MINUTES 1", false, ID_TRAY_PAUSE_1_HOUR},
    };
    for (const auto& c : cases) {
        Open(c.settings);
        platform.quietState.inCall = c.inCall;
        window->OnTimer(kQuietCheckTimer);
        if (c.pauseCommand)
            SendMessageW(window->Hwnd(), WM_COMMAND, c.pauseCommand, 0);
        Pass(300);
        EXPECT_EQ(Count(), "gone") << c.settings << c.inCall;
        DestroyWindow(window->Hwnd());
    }
}

} // namespace
