#include "app/main_window_win.h"
#include "app/timer_plan.h"
#include "breaks/break_state.h"
#include "breaks/forced_break_dialog_win.h"
#include "fake_platform_win.h"
#include "messages/status_bar_popup_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr char kCatalogue[] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";

// The main window supervising, with forced breaks chosen, at two in the afternoon; Kelvaro never
// keeps quiet, as the reminders came before it could.
class RemindersWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = kCatalogue;
        platform.files["settings.txt"] = "STARTTRAY 0 FORCEBREAK 1 FORCEBREAK_WAIT 3 SOUND_LONGTIME_WARNING 1 "
                                         "STARTPROGRAM true HOLD_WHEN_BUSY 0 NATURAL_BREAKS 0";
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        // A second short of four hours today.
        platform.files["activetimelog.txt"] = "ACTIVE_TIME_TODAY 2006-12-5 = 3:59:59";
        platform.now = LocalTime(2006, 12, 5, 14);
        window = std::make_unique<CTavrinDlg>(platform, icons);
        EXPECT_TRUE(window->Create(nullptr));
        PumpMessages();
        ASSERT_TRUE(g_bRunning);
    }

    std::string OkCaption() { return g_pForceBreakDlg->ItemText(IDOK); }
    bool OkEnabled() { return g_pForceBreakDlg->IsItemEnabled(IDOK); }

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(RemindersWindowTest, ABreakCountsDownThenLetsTheUserGo)
{
    window->OnTimer(kTimeBreakTimer);
    ASSERT_NE(g_pForceBreakDlg, nullptr);
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible());
    EXPECT_EQ(platform.activeTimers[kBreakCountdownTimer], 1000u);
    EXPECT_EQ(OkCaption(), "OK");
    EXPECT_FALSE(OkEnabled());

    window->OnTimer(kBreakCountdownTimer);
    EXPECT_EQ(OkCaption(), "OK (Wait 2 sec)");
    EXPECT_TRUE(g_bBreakRunning);
    // Getting away from the break: closing the window brings it back, Quit asks first.
    SendMessageW(window->Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible());
    platform.answers.push_back(IDNO);
    Click(window->Hwnd(), IDC_MAIN_QUIT);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].caption, "Kelvaro WARNING!!!");
    EXPECT_TRUE(IsWindow(window->Hwnd()));

    window->OnTimer(kBreakCountdownTimer);
    window->OnTimer(kBreakCountdownTimer);
    EXPECT_EQ(OkCaption(), "OK");
    EXPECT_TRUE(OkEnabled());
    EXPECT_FALSE(g_bBreakRunning);
    EXPECT_EQ(platform.activeTimers.count(kBreakCountdownTimer), 0u);
    EXPECT_EQ(g_nBreakCountdown, 3);

    // The active time reaches the break dialog every second.
    platform.tickCount += 1000;
    window->OnTimer(kActivityTimer);
    EXPECT_EQ(g_pForceBreakDlg->ItemText(IDC_BREAK_ACTIVE_TIME), window->ItemText(IDC_MAIN_ACTIVE_TIME));
    Click(g_pForceBreakDlg->Hwnd(), IDOK);
    EXPECT_FALSE(g_pForceBreakDlg->IsVisible());
}

TEST_F(RemindersWindowTest, ABreakWhileTheLastIsShownGoesOnInItAndAClosedOneMakesWay)
{
    window->OnTimer(kTimeBreakTimer);
    CforceBreak* first = g_pForceBreakDlg;
    HWND firstWindow = first->Hwnd();
    window->OnTimer(kBreakCountdownTimer);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(g_pForceBreakDlg, first) << "no second dialog while the first is shown";
    window->OnTimer(kBreakCountdownTimer);
    EXPECT_EQ(OkCaption(), "OK (Wait 1 sec)") << "the same countdown goes on";
    window->OnTimer(kBreakCountdownTimer);
    ASSERT_TRUE(OkEnabled());

    // Shown still, its countdown over: the next break starts a countdown in it again.
    window->OnTimer(kTimeBreakTimer);
    EXPECT_FALSE(OkEnabled());
    window->OnTimer(kBreakCountdownTimer);
    EXPECT_EQ(OkCaption(), "OK (Wait 2 sec)");

    SendMessageW(g_pForceBreakDlg->Hwnd(), WM_COMMAND, IDCANCEL, 0);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_FALSE(IsWindow(firstWindow)) << "the closed dialog is gone";
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible());
}

TEST_F(RemindersWindowTest, TheFourHourWarningIsHeardAndHealthTipsStillPopUp)
{
    const int popups = CStatusBarMsgWnd::LiveCount();
    platform.tickCount += 1000;
    window->OnTimer(kActivityTimer);
    EXPECT_EQ(window->ItemText(IDC_MAIN_ACTIVE_TIME), "04:00:00");
    EXPECT_EQ(platform.soundsPlayed, std::vector<std::string>{"break.wav"});
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups) << "no warning popup while breaks are forced";
    platform.tickCount += 1000;
    window->OnTimer(kActivityTimer);
    EXPECT_EQ(platform.soundsPlayed.size(), 1u) << "once per four hours";

    window->OnTimer(kHealthTipTimer);
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups + 1) << "a health tip is never a break";
    EXPECT_EQ(g_pForceBreakDlg, nullptr);
}

TEST_F(RemindersWindowTest, AnEmptyListIsToldByOneBoxAtATime)
{
    platform.files["standard.txt"] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END--";
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    ASSERT_TRUE(g_bRunning);
    platform.messageBoxes.clear();
    // Further ticks come while the box is open, as its own message loop delivers them.
    platform.whileBoxOpen = [&] {
        window->OnTimer(kHealthTipTimer);
        window->OnTimer(kSleepMessageTimer);
    };
    window->OnTimer(kTimeBreakTimer);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text, "ERROR: No Sleep messages from file!");
    EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    window->OnTimer(kHealthTipTimer);
    EXPECT_EQ(platform.messageBoxes.size(), 2u) << "once answered, the next tick tells again";
}

TEST_F(RemindersWindowTest, AReminderWhoseBoxWasAnsweredAfterStopIsNotGiven)
{
    platform.files["standard.txt"] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END--";
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    ASSERT_TRUE(g_bRunning);
    // Stopped from the tray while the box of the empty list waits.
    platform.whileBoxOpen = [&] { Click(window->Hwnd(), IDC_MAIN_START_STOP); };
    window->OnTimer(kTimeBreakTimer);
    EXPECT_FALSE(g_bRunning);
    EXPECT_EQ(g_pForceBreakDlg, nullptr);
    EXPECT_TRUE(platform.soundsPlayed.empty());
}

} // namespace
