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

// The main window supervising at two in the afternoon, with a user at work, time-break
// suggestions every 30 minutes and the message sound on, so that every reminder given is heard.
class QuietKeeperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = kCatalogue;
        platform.files["settings.txt"] = "STARTTRAY 0 FREQUENCE 1021 SOUND_ON_MSG 1 STARTPROGRAM true";
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["activetimelog.txt"] = "";
        platform.now = LocalTime(2006, 12, 5, 14);
        window = std::make_unique<CTavrinDlg>(platform, icons);
        EXPECT_TRUE(window->Create(nullptr));
        PumpMessages();
        ASSERT_TRUE(g_bRunning);
    }

    // Seconds pass; the user works unless away.
    void Pass(int seconds, bool away = false)
    {
        for (int second = 0; second < seconds; ++second) {
            platform.tickCount += 1000;
            ++platform.now;
            if (!away)
                platform.lastInputTick = platform.tickCount;
            window->OnTimer(kActivityTimer);
        }
    }

    size_t Heard() const { return platform.soundsPlayed.size(); }

    std::string Tooltip() const { return platform.trayCalls.back().tip; }

    void Choose(int command) { SendMessageW(window->Hwnd(), WM_COMMAND, command, 0); }

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(QuietKeeperTest, BusyHoldsRemindersAndItsEndGivesTheLatestOneOnly)
{
    const int popups = CStatusBarMsgWnd::LiveCount();
    platform.quietState.inCall = true;
    window->OnTimer(kQuietCheckTimer);
    window->OnTimer(kTimeBreakTimer);
    window->OnTimer(kHealthTipTimer);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 0u) << "nothing in a call";
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups);
    Pass(3);
    EXPECT_EQ(window->ItemText(IDC_MAIN_ACTIVE_TIME), "00:00:03") << "the count goes on";

    platform.quietState.inCall = false;
    window->OnTimer(kQuietCheckTimer);
    EXPECT_EQ(Heard(), 1u);
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups + 1);
    window->OnTimer(kQuietCheckTimer);
    EXPECT_EQ(Heard(), 1u) << "one held reminder, once";

    // Holding off: reminders come in a call too, as they always did.
    g_pSettingsDlg->SetChecked(IDC_SETTINGS_HOLD_WHEN_BUSY, false);
    platform.quietState.inCall = true;
    const int reads = platform.quietStateReads;
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 2u);
    EXPECT_EQ(platform.quietStateReads, reads) << "nor is the system asked";
}

TEST_F(QuietKeeperTest, APauseHoldsEverythingUntilItEndsAndGivesNothingAfter)
{
    platform.quietState.fullScreen = true;
    window->OnTimer(kQuietCheckTimer);
    window->OnTimer(kTimeBreakTimer);
    Choose(ID_TRAY_PAUSE_1_HOUR);
    Pass(1);
    EXPECT_EQ(Tooltip(), "Active time today: 00:00:01\nReminders paused until 15:00");
    platform.quietState.fullScreen = false;
    window->OnTimer(kQuietCheckTimer);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 0u) << "paused";
    platform.now += 3600;
    Pass(1);
    EXPECT_EQ(Tooltip(), "Active time today: 00:00:02") << "the pause ended by itself";
    window->OnTimer(kQuietCheckTimer);
    EXPECT_EQ(Heard(), 0u) << "nothing held comes after a pause";

    Choose(ID_TRAY_PAUSE_UNTIL_MORNING);
    Pass(1);
    EXPECT_EQ(Tooltip(), "Active time today: 00:00:03\nReminders paused until 06:00");
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 1u) << "Stop ended the pause";
}

TEST(QuietKeeperMenu, ThePauseEntriesShowTheChoiceAndResumeOnlyWhilePaused)
{
    FakePlatform platform;
    CQuietKeeper keeper(platform);
    auto menuState = [&keeper](bool running, UINT item, UINT by) {
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
        HMENU tray = GetSubMenu(menu, 0);
        keeper.PrepareTrayMenu(tray, running);
        const UINT state = GetMenuState(tray, item, by);
        DestroyMenu(menu);
        return state;
    };
    constexpr UINT kMissing = static_cast<UINT>(-1);
    EXPECT_EQ(menuState(true, ID_TRAY_RESUME, MF_BYCOMMAND), kMissing);
    EXPECT_NE(menuState(false, 2, MF_BYPOSITION) & MF_GRAYED, 0u) << "no pause while stopped";
    EXPECT_EQ(menuState(true, 2, MF_BYPOSITION) & MF_GRAYED, 0u);

    ASSERT_TRUE(keeper.OnTrayCommand(ID_TRAY_PAUSE_2_HOURS));
    EXPECT_NE(menuState(true, ID_TRAY_PAUSE_2_HOURS, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(menuState(true, ID_TRAY_PAUSE_1_HOUR, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_NE(menuState(true, ID_TRAY_RESUME, MF_BYCOMMAND), kMissing);
    ASSERT_TRUE(keeper.OnTrayCommand(ID_TRAY_RESUME));
    EXPECT_EQ(menuState(true, ID_TRAY_RESUME, MF_BYCOMMAND), kMissing);
    EXPECT_FALSE(keeper.OnTrayCommand(ID_TRAY_QUIT));
}

TEST_F(QuietKeeperTest, ABreakComesAfterItsHeadsUpUnlessTheUserWentAway)
{
    g_pSettingsDlg->SetChecked(IDC_SETTINGS_FORCE_BREAK, true);
    const int popups = CStatusBarMsgWnd::LiveCount();
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups + 1) << "the heads-up";
    EXPECT_EQ(g_pForceBreakDlg, nullptr);
    EXPECT_EQ(platform.activeTimers[kBreakHeadsUpTimer], 30000u);
    window->OnTimer(kBreakHeadsUpTimer);
    ASSERT_NE(g_pForceBreakDlg, nullptr);
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible());

    g_pForceBreakDlg->Show(SW_HIDE);
    window->OnTimer(kTimeBreakTimer);
    Pass(61, true);
    window->OnTimer(kBreakHeadsUpTimer);
    EXPECT_FALSE(g_pForceBreakDlg->IsVisible()) << "away: the break is dropped";
}

TEST_F(QuietKeeperTest, FiveMinutesAwayRestartTheBreakIntervalAndDropWhatFellDue)
{
    Pass(10);
    const size_t armed = platform.timersSet.size();
    Pass(200, true);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 0u) << "away";
    Pass(100, true);
    EXPECT_EQ(platform.timersSet.size(), armed);
    Pass(1);
    ASSERT_EQ(platform.timersSet.size(), armed + 1);
    EXPECT_EQ(platform.timersSet.back().id, static_cast<UINT_PTR>(kTimeBreakTimer));
    EXPECT_EQ(platform.timersSet.back().periodMs, 1830000u);
    window->OnTimer(kQuietCheckTimer);
    EXPECT_EQ(Heard(), 0u) << "nothing was held";
}

} // namespace
