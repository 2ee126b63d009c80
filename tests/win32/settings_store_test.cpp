#include "app/main_window_win.h"

#include "app/timer_plan.h"
#include "fake_platform_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "shutdown/set_time_dialog_win.h"
#include "test_support_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr char kDefaultSettings[] =
    "HEALTH_MSG 1\r\nTIMEBREAK_MSG 1\r\nSLEEP_MSG 1\r\nSOUND_ON_MSG 0\r\nSOUND_LONGTIME_WARNING 0\r\nSHUTDOWN 0\r\n"
    "TIMELIMIT 0:0:0\r\nFREQUENCE 0\r\nSTARTTRAY 1\r\nFORCEBREAK 0\r\nFORCEBREAK_WAIT 60\r\nONLYSOUND 0\r\n"
    "KEYBOARD_LEDS 0\r\nSOUNDMSG_PATH message.wav\r\nSOUNDWARNING_PATH break.wav\r\nOTHERTIME 120\r\n"
    "STARTPROGRAM true\r\n";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";
    }

    CTavrinDlg& Open()
    {
        window.reset();
        ResetProgramState();
        window = std::make_unique<CTavrinDlg>(platform, icons);
        EXPECT_TRUE(window->Create(nullptr));
        PumpMessages();
        return *window;
    }

    std::string Settings() { return platform.files["settings.txt"]; }

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(SettingsStoreTest, AFirstStartWritesTheDefaultsHidesToTheTrayAndStarts)
{
    CTavrinDlg& main = Open();
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text, "could not open settings.txt");
    EXPECT_EQ(platform.messageBoxes[0].caption, "Kelvaro");
    EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST));
    EXPECT_EQ(Settings(), kDefaultSettings);
    EXPECT_EQ(platform.writes["settings.txt"], 2); // the defaults, then again by the start
    EXPECT_EQ(platform.activeTimers[kHideToTrayTimer], 20u);
    EXPECT_TRUE(g_bRunning);
    EXPECT_EQ(main.ItemText(IDC_MAIN_START_STOP), "Stop");

    main.OnTimer(kHideToTrayTimer);
    EXPECT_FALSE(IsWindowVisible(main.Hwnd()));
    EXPECT_EQ(platform.activeTimers.count(kHideToTrayTimer), 0u);
}

TEST_F(SettingsStoreTest, ReadingSetsTheControlsOfAllThreeWindows)
{
    platform.files["settings.txt"] = "HEALTH_MSG yes TIMEBREAK_MSG 01 SLEEP_MSG 1 SHUTDOWN 1\r\n"
                                     "SOUND_ON_MSG 1 SOUND_LONGTIME_WARNING true FORCEBREAK 1 ONLYSOUND 0 "
                                     "KEYBOARD_LEDS 1 FORCEBREAK_WAIT 30 FREQUENCE 1024 OTHERTIME 15 "
                                     "TIMELIMIT 7:45:30 STARTTRAY 0 health_msg 1 "
                                     "SOUNDMSG_PATH \"C:\\My Sounds\\chime.wav\" SOUNDWARNING_PATH alarm.wav "
                                     "STARTPROGRAM no\n";
    platform.now = 1165320000; // 2006-12-05 12:00 UTC
    CTavrinDlg& main = Open();
    EXPECT_TRUE(platform.messageBoxes.empty());
    EXPECT_FALSE(main.IsChecked(IDC_MAIN_HEALTH_TIPS));
    EXPECT_FALSE(main.IsChecked(IDC_MAIN_TIME_BREAKS));
    EXPECT_TRUE(main.IsChecked(IDC_MAIN_SLEEP_MESSAGES));
    EXPECT_TRUE(main.IsChecked(IDC_MAIN_SHUTDOWN));
    EXPECT_EQ(main.CheckedButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER), IDC_MAIN_OTHER);
    EXPECT_TRUE(main.IsItemEnabled(IDC_MAIN_OTHER_MINUTES));
    EXPECT_EQ(main.ItemText(IDC_MAIN_OTHER_MINUTES), "15");
    EXPECT_TRUE(main.IsChecked(IDC_MAIN_LAUNCH_MINIMIZED));
    EXPECT_EQ(platform.activeTimers.count(kHideToTrayTimer), 0u);
    EXPECT_FALSE(g_bRunning);
    EXPECT_EQ(main.m_nFrequence, 0);

    CSetting& settings = *g_pSettingsDlg;
    EXPECT_TRUE(settings.IsChecked(IDC_SETTINGS_SOUND_ON_MSG));
    EXPECT_FALSE(settings.IsChecked(IDC_SETTINGS_SOUND_WARNING));
    EXPECT_TRUE(settings.IsChecked(IDC_SETTINGS_FORCE_BREAK));
    EXPECT_TRUE(settings.IsChecked(IDC_SETTINGS_KEYBOARD_LEDS));
    EXPECT_EQ(settings.ItemText(IDC_SETTINGS_WAIT_SECONDS), "30");
    EXPECT_TRUE(settings.IsItemEnabled(IDC_SETTINGS_WAIT_SECONDS)); // forced breaks are on
    EXPECT_EQ(settings.m_strMessageSound, "C:\\My Sounds\\chime.wav");
    EXPECT_EQ(settings.ItemText(IDC_SETTINGS_MESSAGE_SOUND), "C:\\My Sounds\\chime.wav");
    EXPECT_EQ(settings.m_strWarningSound, "alarm.wav");

    CShoutdownDlg& setTime = *g_pShutdownDlg;
    EXPECT_EQ(setTime.m_nHour * 10000 + setTime.m_nMinute * 100 + setTime.m_nSecond, 74530);
    SYSTEMTIME picker{};
    SendMessageW(setTime.Item(IDC_SETTIME_PICKER), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picker));
    EXPECT_EQ(picker.wDay, 5);
    EXPECT_EQ(picker.wHour * 10000 + picker.wMinute * 100 + picker.wSecond, 74530);
}

TEST_F(SettingsStoreTest, EverySettingSurvivesARestart)
{
    platform.files["settings.txt"] = "STARTTRAY 0";
    CTavrinDlg& first = Open();
    first.SetChecked(IDC_MAIN_HEALTH_TIPS, false);
    first.SetChecked(IDC_MAIN_SHUTDOWN, true);
    Click(first.Hwnd(), IDC_MAIN_30_MIN);
    g_pSettingsDlg->SetChecked(IDC_SETTINGS_ONLY_SOUND, true);
    g_pSettingsDlg->SetItemText(IDC_SETTINGS_WAIT_SECONDS, "");
    g_pSettingsDlg->SetMessageSound("C:\\Program Files\\Sounds\\soft chime.wav");
    g_pShutdownDlg->m_nHour = 22;
    g_pShutdownDlg->m_nMinute = 30;
    Click(first.Hwnd(), IDC_MAIN_START_STOP);
    Click(first.Hwnd(), IDC_MAIN_START_STOP);
    Click(first.Hwnd(), IDC_MAIN_45_MIN); // after the last Start: not what FREQUENCE records
    Click(first.Hwnd(), IDC_MAIN_QUIT);
    ASSERT_FALSE(IsWindow(first.Hwnd()));

    const std::string written = Settings();
    EXPECT_NE(written.find("TIMELIMIT 22:30:0\r\nFREQUENCE 1021\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("FORCEBREAK_WAIT \"\"\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("SOUNDMSG_PATH \"C:\\Program Files\\Sounds\\soft chime.wav\"\r\n"), std::string::npos);

    CTavrinDlg& second = Open();
    EXPECT_FALSE(second.IsChecked(IDC_MAIN_HEALTH_TIPS));
    EXPECT_TRUE(second.IsChecked(IDC_MAIN_SHUTDOWN));
    EXPECT_EQ(second.CheckedButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER), IDC_MAIN_30_MIN);
    EXPECT_TRUE(g_pSettingsDlg->IsChecked(IDC_SETTINGS_ONLY_SOUND));
    EXPECT_EQ(g_pSettingsDlg->ItemText(IDC_SETTINGS_WAIT_SECONDS), "");
    EXPECT_EQ(g_pSettingsDlg->m_strMessageSound, "C:\\Program Files\\Sounds\\soft chime.wav");
    EXPECT_EQ(g_pSettingsDlg->ItemText(IDC_SETTINGS_WARNING_SOUND), "break.wav");
    EXPECT_EQ(g_pShutdownDlg->m_nHour, 22);
    EXPECT_EQ(g_pShutdownDlg->m_nMinute, 30);
    EXPECT_TRUE(g_bRunning); // the writer always asks for the start
}

TEST_F(SettingsStoreTest, StartProgramTwiceEndsStoppedAndAMissingCatalogueKeepsItStopped)
{
    platform.files["settings.txt"] = "STARTTRAY 0 STARTPROGRAM true STARTPROGRAM true";
    Open();
    EXPECT_FALSE(g_bRunning);
    EXPECT_EQ(window->ItemText(IDC_MAIN_START_STOP), "Start");

    platform.files["settings.txt"] = "STARTTRAY 0 STARTPROGRAM true";
    platform.files.erase("standard.txt");
    platform.messageBoxes.clear();
    Open();
    EXPECT_FALSE(g_bRunning);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text, "could not open standard.txt");
}

TEST_F(SettingsStoreTest, TheWritersOfTheFile)
{
    platform.files["settings.txt"] = "STARTTRAY 0";
    CTavrinDlg& main = Open();
    const int before = platform.writes["settings.txt"];
    Click(main.Hwnd(), IDC_MAIN_LAUNCH_MINIMIZED);
    EXPECT_EQ(platform.writes["settings.txt"], before + 1);
    EXPECT_NE(Settings().find("STARTTRAY 0\r\n"), std::string::npos);

    SendMessageW(main.Hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(platform.writes["settings.txt"], before + 2);

    // Escape writes the time files but not the settings.
    SendMessageW(main.Hwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(platform.writes["settings.txt"], before + 2);

    platform.unwritableFiles["settings.txt"] = 1;
    platform.messageBoxes.clear();
    EXPECT_EQ(main.LoadSaveSettings(0), 0);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text, "could not open settings.txt");
}

TEST_F(SettingsStoreTest, AQuitTakenWhileTheFirstStartBoxIsOpenKeepsTheDefaults)
{
    // The nested Quit writes the defaults and ends the window; the start-up must not then
    // overwrite them from the controls of the destroyed window.
    platform.whileBoxOpen = [&] {
        SendMessageW(window->Hwnd(), WM_COMMAND, ID_TRAY_QUIT, 0);
    };
    window = std::make_unique<CTavrinDlg>(platform, icons);
    EXPECT_FALSE(window->Create(nullptr));
    EXPECT_EQ(window->Hwnd(), nullptr);
    EXPECT_EQ(Settings(), kDefaultSettings);
    EXPECT_EQ(platform.writes["settings.txt"], 1);
    EXPECT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_FALSE(g_bRunning);
}

TEST_F(SettingsStoreTest, TheHideToTheTrayWaitsForTheEndOfInitialisation)
{
    platform.files["settings.txt"] = "STARTTRAY 1 STARTPROGRAM true";
    platform.files.erase("standard.txt");
    // The hide timer ticks while "could not open standard.txt" is open during the start-up.
    platform.whileBoxOpen = [&] {
        window->OnTimer(kHideToTrayTimer);
    };
    window = std::make_unique<CTavrinDlg>(platform, icons);
    ASSERT_TRUE(window->Create(nullptr));
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text, "could not open standard.txt");
    EXPECT_EQ(platform.activeTimers.count(kHideToTrayTimer), 1u);
    EXPECT_TRUE(IsWindowVisible(window->Hwnd()));

    window->OnTimer(kHideToTrayTimer);
    EXPECT_FALSE(IsWindowVisible(window->Hwnd()));
    EXPECT_EQ(platform.activeTimers.count(kHideToTrayTimer), 0u);
}

} // namespace
