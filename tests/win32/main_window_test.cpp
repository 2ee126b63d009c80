#include "app/main_window_win.h"

#include "app/timer_plan.h"
#include "app/tray_icon_win.h"
#include "appearance/palette.h"
#include "breaks/break_state.h"
#include "fake_platform_win.h"
#include "modal_watchdog_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "shutdown/set_time_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// The first-start defaults, but staying shown and stopped so that each test starts from there.
constexpr char kStoppedSettings[] =
    "HEALTH_MSG 1\r\nTIMEBREAK_MSG 1\r\nSLEEP_MSG 1\r\nSOUND_ON_MSG 0\r\nSOUND_LONGTIME_WARNING 0\r\n"
    "SHUTDOWN 0\r\nTIMELIMIT 0:0:0\r\nFREQUENCE 0\r\nSTARTTRAY 0\r\nFORCEBREAK 0\r\nFORCEBREAK_WAIT 60\r\n"
    "ONLYSOUND 0\r\nKEYBOARD_LEDS 0\r\nSOUNDMSG_PATH message.wav\r\nSOUNDWARNING_PATH break.wav\r\n"
    "OTHERTIME 120\r\nSTARTPROGRAM false\r\n";

constexpr char kCatalogue[] = "--HEALTH-- Sit up straight ; --END-- --TIMEBREAKS-- Walk a little ; --END-- "
                              "--SLEEP-- Go to bed ; --END--";

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = kCatalogue;
        platform.files["settings.txt"] = kStoppedSettings;
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["activetimelog.txt"] = "";
    }

    // Creates the main window modeless so the test can drive it between messages.
    HWND Open()
    {
        window.reset();
        window = std::make_unique<CTavrinDlg>(platform, icons);
        EXPECT_TRUE(window->Create(nullptr));
        PumpMessages();
        return window->Hwnd();
    }

    bool Enabled(CDialog* dialog, int id) { return dialog->IsItemEnabled(id); }

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(MainWindowTest, InitialisationSetsTheDefaults)
{
    platform.environment["OS"] = "Windows_NT";
    HWND main = Open();
    EXPECT_EQ(window->CheckedButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER), IDC_MAIN_60_MIN);
    EXPECT_TRUE(window->IsChecked(IDC_MAIN_HEALTH_TIPS));
    EXPECT_TRUE(window->IsChecked(IDC_MAIN_TIME_BREAKS));
    EXPECT_TRUE(window->IsChecked(IDC_MAIN_SLEEP_MESSAGES));
    EXPECT_FALSE(window->IsChecked(IDC_MAIN_SHUTDOWN));
    EXPECT_TRUE(window->IsChecked(IDC_MAIN_LAUNCH_MINIMIZED));
    EXPECT_EQ(window->ItemText(IDC_MAIN_OTHER_MINUTES), "120");
    EXPECT_FALSE(window->IsItemEnabled(IDC_MAIN_OTHER_MINUTES));
    EXPECT_EQ(window->ItemText(IDC_MAIN_START_STOP), "Start");
    EXPECT_TRUE(g_bWindowsNT);

    ASSERT_NE(window->SettingsDialog(), nullptr);
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_MESSAGE_SOUND), "message.wav");
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_WARNING_SOUND), "break.wav");
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_WAIT_SECONDS), "60");
    EXPECT_FALSE(window->SettingsDialog()->IsVisible());
    ASSERT_NE(window->SetTimeDialog(), nullptr);
    EXPECT_EQ(window->SetTimeDialog()->CheckedButton(IDC_SETTIME_SHUTDOWN, IDC_SETTIME_POWER_OFF), IDC_SETTIME_SHUTDOWN);
    EXPECT_TRUE(window->SetTimeDialog()->IsChecked(IDC_SETTIME_WARNING));
    EXPECT_FALSE(window->SetTimeDialog()->IsVisible());
    EXPECT_EQ(window->SetTimeDialog()->m_nHour + window->SetTimeDialog()->m_nMinute + window->SetTimeDialog()->m_nSecond, 0);

    // The system menu ends with a separator and the About entry.
    HMENU systemMenu = GetSystemMenu(main, FALSE);
    const int count = GetMenuItemCount(systemMenu);
    wchar_t text[64] = {};
    GetMenuStringW(systemMenu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&About Tavrin...");
    EXPECT_EQ(GetMenuItemID(systemMenu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(GetMenuState(systemMenu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
}

TEST_F(MainWindowTest, StartLocksEveryChoiceAndStopUnlocksThem)
{
    HWND main = Open();
    window->SettingsDialog()->SetItemText(IDC_SETTINGS_WAIT_SECONDS, "45");
    Click(main, IDC_MAIN_START_STOP);

    ASSERT_TRUE(g_bRunning);
    EXPECT_EQ(window->ItemText(IDC_MAIN_START_STOP), "Stop");
    EXPECT_EQ(g_nBreakCountdown, 45);
    EXPECT_EQ(window->m_nFrequence, IDC_MAIN_60_MIN);
    const int mainLocked[] = {IDC_MAIN_HEALTH_TIPS, IDC_MAIN_SLEEP_MESSAGES, IDC_MAIN_TIME_BREAKS,   IDC_MAIN_SHUTDOWN,
                              IDC_MAIN_SET_TIME,    IDC_MAIN_MORE_SETTINGS,  IDC_MAIN_OTHER_MINUTES, IDC_MAIN_30_MIN,
                              IDC_MAIN_45_MIN,      IDC_MAIN_60_MIN,         IDC_MAIN_OTHER};
    const int settingsLocked[] = {IDC_SETTINGS_SOUND_WARNING, IDC_SETTINGS_SOUND_ON_MSG, IDC_SETTINGS_EYE_BREAKS,
                                  IDC_SETTINGS_EYE_BREAK_MINUTES,
                                  // the working day
                                  IDC_SETTINGS_WORK_HOURS, IDC_SETTINGS_WORK_HOURS_EDIT, IDC_SETTINGS_DAILY_LIMIT,
                                  IDC_SETTINGS_DAILY_LIMIT_HOURS, IDC_SETTINGS_DAILY_LIMIT_MINUTES};
    const int setTimeLocked[] = {IDOK,
                                 IDCANCEL,
                                 IDC_SETTIME_WARNING,
                                 IDC_SETTIME_PICKER,
                                 IDC_SETTIME_SHUTDOWN,
                                 IDC_SETTIME_LOG_OFF,
                                 IDC_SETTIME_REBOOT,
                                 IDC_SETTIME_POWER_OFF};
    for (int id : mainLocked)
        EXPECT_FALSE(window->IsItemEnabled(id)) << "main " << id;
    for (int id : settingsLocked)
        EXPECT_FALSE(window->SettingsDialog()->IsItemEnabled(id)) << "settings " << id;
    for (int id : setTimeLocked)
        EXPECT_FALSE(window->SetTimeDialog()->IsItemEnabled(id)) << "set time " << id;
    const int stillUsable[] = {IDC_MAIN_START_STOP, IDC_MAIN_QUIT, IDC_MAIN_ABOUT, IDC_MAIN_SHOW_HISTORY,
                               IDC_MAIN_LAUNCH_MINIMIZED};
    for (int id : stillUsable)
        EXPECT_TRUE(window->IsItemEnabled(id)) << "main " << id;
    EXPECT_TRUE(window->SettingsDialog()->IsItemEnabled(IDC_SETTINGS_FORCE_BREAK));

    // A locked radio button can't be clicked.
    Click(main, IDC_MAIN_30_MIN);
    EXPECT_EQ(window->CheckedButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER), IDC_MAIN_60_MIN);

    Click(main, IDC_MAIN_START_STOP);
    ASSERT_FALSE(g_bRunning);
    EXPECT_EQ(window->ItemText(IDC_MAIN_START_STOP), "Start");
    for (int id : mainLocked)
        EXPECT_EQ(window->IsItemEnabled(id), id != IDC_MAIN_OTHER_MINUTES) << "main " << id;
    for (int id : settingsLocked)
        EXPECT_TRUE(window->SettingsDialog()->IsItemEnabled(id)) << "settings " << id;
    for (int id : setTimeLocked)
        EXPECT_TRUE(window->SetTimeDialog()->IsItemEnabled(id)) << "set time " << id;
}

TEST_F(MainWindowTest, StopEnablesTheMinutesFieldOnlyUnderOther)
{
    HWND main = Open();
    Click(main, IDC_MAIN_OTHER);
    EXPECT_TRUE(window->IsItemEnabled(IDC_MAIN_OTHER_MINUTES));
    Click(main, IDC_MAIN_START_STOP);
    EXPECT_FALSE(window->IsItemEnabled(IDC_MAIN_OTHER_MINUTES));
    Click(main, IDC_MAIN_START_STOP);
    EXPECT_TRUE(window->IsItemEnabled(IDC_MAIN_OTHER_MINUTES));
    Click(main, IDC_MAIN_45_MIN);
    EXPECT_FALSE(window->IsItemEnabled(IDC_MAIN_OTHER_MINUTES));
}

TEST_F(MainWindowTest, StartArmsTheTimersOfThePlanAndStopKillsThem)
{
    HWND main = Open();
    Click(main, IDC_MAIN_OTHER);
    window->SetItemText(IDC_MAIN_OTHER_MINUTES, "1");
    Click(main, IDC_MAIN_SHUTDOWN);
    Click(main, IDC_MAIN_START_STOP);
    EXPECT_EQ(platform.activeTimers,
              (std::map<UINT_PTR, UINT>{
                  {1, 139800}, {2, 60000}, {3, 60000}, {4, 1000}, {6, 1000}, {8, 300000}, {kQuietCheckTimer, 5000}}));
    EXPECT_EQ(window->m_nFrequence, IDC_MAIN_OTHER);

    platform.SetWindowTimer(main, kBreakCountdownTimer, 1000);
    Click(main, IDC_MAIN_START_STOP);
    // The break countdown is not supervision's to stop.
    EXPECT_EQ(platform.activeTimers, (std::map<UINT_PTR, UINT>{{kBreakCountdownTimer, 1000}}));

    Click(main, IDC_MAIN_HEALTH_TIPS);
    Click(main, IDC_MAIN_TIME_BREAKS);
    Click(main, IDC_MAIN_SLEEP_MESSAGES);
    Click(main, IDC_MAIN_SHUTDOWN);
    Click(main, IDC_MAIN_START_STOP);
    EXPECT_EQ(platform.activeTimers,
              (std::map<UINT_PTR, UINT>{
                  {kBreakCountdownTimer, 1000}, {6, 1000}, {kSaveTimeFilesTimer, 300000}, {kQuietCheckTimer, 5000}}));
}

TEST_F(MainWindowTest, StartRefusesWithoutAnInterval)
{
    struct Case {
        int button;
        const char* minutes;
        bool starts;
    } cases[] = {{IDC_MAIN_30_MIN, "", false},
                 {IDC_MAIN_OTHER, "0", false},
                 {IDC_MAIN_OTHER, "", false},
                 {IDC_MAIN_OTHER, "1", true}};
    for (const Case& c : cases) {
        // Every Start writes the settings, with STARTPROGRAM true; begin each case afresh.
        ResetProgramState();
        platform.files["settings.txt"] = kStoppedSettings;
        platform.messageBoxes.clear();
        HWND main = Open();
        Click(main, c.button);
        window->SetItemText(IDC_MAIN_OTHER_MINUTES, c.minutes);
        Click(main, IDC_MAIN_START_STOP);
        EXPECT_EQ(g_bRunning, c.starts) << c.button << " '" << c.minutes << "'";
        if (c.starts) {
            EXPECT_TRUE(platform.messageBoxes.empty());
            continue;
        }
        ASSERT_EQ(platform.messageBoxes.size(), 1u) << c.button << " '" << c.minutes << "'";
        EXPECT_EQ(platform.messageBoxes[0].text, "You must specify an interval >= 1");
        EXPECT_EQ(platform.messageBoxes[0].caption, "Kelvaro WARNING!!!");
        EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        EXPECT_EQ(window->ItemText(IDC_MAIN_START_STOP), "Start");
        EXPECT_TRUE(window->IsItemEnabled(IDC_MAIN_HEALTH_TIPS));
        EXPECT_TRUE(platform.activeTimers.empty());
    }
}

TEST_F(MainWindowTest, WithoutTheCatalogueStartAndStopDoNothing)
{
    HWND main = Open();
    Click(main, IDC_MAIN_START_STOP);
    ASSERT_TRUE(g_bRunning);
    platform.files.erase("standard.txt");
    Click(main, IDC_MAIN_START_STOP);
    EXPECT_TRUE(g_bRunning);
    EXPECT_EQ(window->ItemText(IDC_MAIN_START_STOP), "Stop");
    ASSERT_FALSE(platform.messageBoxes.empty());
    EXPECT_EQ(platform.messageBoxes.back().text, "could not open standard.txt");
    EXPECT_EQ(platform.messageBoxes.back().caption, "Could not open");
    EXPECT_EQ(platform.messageBoxes.back().flags, static_cast<UINT>(MB_OK | MB_SYSTEMMODAL | MB_TOPMOST));
}

TEST_F(MainWindowTest, CloseAndMinimiseHideAndEnterDoesNothing)
{
    HWND main = Open();
    ShowWindow(main, SW_SHOW);
    Click(main, IDC_MAIN_MORE_SETTINGS);
    ASSERT_TRUE(window->SettingsDialog()->IsVisible());
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(window->SettingsDialog()->IsVisible()); // the windows it owns go to the tray with it
    EXPECT_TRUE(IsWindow(main));

    window->m_bHidden = 1;
    window->RestoreFromTray();
    EXPECT_TRUE(IsWindowVisible(main));
    SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(window->m_bHidden, 1);

    window->RestoreFromTray();
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(platform.messageBoxes.empty());
}

TEST_F(MainWindowTest, TheInfoLabelExplainsTheIdleRule)
{
    HWND main = Open();
    Notify(main, IDC_MAIN_INFO_LABEL, STN_CLICKED);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text,
              "Active time today count stops if you are inactive (no keyboard or mouse input) for 60 seconds.");
    EXPECT_EQ(platform.messageBoxes[0].caption, "Kelvaro Info");
    EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(MainWindowTest, SuspendStopsSupervisionAndResumeStartsItAgain)
{
    HWND main = Open();
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_FALSE(g_bRunning); // not stopped by a suspend, so not started by the resume

    Click(main, IDC_MAIN_START_STOP);
    EXPECT_EQ(SendMessageW(main, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), TRUE);
    EXPECT_FALSE(g_bRunning);
    EXPECT_TRUE(g_bStoppedBySuspend);
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_TRUE(g_bRunning);
    EXPECT_FALSE(g_bStoppedBySuspend);

    // Newer systems announce the suspend instead of asking first.
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_FALSE(g_bRunning);
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(g_bRunning);
}

TEST_F(MainWindowTest, QuitDuringABreakAsksAndNoKeepsRunning)
{
    HWND main = Open();
    Click(main, IDC_MAIN_START_STOP);
    g_supervision.BeginBreakCountdown();
    platform.answers.push_back(IDNO);
    Click(main, IDC_MAIN_QUIT);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].caption, "Kelvaro WARNING!!!");
    EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONSTOP));
    EXPECT_NE(platform.messageBoxes[0].text.find("don\u2019t do that!?"), std::string::npos);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(g_bRunning);

    // A Quit from the tray taken while the question is open ends the program; the first
    // question then finds the window gone and must not write again.
    platform.whileBoxOpen = [&] {
        SendMessageW(main, WM_COMMAND, ID_TRAY_QUIT, 0);
    };
    platform.answers = {IDYES, IDNO};
    const int writesBefore = platform.writes["settings.txt"];
    Click(main, IDC_MAIN_QUIT);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(platform.writes["settings.txt"], writesBefore + 1);
}

// Escape must end the modal run, as the program's own loop runs it.
class EscapingMainWindow : public CTavrinDlg {
public:
    using CTavrinDlg::CTavrinDlg;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CTavrinDlg::OnInitDialog();
        PostMessageW(Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
        return result;
    }
};

TEST_F(MainWindowTest, EscapeEndsTheModalRun)
{
    EscapingMainWindow escaping(platform, icons);
    ModalWatchdog watchdog;
    EXPECT_EQ(escaping.DoModal(nullptr), IDCANCEL);
    EXPECT_FALSE(watchdog.Fired()) << "Escape did not end the run";
    EXPECT_EQ(escaping.Hwnd(), nullptr);
}

// How the frame of a tray picture's bar stands out from a taskbar's colour, the picture drawn on it:
// the less of its two rows.
double FrameContrast(HICON icon, COLORREF taskbar)
{
    ICONINFO info{};
    BITMAP picture{};
    if (!GetIconInfo(icon, &info) || !GetObjectW(info.hbmColor, sizeof picture, &picture))
        return 0;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    const int size = picture.bmWidth;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateBitmap(size, size, 1, 32, nullptr);
    const HGDIOBJ previous = SelectObject(dc, canvas);
    const RECT all{0, 0, size, size};
    SetDCBrushColor(dc, taskbar);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    const auto rgb = [](COLORREF c) { return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; };
    const double least = std::min(ContrastRatio(rgb(GetPixel(dc, size / 2, size * 3 / 4)), rgb(taskbar)),
                                  ContrastRatio(rgb(GetPixel(dc, size / 2, size - 1)), rgb(taskbar)));
    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
    return least;
}

// The tray picture's outline follows the taskbar's own look, or high contrast's window colour, as
// Windows announces a change to the main window; a change that leaves the taskbar as it was sends
// nothing, and a new scaling keeps the taskbar's pictures.
TEST_F(MainWindowTest, TheTrayPictureStandsOutOnTheTaskbarAsItsLookChanges)
{
    constexpr COLORREF kLightTaskbar = RGB(243, 243, 243);
    constexpr COLORREF kDarkTaskbar = RGB(32, 32, 32);
    constexpr double kReadable = 3.0; // WCAG's least for the parts of a picture
    const struct {
        const char* what;
        std::optional<std::uint32_t> taskbarMode, appsMode;
        bool highContrast;
        COLORREF taskbar; // under high contrast, the scheme's window colour
        int dpi;          // a new scaling, or 0
        bool sent;
    } steps[] = {
        {"a dark taskbar", 0, 1, false, kDarkTaskbar, 0, true},
        {"the apps turning dark", 0, 0, false, kDarkTaskbar, 0, false},
        {"high contrast white", 0, 0, true, RGB(255, 255, 255), 0, true},
        {"high contrast black", 1, 1, true, RGB(0, 0, 0), 0, true},
        {"high contrast off on a light taskbar", 1, 1, false, kLightTaskbar, 0, true},
        {"a new scaling on a dark taskbar", 0, 1, false, kDarkTaskbar, 192, true},
    };
    LoadTrayIcons(icons, 16);
    HWND main = Open();
    ASSERT_FALSE(platform.trayCalls.empty());
    HICON shown = platform.trayCalls.back().icon;
    EXPECT_GE(FrameContrast(shown, kLightTaskbar), kReadable) << "a Windows that tells no mode";
    for (const auto& step : steps) {
        platform.appearance = {step.appsMode, step.taskbarMode, step.highContrast,
                               {GetRValue(step.taskbar), GetGValue(step.taskbar), GetBValue(step.taskbar)}};
        if (step.dpi) // first the taskbar's new look, then the scaling
            SendMessageW(main, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
        platform.trayCalls.clear();
        RECT place{};
        GetWindowRect(main, &place);
        SendMessageW(main, step.dpi ? WM_DPICHANGED : WM_SETTINGCHANGE, MAKEWPARAM(step.dpi, step.dpi),
                     step.dpi ? reinterpret_cast<LPARAM>(&place) : reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
        ASSERT_EQ(platform.trayCalls.size(), step.sent ? 1u : 0u) << step.what;
        if (step.sent)
            shown = platform.trayCalls.back().icon;
        EXPECT_GE(FrameContrast(shown, step.taskbar), kReadable) << step.what;
    }
    window.reset();
    for (HICON& icon : icons)
        DestroyIcon(std::exchange(icon, nullptr));
}

TEST(TrayIconTest, ATaskbarThatAnnouncesItselfAgainKeepsTheIconAndItsNotificationsUnlessTheShellLostIt)
{
    const struct {
        const char* what;
        std::set<DWORD> refusedAtStart, refusedAgain;
        std::vector<DWORD> sentAgain; // the whole icon each time: picture, tooltip and messages
        bool shown;
    } cases[] = {
        {"a restarted taskbar takes the icon", {}, {}, {NIM_ADD}, true},
        {"only the scaling changed: the icon is still there", {}, {NIM_ADD}, {NIM_ADD, NIM_MODIFY}, true},
        {"a taskbar without a notification area", {}, {NIM_ADD, NIM_MODIFY}, {NIM_ADD, NIM_MODIFY}, false},
        {"a notification area that came late", {NIM_ADD}, {}, {NIM_ADD}, true},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        HICON icons[kTrayIconCount] = {};
        platform.refusedTrayActions = c.refusedAtStart;
        CTrayNot tray(platform, nullptr, WM_APP, "Active time today: 00:00:00", icons);
        EXPECT_EQ(tray.IsShown(), c.refusedAtStart.empty()) << c.what;
        platform.refusedTrayActions = c.refusedAgain;
        platform.trayCalls.clear();
        tray.AddAgain();
        EXPECT_EQ(tray.IsShown(), c.shown) << c.what;
        std::vector<DWORD> sent;
        for (const FakePlatform::TrayCall& call : platform.trayCalls) {
            sent.push_back(call.action);
            EXPECT_EQ(std::tie(call.flags, call.tip, call.callbackMessage),
                      std::tuple(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), "Active time today: 00:00:00",
                                 static_cast<UINT>(WM_APP)))
                << c.what;
        }
        EXPECT_EQ(sent, c.sentAgain) << c.what;
        platform.trayCalls.clear();
        EXPECT_EQ(tray.ShowBalloon("Health tip", "Blink", nullptr), c.shown) << c.what;
        EXPECT_EQ(platform.trayCalls.size(), c.shown ? 1u : 0u) << c.what;
    }
}

TEST(TrayIconTest, ANotificationsTitleAndTextAreCutToWhatTheShellShowsAndNeverInACharacter)
{
    const std::string title63(63, 'T');
    const std::string text255(255, 'x');
    const std::string emoji = "\xF0\x9F\x98\x80"; // two UTF-16 units
    const struct {
        std::string title, text, shownTitle, shownText;
    } cases[] = {
        {"Health tip", "Blink", "Health tip", "Blink"},
        {title63, text255, title63, text255},
        {title63 + "T", text255 + "x", title63, text255},
        {std::string(62, 'T') + emoji, std::string(254, 'x') + emoji, std::string(62, 'T'), std::string(254, 'x')},
    };
    FakePlatform platform;
    HICON icons[kTrayIconCount] = {};
    CTrayNot tray(platform, nullptr, WM_APP, "Active time today: 00:00:00", icons);
    for (const auto& c : cases) {
        ASSERT_TRUE(tray.ShowBalloon(c.title, c.text, nullptr));
        EXPECT_EQ(platform.trayCalls.back().infoTitle, c.shownTitle) << c.title.size();
        EXPECT_EQ(platform.trayCalls.back().info, c.shownText) << c.text.size();
    }
}

} // namespace
