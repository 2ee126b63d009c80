#include "app/main_window_win.h"

#include "app/timer_plan.h"
#include "fake_platform_win.h"
#include "messages/message_catalogue.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "shutdown/set_time_dialog_win.h"
#include "test_support_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

namespace {

constexpr char kDefaultSettings[] =
    "HEALTH_MSG 1\r\nTIMEBREAK_MSG 1\r\nSLEEP_MSG 1\r\nSOUND_ON_MSG 0\r\nSOUND_LONGTIME_WARNING 0\r\nSHUTDOWN 0\r\n"
    "TIMELIMIT 0:0:0\r\nFREQUENCE 0\r\nSTARTTRAY 1\r\nFORCEBREAK 0\r\nFORCEBREAK_WAIT 60\r\nONLYSOUND 0\r\n"
    "KEYBOARD_LEDS 0\r\nSOUNDMSG_PATH message.wav\r\nSOUNDWARNING_PATH break.wav\r\nOTHERTIME 120\r\n"
    "STARTPROGRAM true\r\nHOLD_WHEN_BUSY 1\r\nNATURAL_BREAKS 1\r\nWINDOWS_NOTIFICATIONS 0\r\nEYE_BREAKS 0\r\n"
    "EYE_BREAK_MINUTES 20\r\nWORK_HOURS 0\r\nWORK_MON \"09:00-17:00\"\r\nWORK_TUE \"09:00-17:00\"\r\n"
    "WORK_WED \"09:00-17:00\"\r\nWORK_THU \"09:00-17:00\"\r\nWORK_FRI \"09:00-17:00\"\r\nWORK_SAT \"\"\r\n"
    "WORK_SUN \"\"\r\nDAILY_LIMIT 0\r\nDAILY_LIMIT_TIME 8:0:0\r\nHOTKEY_PAUSE \"\"\r\nHOTKEY_BREAK \"\"\r\n"
    "COVER_SCREENS 0\r\nSTRICT_BREAKS 0\r\nBEDTIME \"\"\r\nBEDTIME_REMINDER 0\r\nTHEME system\r\n";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["activetimelog.txt"] = "";
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
    platform.files.erase("timehistory.txt");
    platform.files.erase("activetimelog.txt");
    CTavrinDlg& main = Open();
    // The History dialog and then the main window read the history before the settings, and the
    // start they ask for reads today's log.
    ASSERT_EQ(platform.messageBoxes.size(), 4u);
    EXPECT_EQ(platform.messageBoxes[0].text, "could not open timehistory.txt");
    EXPECT_EQ(platform.messageBoxes[1].text, "could not open timehistory.txt");
    EXPECT_EQ(platform.messageBoxes[2].text, "could not open settings.txt");
    EXPECT_EQ(platform.messageBoxes[2].caption, "Kelvaro");
    EXPECT_EQ(platform.messageBoxes[2].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST));
    EXPECT_EQ(platform.messageBoxes[3].text, "could not open activetimelog.txt");
    EXPECT_EQ(platform.messageBoxes[3].flags, static_cast<UINT>(MB_OK | MB_TOPMOST));
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

    CSetting& settings = *window->SettingsDialog();
    EXPECT_TRUE(settings.IsChecked(IDC_SETTINGS_SOUND_ON_MSG));
    EXPECT_FALSE(settings.IsChecked(IDC_SETTINGS_SOUND_WARNING));
    EXPECT_TRUE(settings.IsChecked(IDC_SETTINGS_FORCE_BREAK));
    EXPECT_TRUE(settings.IsChecked(IDC_SETTINGS_KEYBOARD_LEDS));
    EXPECT_EQ(settings.ItemText(IDC_SETTINGS_WAIT_SECONDS), "30");
    EXPECT_TRUE(settings.IsItemEnabled(IDC_SETTINGS_WAIT_SECONDS)); // forced breaks are on
    EXPECT_EQ(settings.m_strMessageSound, "C:\\My Sounds\\chime.wav");
    EXPECT_EQ(settings.ItemText(IDC_SETTINGS_MESSAGE_SOUND), "C:\\My Sounds\\chime.wav");
    EXPECT_EQ(settings.m_strWarningSound, "alarm.wav");

    CShoutdownDlg& setTime = *window->SetTimeDialog();
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
    // A file of a version before them keeps quiet in busy moments, counts natural breaks, pops up
    // and gives no eye breaks.
    EXPECT_TRUE(window->SettingsDialog()->IsChecked(IDC_SETTINGS_HOLD_WHEN_BUSY));
    EXPECT_TRUE(window->SettingsDialog()->IsChecked(IDC_SETTINGS_NATURAL_BREAKS));
    EXPECT_FALSE(window->SettingsDialog()->IsChecked(IDC_SETTINGS_WINDOWS_NOTIFICATIONS));
    EXPECT_FALSE(window->SettingsDialog()->IsChecked(IDC_SETTINGS_EYE_BREAKS));
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_EYE_BREAK_MINUTES), "20");
    // Nor of the working day: no working hours, no limit, the default week.
    EXPECT_FALSE(window->SettingsDialog()->IsChecked(IDC_SETTINGS_WORK_HOURS));
    EXPECT_FALSE(window->SettingsDialog()->IsChecked(IDC_SETTINGS_DAILY_LIMIT));
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_DAILY_LIMIT_HOURS) + ":" +
                  window->SettingsDialog()->ItemText(IDC_SETTINGS_DAILY_LIMIT_MINUTES),
              "8:00");
    EXPECT_EQ(window->SettingsDialog()->m_workWeek, DefaultWorkWeek());
    SetCheck(first.Hwnd(), IDC_MAIN_HEALTH_TIPS, false);
    SetCheck(first.Hwnd(), IDC_MAIN_SHUTDOWN, true);
    Click(first.Hwnd(), IDC_MAIN_30_MIN);
    SetCheck(window->SettingsDialog()->Hwnd(), IDC_SETTINGS_ONLY_SOUND, true);
    window->SettingsDialog()->SetItemText(IDC_SETTINGS_WAIT_SECONDS, "");
    first.m_settings.messageSoundPath = "C:\\Program Files\\Sounds\\soft chime.wav";
    window->SetTimeDialog()->m_nHour = 22;
    window->SetTimeDialog()->m_nMinute = 30;
    SetCheck(window->SettingsDialog()->Hwnd(), IDC_SETTINGS_WORK_HOURS, true);
    SetCheck(window->SettingsDialog()->Hwnd(), IDC_SETTINGS_DAILY_LIMIT, true);
    window->SettingsDialog()->SetItemText(IDC_SETTINGS_DAILY_LIMIT_HOURS, "7");
    window->SettingsDialog()->SetItemText(IDC_SETTINGS_DAILY_LIMIT_MINUTES, "5");
    WorkWeek week = DefaultWorkWeek();
    week[kMonday].second = WorkRange{18 * 60, 20 * 60};
    week[kSaturday] = {true, {22 * 60, 3 * 60}, std::nullopt};
    week[kSaturday - 1].working = false;
    window->SettingsDialog()->m_workWeek = week;
    first.m_settings.language = "ja";
    Click(first.Hwnd(), IDC_MAIN_START_STOP);
    Click(first.Hwnd(), IDC_MAIN_START_STOP);
    Click(first.Hwnd(), IDC_MAIN_45_MIN); // after the last Start: not what FREQUENCE records
    Click(first.Hwnd(), IDC_MAIN_QUIT);
    ASSERT_FALSE(IsWindow(first.Hwnd()));

    const std::string written = Settings();
    EXPECT_NE(written.find("TIMELIMIT 22:30:0\r\nFREQUENCE 1021\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("FORCEBREAK_WAIT \"\"\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("SOUNDMSG_PATH \"C:\\Program Files\\Sounds\\soft chime.wav\"\r\n"), std::string::npos);
    EXPECT_TRUE(written.ends_with("WORK_HOURS 1\r\nWORK_MON \"09:00-17:00 18:00-20:00\"\r\nWORK_TUE \"09:00-17:00\"\r\n"
                                  "WORK_WED \"09:00-17:00\"\r\nWORK_THU \"09:00-17:00\"\r\nWORK_FRI \"\"\r\n"
                                  "WORK_SAT \"22:00-03:00\"\r\nWORK_SUN \"\"\r\nDAILY_LIMIT 1\r\nDAILY_LIMIT_TIME 7:5:0\r\n"
                                  "HOTKEY_PAUSE \"\"\r\nHOTKEY_BREAK \"\"\r\nLANGUAGE ja\r\nCOVER_SCREENS 0\r\n"
                                  "STRICT_BREAKS 0\r\nBEDTIME \"\"\r\nBEDTIME_REMINDER 0\r\nTHEME system\r\n"))
        << written;

    CTavrinDlg& second = Open();
    EXPECT_FALSE(second.IsChecked(IDC_MAIN_HEALTH_TIPS));
    EXPECT_TRUE(second.IsChecked(IDC_MAIN_SHUTDOWN));
    EXPECT_EQ(second.CheckedButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER), IDC_MAIN_30_MIN);
    EXPECT_TRUE(window->SettingsDialog()->IsChecked(IDC_SETTINGS_ONLY_SOUND));
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_WAIT_SECONDS), "");
    EXPECT_EQ(window->SettingsDialog()->m_strMessageSound, "C:\\Program Files\\Sounds\\soft chime.wav");
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_WARNING_SOUND), "break.wav");
    EXPECT_EQ(window->SetTimeDialog()->m_nHour, 22);
    EXPECT_EQ(window->SetTimeDialog()->m_nMinute, 30);
    EXPECT_TRUE(window->SettingsDialog()->IsChecked(IDC_SETTINGS_WORK_HOURS));
    EXPECT_TRUE(window->SettingsDialog()->IsChecked(IDC_SETTINGS_DAILY_LIMIT));
    EXPECT_EQ(second.m_settings.dailyLimitMinutes, 7 * 60 + 5);
    EXPECT_EQ(second.m_settings.language, "ja");
    // A day off is read back with its default range.
    week[kSaturday - 1] = DefaultWorkDay(kSaturday - 1);
    week[kSaturday - 1].working = false;
    EXPECT_EQ(window->SettingsDialog()->m_workWeek, week);
    EXPECT_TRUE(g_bRunning); // the writer always asks for the start
}

// Every check box gets its own pattern of values over the rounds, so that any two of them differ
// in some round and an exchange of two keys shows; the other values differ from key to key.
TEST_F(SettingsStoreTest, EveryKeyKeepsItsOwnValueThroughARestart)
{
    struct Box {
        bool inSettingsDialog;
        int id;
        const char* key;
        bool SettingsModel::*setting;
    };
    const Box boxes[] = {{false, IDC_MAIN_HEALTH_TIPS, "HEALTH_MSG", &SettingsModel::healthMsg},
                         {false, IDC_MAIN_TIME_BREAKS, "TIMEBREAK_MSG", &SettingsModel::timeBreakMsg},
                         {false, IDC_MAIN_SLEEP_MESSAGES, "SLEEP_MSG", &SettingsModel::sleepMsg},
                         {true, IDC_SETTINGS_SOUND_ON_MSG, "SOUND_ON_MSG", &SettingsModel::soundOnMsg},
                         {true, IDC_SETTINGS_SOUND_WARNING, "SOUND_LONGTIME_WARNING", &SettingsModel::soundLongtimeWarning},
                         {false, IDC_MAIN_SHUTDOWN, "SHUTDOWN", &SettingsModel::shutdown},
                         {true, IDC_SETTINGS_FORCE_BREAK, "FORCEBREAK", &SettingsModel::forceBreak},
                         {true, IDC_SETTINGS_ONLY_SOUND, "ONLYSOUND", &SettingsModel::onlySound},
                         {true, IDC_SETTINGS_KEYBOARD_LEDS, "KEYBOARD_LEDS", &SettingsModel::keyboardLeds},
                         {true, IDC_SETTINGS_HOLD_WHEN_BUSY, "HOLD_WHEN_BUSY", &SettingsModel::holdWhenBusy},
                         {true, IDC_SETTINGS_NATURAL_BREAKS, "NATURAL_BREAKS", &SettingsModel::naturalBreaks},
                         {true, IDC_SETTINGS_WINDOWS_NOTIFICATIONS, "WINDOWS_NOTIFICATIONS", &SettingsModel::windowsNotifications},
                         {true, IDC_SETTINGS_EYE_BREAKS, "EYE_BREAKS", &SettingsModel::eyeBreaks}};
    const int intervals[] = {IDC_MAIN_30_MIN, IDC_MAIN_45_MIN, IDC_MAIN_60_MIN, IDC_MAIN_OTHER};
    // Box k is checked in the rounds of the set bits of k + 1: never all on, never all off.
    for (int round = 0; round < 4; ++round) {
        auto checked = [&](size_t k) {
            return (((k + 1) >> round) & 1) != 0;
        };
        auto owner = [&](const Box& box) -> CDialog& {
            return box.inSettingsDialog ? static_cast<CDialog&>(*window->SettingsDialog()) : *window;
        };
        const std::string r = std::to_string(round);
        platform.files["settings.txt"] = "STARTTRAY 0";
        CTavrinDlg& first = Open();
        for (size_t k = 0; k < std::size(boxes); ++k)
            first.m_settings.*boxes[k].setting = checked(k);
        first.m_nFrequence = intervals[round];
        first.SetItemText(IDC_MAIN_OTHER_MINUTES, "2" + r);
        window->SettingsDialog()->SetItemText(IDC_SETTINGS_WAIT_SECONDS, "1" + r);
        window->SettingsDialog()->SetItemText(IDC_SETTINGS_EYE_BREAK_MINUTES, "3" + r);
        first.m_settings.messageSoundPath = "message" + r + ".wav";
        first.m_settings.warningSoundPath = "warning" + r + ".wav";
        window->SetTimeDialog()->m_nHour = round + 1;
        window->SetTimeDialog()->m_nMinute = round + 31;
        window->SetTimeDialog()->m_nSecond = round + 47;
        ASSERT_EQ(first.LoadSaveSettings(0), 1);

        const std::string written = "\r\n" + Settings();
        for (size_t k = 0; k < std::size(boxes); ++k) {
            const std::string line = std::string("\r\n") + boxes[k].key + (checked(k) ? " 1\r\n" : " 0\r\n");
            EXPECT_NE(written.find(line), std::string::npos) << "round " << round << ": " << line << written;
        }
        const std::string lines[] = {"TIMELIMIT " + std::to_string(round + 1) + ':' + std::to_string(round + 31) + ':' +
                                         std::to_string(round + 47),
                                     "FREQUENCE " + std::to_string(intervals[round]),
                                     "FORCEBREAK_WAIT 1" + r,
                                     "SOUNDMSG_PATH message" + r + ".wav",
                                     "SOUNDWARNING_PATH warning" + r + ".wav",
                                     "OTHERTIME 2" + r,
                                     "EYE_BREAK_MINUTES 3" + r};
        for (const std::string& line : lines)
            EXPECT_NE(written.find("\r\n" + line + "\r\n"), std::string::npos) << "round " << round << ": " << line;

        CTavrinDlg& second = Open();
        for (size_t k = 0; k < std::size(boxes); ++k)
            EXPECT_EQ(owner(boxes[k]).IsChecked(boxes[k].id), checked(k)) << "round " << round << ": " << boxes[k].key;
        EXPECT_EQ(second.CheckedButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER), intervals[round]) << "round " << round;
        EXPECT_EQ(second.ItemText(IDC_MAIN_OTHER_MINUTES), "2" + r);
        EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_WAIT_SECONDS), "1" + r);
        EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_EYE_BREAK_MINUTES), "3" + r);
        EXPECT_EQ(window->SettingsDialog()->m_strMessageSound, "message" + r + ".wav");
        EXPECT_EQ(window->SettingsDialog()->m_strWarningSound, "warning" + r + ".wav");
        EXPECT_EQ(window->SetTimeDialog()->m_nHour * 10000 + window->SetTimeDialog()->m_nMinute * 100 + window->SetTimeDialog()->m_nSecond,
                  (round + 1) * 10000 + (round + 31) * 100 + round + 47)
            << "round " << round;
    }
}

// Wine's edit controls take time growing with the square of their text; the reader bounds each value.
TEST_F(SettingsStoreTest, TheWindowOpensOnSettingsOfMegabytes)
{
    const std::string digits(2'000'000, '9');
    platform.files["settings.txt"] = "STARTTRAY 0 OTHERTIME " + digits + " FORCEBREAK_WAIT " + digits +
                                     "\r\nSOUNDMSG_PATH " + std::string(2'000'000, 'm') + "\r\nSOUNDWARNING_PATH \"" +
                                     std::string(1'000'000, ' ') + "\"\r\n";
    CTavrinDlg& main = Open();
    EXPECT_EQ(main.ItemText(IDC_MAIN_OTHER_MINUTES), "999999999");
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_WAIT_SECONDS), "999999999");
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_MESSAGE_SOUND), "message.wav");
    EXPECT_EQ(window->SettingsDialog()->ItemText(IDC_SETTINGS_WARNING_SOUND), "break.wav");
}

// Notepad's "Unicode" is UTF-16 with a byte-order mark, little-endian; "Unicode big endian" the other order.
std::string Utf16File(const std::string& utf8, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t unit : Widen(utf8)) {
        const char low = static_cast<char>(unit);
        const char high = static_cast<char>(unit >> CHAR_BIT);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST_F(SettingsStoreTest, SettingsAndCatalogueSavedAsUtf16AreRead)
{
    platform.files["settings.txt"] =
        Utf16File("STARTTRAY 0 SHUTDOWN 1 SOUNDMSG_PATH \"C:\\Kl\u00e4nge\\gong.wav\" STARTPROGRAM true", false);
    platform.files["standard.txt"] =
        Utf16File("--HEALTH-- Don\u2019t slouch ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--", true);
    CTavrinDlg& main = Open();
    EXPECT_TRUE(platform.messageBoxes.empty());
    EXPECT_TRUE(main.IsChecked(IDC_MAIN_SHUTDOWN));
    EXPECT_EQ(window->SettingsDialog()->m_strMessageSound, "C:\\Kl\u00e4nge\\gong.wav");
    EXPECT_TRUE(g_bRunning);
    ASSERT_EQ(healthMessages.size(), 1u);
    EXPECT_EQ(healthMessages[0], " Don\u2019t slouch");
    // Written back as UTF-8.
    EXPECT_NE(Settings().find("SOUNDMSG_PATH C:\\Kl\u00e4nge\\gong.wav\r\n"), std::string::npos) << Settings();
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

TEST_F(SettingsStoreTest, AStartSentByAnotherProgramDuringStartUpIsIgnored)
{
    // The window's controls don't hold the settings yet: a Start then would write them all away.
    platform.whileBoxOpen = [&] {
        SendMessageW(window->Hwnd(), WM_COMMAND, IDC_MAIN_START_STOP, 0);
    };
    window = std::make_unique<CTavrinDlg>(platform, icons);
    ASSERT_TRUE(window->Create(nullptr));
    EXPECT_EQ(Settings(), kDefaultSettings);
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
