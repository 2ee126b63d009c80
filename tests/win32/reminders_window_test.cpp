#include "app/main_window_win.h"
#include "app/timer_plan.h"
#include "breaks/break_state.h"
#include "breaks/forced_break_dialog_win.h"
#include "fake_platform_win.h"
#include "messages/quiet_keeper_win.h"
#include "messages/status_bar_popup_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <tuple>

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
        platform.files["settings.txt"] = settings;
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["activetimelog.txt"] = log;
        platform.now = LocalTime(2006, 12, 5, 14);
        window = std::make_unique<CTavrinDlg>(platform, icons);
        EXPECT_TRUE(window->Create(nullptr));
        PumpMessages();
        ASSERT_TRUE(g_bRunning);
    }

    // The notifications asked of the tray icon since the last look.
    std::vector<FakePlatform::TrayCall> Notifications()
    {
        std::vector<FakePlatform::TrayCall> sent;
        for (const FakePlatform::TrayCall& call : platform.trayCalls) {
            if (call.flags & NIF_INFO)
                sent.push_back(call);
        }
        platform.trayCalls.clear();
        return sent;
    }

    std::string OkCaption() { return g_pForceBreakDlg->ItemText(IDOK); }
    bool OkEnabled() { return g_pForceBreakDlg->IsItemEnabled(IDOK); }

    std::string settings = "STARTTRAY 0 FORCEBREAK 1 FORCEBREAK_WAIT 3 SOUND_LONGTIME_WARNING 1 STARTPROGRAM true "
                           "HOLD_WHEN_BUSY 0 NATURAL_BREAKS 0";
    // A second short of four hours today.
    std::string log = "ACTIVE_TIME_TODAY 2006-12-5 = 3:59:59";
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

TEST_F(RemindersWindowTest, EachBreakShowsTheNextIdeaOfTheFileAsItIsThen)
{
    const std::vector<std::string> ideas = {"Walk to a window", "Stretch", "Drink water"};
    platform.files["breakideas.txt"] = "# Ideas\r\nWalk to a window\r\n\r\n  Stretch \r\nDrink water";
    auto idea = [] { return g_pForceBreakDlg->ItemText(IDC_BREAK_IDEA); };
    window->OnTimer(kTimeBreakTimer);
    const auto first = std::find(ideas.begin(), ideas.end(), idea());
    ASSERT_NE(first, ideas.end()) << idea();
    const std::size_t turn = static_cast<std::size_t>(first - ideas.begin());
    window->OnTimer(kBreakCountdownTimer);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(idea(), ideas[turn]) << "a break that goes on keeps its idea";
    window->OnTimer(kBreakCountdownTimer);
    window->OnTimer(kBreakCountdownTimer);
    ASSERT_TRUE(OkEnabled());
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(idea(), ideas[(turn + 1) % 3]) << "a new countdown in the shown dialog";

    SendMessageW(g_pForceBreakDlg->Hwnd(), WM_COMMAND, IDCANCEL, 0);
    platform.files["breakideas.txt"] = "Roll your shoulders";
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(idea(), "Roll your shoulders") << "an edited file shows at the next break";
    EXPECT_TRUE(IsWindowVisible(g_pForceBreakDlg->Item(IDC_BREAK_IDEA)));

    // Without ideas, no box, and never a message box about the file.
    const std::function<void()> withoutIdeas[] = {
        [&] { platform.files["breakideas.txt"] = ""; },
        [&] { platform.files["breakideas.txt"] = "# only a comment\r\n \t\r\n"; },
        [&] { platform.files.erase("breakideas.txt"); },
        [&] {
            platform.files["breakideas.txt"] = "Walk";
            platform.unreadableFiles["breakideas.txt"] = 1;
        },
    };
    for (std::size_t i = 0; i < std::size(withoutIdeas); ++i) {
        SendMessageW(g_pForceBreakDlg->Hwnd(), WM_COMMAND, IDCANCEL, 0);
        withoutIdeas[i]();
        window->OnTimer(kTimeBreakTimer);
        EXPECT_EQ(idea(), "") << i;
        EXPECT_FALSE(IsWindowVisible(g_pForceBreakDlg->Item(IDC_BREAK_IDEA))) << i;
    }
    EXPECT_TRUE(platform.messageBoxes.empty());
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
    // Stopped from the tray while the box of the empty list waits.
    platform.whileBoxOpen = [&] {
        Click(window->Hwnd(), IDC_MAIN_START_STOP);
    };
    window->OnTimer(kTimeBreakTimer);
    EXPECT_FALSE(g_bRunning);
    EXPECT_EQ(g_pForceBreakDlg, nullptr);
}

TEST_F(RemindersWindowTest, ChosenNotificationsCarryEveryReminderTitledWithItsKind)
{
    window->m_settings.windowsNotifications = true;
    window->m_settings.forceBreak = false;
    const struct {
        int later;      // hours after two in the afternoon
        UINT_PTR timer; // the activity tick passes four hours
        const char* title;
        const char* text;
    } cases[] = {
        {0, kHealthTipTimer, "Health tip", "a"},
        {9, kSleepMessageTimer, "Time for bed", "c"},
        {0, kTimeBreakTimer, "Time for a break", "b"},
        {0, kActivityTimer, "Long activity", "WARNING!! You have now been active for a long period!"},
    };
    const std::int64_t afternoon = platform.now;
    const int popups = CStatusBarMsgWnd::LiveCount();
    for (const auto& c : cases) {
        platform.now = afternoon + c.later * 3600 + 45 * 60;
        platform.tickCount += 1000;
        window->OnTimer(c.timer);
        const auto sent = Notifications();
        ASSERT_EQ(sent.size(), 1u) << c.title;
        EXPECT_EQ(std::tie(sent[0].action, sent[0].infoTitle, sent[0].info, sent[0].infoFlags),
                  std::tuple(static_cast<DWORD>(NIM_MODIFY), c.title, c.text,
                             static_cast<DWORD>(NIIF_USER | NIIF_LARGE_ICON | NIIF_NOSOUND)))
            << c.title;
        EXPECT_EQ(sent[0].balloonIcon, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP)));
    }
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups);

    // A notification can't count down nor carry the heads-up's buttons: its own window comes.
    window->m_settings.forceBreak = true;
    window->m_settings.holdWhenBusy = true;
    platform.now = afternoon + 3 * 3600;
    window->OnTimer(kTimeBreakTimer);
    EXPECT_TRUE(Notifications().empty());
    EXPECT_TRUE(IsWindowVisible(FindWindowW(L"#32770", L"Break heads-up")));
}

TEST_F(RemindersWindowTest, WhereNoNotificationCanShowThePopupComesAndAClickOnOneOpensNothing)
{
    const struct {
        bool chosen;
        std::set<DWORD> refused;
        size_t tried;
    } cases[] = {{false, {}, 0}, {true, {NIM_MODIFY}, 1}, {true, {NIM_ADD, NIM_MODIFY}, 0}};
    for (const auto& c : cases) {
        window->m_settings.windowsNotifications = c.chosen;
        platform.refusedTrayActions = c.refused;
        // The last, a taskbar started again without a notification area.
        SendMessageW(window->Hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        Notifications();
        const int popups = CStatusBarMsgWnd::LiveCount();
        window->OnTimer(kHealthTipTimer);
        EXPECT_EQ(Notifications().size(), c.tried) << c.refused.size();
        EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups + 1) << c.refused.size();
    }

    SendMessageW(window->Hwnd(), WM_CLOSE, 0, 0);
    SendMessageW(window->Hwnd(), WM_TRAYNOTIFY, 0, NIN_BALLOONUSERCLICK);
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(window->Hwnd()));
    EXPECT_TRUE(platform.trayCalls.empty());
}

// Kelvaro keeping quiet, with time-break suggestions every 30 minutes and their sound, so that
// every reminder given is heard.
class QuietRemindersTest : public RemindersWindowTest {
protected:
    QuietRemindersTest()
    {
        settings = "STARTTRAY 0 FREQUENCE 1021 SOUND_ON_MSG 1 STARTPROGRAM true";
        log.clear();
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
};

TEST_F(QuietRemindersTest, APauseGivesNothingUntilTheUsersStopAndASleepKeepsIt)
{
    SendMessageW(window->Hwnd(), WM_COMMAND, ID_TRAY_PAUSE_1_HOUR, 0);
    const std::string paused = "Reminders paused until 15:00";
    EXPECT_EQ(platform.trayCalls.back().tip, "Active time today: 00:00:00\n" + paused) << "at once";
    EXPECT_EQ(platform.activeTimers[kPauseEndTimer], 3601000u);
    Pass(1);
    SendMessageW(window->Hwnd(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    SendMessageW(window->Hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    ASSERT_TRUE(g_bRunning);
    Pass(1);
    EXPECT_EQ(platform.trayCalls.back().tip, "Active time today: 00:00:02\n" + paused) << "a sleep keeps the pause";
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 0u);

    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    EXPECT_EQ(platform.trayCalls.back().tip, "Active time today: 00:00:02") << "Stop ended the pause at once";
    EXPECT_EQ(platform.activeTimers.count(kPauseEndTimer), 0u);
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 1u);

    // Stopped by a sleep and not started again (the catalogue went meanwhile): the line goes when the pause ends.
    SendMessageW(window->Hwnd(), WM_COMMAND, ID_TRAY_PAUSE_30_MINUTES, 0);
    SendMessageW(window->Hwnd(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    platform.files.erase("standard.txt");
    SendMessageW(window->Hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    ASSERT_FALSE(g_bRunning);
    platform.now += 1799;
    window->OnTimer(kPauseEndTimer);
    EXPECT_NE(platform.trayCalls.back().tip.find("paused"), std::string::npos) << "a timer early by a second";
    platform.now += 2;
    window->OnTimer(kPauseEndTimer);
    EXPECT_EQ(platform.trayCalls.back().tip, "Active time today: 00:00:02");
}

// The tray's pause outlasts the end of the Windows session, which a restart of the computer is, but not Quit.
TEST_F(QuietRemindersTest, APauseOutlastsARestartOfTheComputerButNotQuit)
{
    SendMessageW(window->Hwnd(), WM_COMMAND, ID_TRAY_PAUSE_2_HOURS, 0);
    SendMessageW(window->Hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_NE(platform.files["settings.txt"].find("\r\nPAUSED_UNTIL 2006-12-5 16:0:0\r\n"), std::string::npos);
    window.reset();
    ResetProgramState();
    window = std::make_unique<CTavrinDlg>(platform, icons);
    ASSERT_TRUE(window->Create(nullptr));
    PumpMessages();
    ASSERT_TRUE(g_bRunning);
    Pass(1);
    EXPECT_EQ(platform.trayCalls.back().tip, "Active time today: 00:00:01\nReminders paused until 16:00");
    EXPECT_EQ(platform.activeTimers[kPauseEndTimer], 7201000u);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 0u);
    // Resume and Stop end the pause and the file follows at once, so no crash brings it back.
    const auto paused = [&] { return platform.files["settings.txt"].find("PAUSED_UNTIL") != std::string::npos; };
    SendMessageW(window->Hwnd(), WM_COMMAND, ID_TRAY_RESUME, 0);
    EXPECT_FALSE(paused()) << "Resume";
    SendMessageW(window->Hwnd(), WM_COMMAND, ID_TRAY_PAUSE_1_HOUR, 0);
    EXPECT_TRUE(paused());
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    EXPECT_FALSE(paused()) << "Stop";
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    SendMessageW(window->Hwnd(), WM_COMMAND, ID_TRAY_PAUSE_1_HOUR, 0);
    Click(window->Hwnd(), IDC_MAIN_QUIT);
    EXPECT_FALSE(paused()) << "Quit";
}

// Working hours of Tuesday end at 17:00; Wednesday's begin at 09:00 and start the intervals again.
TEST_F(QuietRemindersTest, OutsideWorkingHoursNothingComesAndTheTooltipSaysUntilWhen)
{
    window.reset();
    ResetProgramState();
    platform.files["settings.txt"] =
        settings + " WORK_HOURS 1 DAILY_LIMIT 1 DAILY_LIMIT_TIME 0:1:0 BEDTIME 17:02 BEDTIME_REMINDER 1 "
                   "WINDOWS_NOTIFICATIONS 1";
    platform.now = LocalTime(2006, 12, 5, 16, 59, 50);
    window = std::make_unique<CTavrinDlg>(platform, icons);
    ASSERT_TRUE(window->Create(nullptr));
    PumpMessages();
    Pass(5);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 1u);
    Pass(5);
    EXPECT_EQ(platform.trayCalls.back().tip, "Active time today: 00:00:10\nOutside working hours until Wed 09:00");
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 1u) << "no suggestion after 17:00";
    Pass(170);
    EXPECT_EQ(Heard(), 2u) << "the daily limit keeps its own rules, two minutes after the last reminder";
    Pass(65);
    EXPECT_EQ(Heard(), 3u) << "the bedtime's reminder comes two minutes after the daily limit's";
    const auto notification = std::find_if(platform.trayCalls.rbegin(), platform.trayCalls.rend(),
                                           [](const auto& call) { return !call.infoTitle.empty(); });
    ASSERT_NE(notification, platform.trayCalls.rend());
    EXPECT_EQ(notification->infoTitle, "Bedtime");
    EXPECT_EQ(notification->info, "It is 17:02, your bedtime.");
    Pass(600);
    EXPECT_EQ(Heard(), 3u) << "once an evening";
    platform.now = LocalTime(2006, 12, 6, 8, 59, 59);
    platform.activeTimers.erase(kTimeBreakTimer);
    Pass(1);
    EXPECT_EQ(platform.activeTimers[kTimeBreakTimer], PlanMessagePeriods(IDC_MAIN_30_MIN, 0).timeBreakMs)
        << "the interval counts from 09:00";
    EXPECT_EQ(platform.trayCalls.back().tip.find('\n'), std::string::npos);
}

TEST_F(QuietRemindersTest, HoldingOffNeverAsksTheSystem)
{
    window->m_settings.holdWhenBusy = false;
    platform.quietState.inCall = true;
    const int reads = platform.quietStateReads;
    window->OnTimer(kQuietCheckTimer);
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 1u);
    EXPECT_EQ(platform.quietStateReads, reads);
}

TEST_F(QuietRemindersTest, TheEndOfASpellIsSeenByWhicheverTickReadItAndGivesWhatWasHeld)
{
    window->m_settings.soundLongtimeWarning = true;
    platform.files["standard.txt"] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END--";
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    platform.files["activetimelog.txt"] = "ACTIVE_TIME_TODAY 2006-12-5 = 3:59:59";
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    platform.messageBoxes.clear();
    const int popups = CStatusBarMsgWnd::LiveCount();

    // In a call: the suggestion, the four-hour warning and the box of the empty list all wait.
    platform.quietState.inCall = true;
    window->OnTimer(kQuietCheckTimer);
    window->OnTimer(kTimeBreakTimer);
    Pass(1);
    window->OnTimer(kHealthTipTimer);
    EXPECT_EQ(Heard(), 0u);
    EXPECT_TRUE(platform.messageBoxes.empty());
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups);

    // The call ends just before a health tip falls due: its reading sees the end.
    platform.quietState = {};
    window->OnTimer(kHealthTipTimer);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups + 1) << "the health tip";
    platform.messageBoxes.clear();
    window->OnTimer(kQuietCheckTimer);
    EXPECT_EQ(platform.soundsPlayed, std::vector<std::string>{"break.wav"}) << "the most recent held: the warning";
    EXPECT_EQ(platform.messageBoxes.size(), 0u) << "the box was told at the health tip";
    window->OnTimer(kQuietCheckTimer);
    EXPECT_EQ(Heard(), 1u) << "once";

    // Seen by the quiet check itself, the end tells the box that waited, once.
    platform.quietState.presenting = true;
    window->OnTimer(kHealthTipTimer);
    window->OnTimer(kSleepMessageTimer);
    platform.quietState = {};
    window->OnTimer(kQuietCheckTimer);
    window->OnTimer(kQuietCheckTimer);
    EXPECT_EQ(platform.messageBoxes.size(), 1u);
}

TEST_F(QuietRemindersTest, ABreakComesAfterItsHeadsUpAndFiveMinutesAwayStartItsIntervalAgain)
{
    window->m_settings.forceBreak = true;
    const int popups = CStatusBarMsgWnd::LiveCount();
    window->OnTimer(kTimeBreakTimer);
    HWND headsUp = FindWindowW(L"#32770", L"Break heads-up");
    EXPECT_TRUE(IsWindowVisible(headsUp));
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), popups) << "the heads-up is no popup";
    EXPECT_EQ(Heard(), 1u);
    EXPECT_EQ(platform.activeTimers[kBreakHeadsUpTimer], 1000u);
    // A break due meanwhile comes with this one, unheard.
    window->OnTimer(kTimeBreakTimer);
    EXPECT_EQ(Heard(), 1u);
    Pass(29);
    window->OnTimer(kBreakHeadsUpTimer);
    EXPECT_EQ(g_pForceBreakDlg, nullptr) << "a second to go";
    // The user types on: the break waits for a pause, watching for it four times a second.
    Pass(1);
    window->OnTimer(kBreakHeadsUpTimer);
    EXPECT_EQ(g_pForceBreakDlg, nullptr) << "mid-sentence";
    EXPECT_EQ(platform.activeTimers[kBreakHeadsUpTimer], 250u);
    Pass(2, true);
    window->OnTimer(kBreakHeadsUpTimer);
    ASSERT_NE(g_pForceBreakDlg, nullptr);
    EXPECT_FALSE(IsWindowVisible(headsUp));
    EXPECT_EQ(platform.activeTimers.count(kBreakHeadsUpTimer), 0u);

    Pass(300, true);
    Pass(1);
    EXPECT_EQ(platform.timersSet.back().id, static_cast<UINT_PTR>(kTimeBreakTimer));
    EXPECT_EQ(platform.timersSet.back().periodMs, 1830000u);

    // A film that keeps the display on while nothing is touched is screen time, not a break.
    platform.displayRequired = true;
    const size_t timersSet = platform.timersSet.size();
    Pass(300, true);
    Pass(1);
    platform.displayRequired = false;
    EXPECT_EQ(platform.timersSet.size(), timersSet) << "no interval starts again";

    // Without time-break suggestions there is no interval to start again.
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    window->m_settings.timeBreakMsg = false;
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    Pass(300, true);
    Pass(1);
    EXPECT_EQ(platform.activeTimers.count(kTimeBreakTimer), 0u);
}

TEST_F(QuietRemindersTest, TheHeadsUpAndTheBreakStayWhenTheWindowHidesAndTheHeadsUpGoesWithStop)
{
    window->m_settings.forceBreak = true;
    window->OnTimer(kTimeBreakTimer);
    HWND headsUp = FindWindowW(L"#32770", L"Break heads-up");
    ASSERT_TRUE(IsWindowVisible(headsUp));
    SendMessageW(window->Hwnd(), WM_CLOSE, 0, 0);
    SendMessageW(window->Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(window->Hwnd()));
    EXPECT_TRUE(IsWindowVisible(headsUp)) << "its Postpone button stays at hand";

    // Its buttons reach the rules through the main window, hidden or not.
    SendMessageW(GetDlgItem(headsUp, IDC_HEADS_UP_POSTPONE), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowVisible(headsUp)) << "put off";
    Pass(300);
    window->OnTimer(kBreakHeadsUpTimer);
    ASSERT_TRUE(IsWindowVisible(headsUp)) << "back five minutes later";
    SendMessageW(GetDlgItem(headsUp, IDC_HEADS_UP_START_NOW), BM_CLICK, 0, 0);
    ASSERT_NE(g_pForceBreakDlg, nullptr);
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible());
    EXPECT_FALSE(IsWindowVisible(headsUp));
    for (int second = 0; second < 60; ++second)
        window->OnTimer(kBreakCountdownTimer);
    EXPECT_TRUE(g_pForceBreakDlg->IsItemEnabled(IDOK));
    SendMessageW(window->Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(g_pForceBreakDlg->IsVisible()) << "a break whose countdown ended stays until its OK";

    // Stop takes the heads-up away, and its timer.
    window->OnTimer(kTimeBreakTimer);
    ASSERT_TRUE(IsWindowVisible(headsUp));
    Click(window->Hwnd(), IDC_MAIN_START_STOP);
    EXPECT_FALSE(g_bRunning);
    EXPECT_FALSE(IsWindowVisible(headsUp));
    EXPECT_EQ(platform.activeTimers.count(kBreakHeadsUpTimer), 0u);
    EXPECT_NE(platform.files["breakhistory.txt"].find("2006-12-05 = breaks 1, postponed 1, eyes 0/0"),
              std::string::npos)
        << platform.files["breakhistory.txt"];
}

TEST(QuietKeeperMenu, ThePauseEntriesFollowSupervisionAndTheChosenPause)
{
    FakePlatform platform;
    CBreakHistory record;
    SupervisionState state;
    BreakCoordinator rules{record, state};
    SettingsModel settings;
    CQuietKeeper keeper(platform, rules, settings);
    const struct {
        bool running;
        int chosen; // 0: no pause
        std::int64_t later;
        int checked; // 0: none
    } cases[] = {
        {false, 0, 0, 0},
        {true, 0, 0, 0},
        {true, ID_TRAY_PAUSE_30_MINUTES, 0, ID_TRAY_PAUSE_30_MINUTES},
        {true, ID_TRAY_PAUSE_1_HOUR, 3599, ID_TRAY_PAUSE_1_HOUR},
        {true, ID_TRAY_PAUSE_2_HOURS, 7200, 0},
    };
    for (const auto& c : cases) {
        if (c.chosen) {
            ASSERT_TRUE(keeper.OnTrayCommand(c.chosen));
        }
        platform.now += c.later;
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
        HMENU tray = GetSubMenu(menu, 0);
        keeper.PrepareTrayMenu(tray, c.running);
        HMENU pause = GetSubMenu(tray, 2);
        EXPECT_EQ((GetMenuState(tray, 2, MF_BYPOSITION) & MF_GRAYED) != 0, !c.running) << c.chosen;
        for (int entry = ID_TRAY_PAUSE_30_MINUTES; entry <= ID_TRAY_PAUSE_UNTIL_MORNING; ++entry) {
            EXPECT_EQ((GetMenuState(pause, entry, MF_BYCOMMAND) & MF_CHECKED) != 0, entry == c.checked) << c.chosen;
        }
        EXPECT_EQ(GetMenuState(tray, ID_TRAY_RESUME, MF_BYCOMMAND) != static_cast<UINT>(-1), c.checked != 0)
            << c.chosen << ": Resume only while paused";
        DestroyMenu(menu);
    }
}

} // namespace
