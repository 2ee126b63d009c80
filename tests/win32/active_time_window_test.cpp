#include "activity/calendar.h"
#include "app/main_window_win.h"
#include "app/timer_plan.h"
#include "fake_platform_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr char kStoppedSettings[] = "STARTTRAY 0 STARTPROGRAM false";
constexpr char kCatalogue[] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";

// The main window with its tray icon, driven one activity tick at a time by a fake clock.
class ActiveTimeWindowTest : public ::testing::Test {
public:
    void SetUp() override
    {
        ResetProgramState();
        for (int index = 0; index < 9; ++index)
            icons[index] = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x1000 + index));
        platform.files["standard.txt"] = kCatalogue;
        platform.files["settings.txt"] = kStoppedSettings;
        platform.files["timehistory.txt"] = "HISTORY\r\n2006-12-4 = 8:0:0\r\n";
        platform.files["activetimelog.txt"] = "ACTIVE_TIME_TODAY " + Today() + " = 2:0:0\r\n";
    }

    std::string Today() const
    {
        const CivilDate today = *LocalDate(platform.now);
        return std::to_string(today.year) + "-" + std::to_string(today.month) + "-" + std::to_string(today.day);
    }

    HWND Open()
    {
        window = std::make_unique<CTavrinDlg>(platform, icons);
        EXPECT_TRUE(window->Create(nullptr));
        PumpMessages();
        return window->Hwnd();
    }

    // One second of a user at work.
    void Tick(int seconds = 1)
    {
        for (int second = 0; second < seconds; ++second) {
            platform.tickCount += 1000;
            ++platform.now;
            platform.lastInputTick = platform.tickCount;
            window->OnTimer(kActivityTimer);
        }
    }

    void Tray(HWND main, UINT mouseMessage)
    {
        SendMessageW(main, WM_TRAYNOTIFY, 0, mouseMessage);
        PumpMessages();
    }

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(ActiveTimeWindowTest, TheTrayIconShowsTheCountAndBringsTheWindowBack)
{
    HWND main = Open();
    ASSERT_EQ(platform.trayCalls.size(), 1u);
    const FakePlatform::TrayCall added = platform.trayCalls[0];
    EXPECT_EQ(added.action, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(added.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(added.icon, icons[0]);
    EXPECT_EQ(added.tip, "Kelvaro");
    EXPECT_EQ(added.callbackMessage, WM_TRAYNOTIFY);

    Click(main, IDC_MAIN_START_STOP);
    Tick();
    EXPECT_EQ(window->ItemText(IDC_MAIN_ACTIVE_TIME), "02:00:01");
    ASSERT_EQ(platform.trayCalls.size(), 3u) << "a new picture, then the tooltip";
    EXPECT_EQ(platform.trayCalls[1].action, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(platform.trayCalls[1].icon, icons[2]);
    EXPECT_EQ(platform.trayCalls[1].flags, static_cast<UINT>(NIF_ICON));
    EXPECT_EQ(platform.trayCalls[2].tip, "Active time today: 02:00:01");
    EXPECT_EQ(platform.trayCalls[2].flags, static_cast<UINT>(NIF_TIP)) << "the picture isn't sent with every tooltip";
    Tick();
    ASSERT_EQ(platform.trayCalls.size(), 4u) << "the same picture is not sent again";
    EXPECT_EQ(platform.trayCalls[3].tip, "Active time today: 02:00:02");

    // Only a double-click restores the hidden window.
    SendMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindowVisible(main));
    for (UINT single : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_RBUTTONUP})
        Tray(main, single);
    EXPECT_FALSE(IsWindowVisible(main));
    Tray(main, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(main));

    // A restarted taskbar gets the icon again, as it was.
    SendMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_EQ(platform.trayCalls.back().action, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(platform.trayCalls.back().flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(platform.trayCalls.back().tip, "Active time today: 02:00:02");

    Click(main, IDC_MAIN_QUIT);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(platform.trayCalls.back().action, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(platform.files["activetimelog.txt"], "ACTIVE_TIME_TODAY " + Today() + " = 2:0:2\r\n");
    EXPECT_EQ(platform.files["timehistory.txt"], "HISTORY\r\n2006-12-4 = 8:0:0\r\n" + Today() + " = 2:0:2\r\n");
}

TEST_F(ActiveTimeWindowTest, TheTrayMenuReachesStartStopAndQuit)
{
    HWND main = Open();
    // Keys waiting in the queue drive the menu's own loop: the second entry, then the fifth (past
    // "Pause reminders", with "Resume reminders" only while paused).
    auto chooseFromMenu = [&](int downs) {
        for (int down = 0; down < downs; ++down)
            PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
        Tray(main, WM_RBUTTONDOWN);
    };
    chooseFromMenu(2);
    EXPECT_TRUE(g_bRunning);
    chooseFromMenu(2);
    EXPECT_FALSE(g_bRunning);
    chooseFromMenu(4);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(ActiveTimeWindowTest, TheChangeOfDaySavesAndCountsTheNewDayFromZero)
{
    HWND main = Open();
    Click(main, IDC_MAIN_START_STOP);
    Tick(5);
    const int settingsWrites = platform.writes["settings.txt"];
    const std::string finishedDay = Today();
    platform.now += 24 * 3600;
    Tick(3);
    EXPECT_EQ(window->ItemText(IDC_MAIN_ACTIVE_TIME), "00:00:02");
    EXPECT_EQ(platform.writes["settings.txt"], settingsWrites + 1);
    EXPECT_EQ(platform.files["timehistory.txt"], "HISTORY\r\n2006-12-4 = 8:0:0\r\n" + finishedDay + " = 2:0:5\r\n");
    Click(main, IDC_MAIN_SHOW_HISTORY);
    EXPECT_EQ(platform.files["timehistory.txt"],
              "HISTORY\r\n2006-12-4 = 8:0:0\r\n" + finishedDay + " = 2:0:5\r\n" + Today() + " = 0:0:2\r\n");
    EXPECT_EQ(platform.files["activetimelog.txt"], "ACTIVE_TIME_TODAY " + Today() + " = 0:0:2\r\n");
    EXPECT_TRUE(platform.messageBoxes.empty());
}

// The history can't be saved at midnight, and its box is answered at 08:00 by a user who was
// away, or who worked on in other programs meanwhile: the count the window shows then.
std::string CountAfterABoxOpenAllNight(ActiveTimeWindowTest& test, bool workedOn)
{
    FakePlatform& platform = test.platform;
    HWND main = test.Open();
    Click(main, IDC_MAIN_START_STOP);
    test.Tick(5);
    platform.unwritableFiles["timehistory.txt"] = 1;
    // Just past the coming midnight, so that the night stays in one day.
    const CivilDate today = *LocalDate(platform.now);
    platform.now = LocalTime(today.year, today.month, today.day + 1, 0, 0, 5);
    int ticksWhileOpen = 0;
    // The box's own loop goes on delivering the activity timer through the night, a minute at a time.
    platform.whileBoxOpen = [&] {
        for (int minute = 0; minute < 8 * 60; ++minute, ++ticksWhileOpen) {
            platform.tickCount += 60000;
            platform.now += 60;
            if (workedOn)
                platform.lastInputTick = platform.tickCount;
            test.window->OnTimer(kActivityTimer);
        }
    };
    test.Tick();
    EXPECT_EQ(ticksWhileOpen, 8 * 60) << "the box waits until the tick has returned";
    EXPECT_EQ(platform.messageBoxes.size(), 1u);
    test.Tick();
    return test.window->ItemText(IDC_MAIN_ACTIVE_TIME);
}

TEST_F(ActiveTimeWindowTest, ABoxLeftOpenOvernightAddsOnlyItsFirstMinute)
{
    EXPECT_EQ(CountAfterABoxOpenAllNight(*this, false), "00:01:01");
}

TEST_F(ActiveTimeWindowTest, WorkInOtherProgramsWhileABoxWaitsIsCounted)
{
    EXPECT_EQ(CountAfterABoxOpenAllNight(*this, true), "08:00:01");
}

TEST_F(ActiveTimeWindowTest, ResumeStartsOnlyWhatTheSuspendStopped)
{
    HWND main = Open();
    Click(main, IDC_MAIN_START_STOP);
    // Without the catalogue the suspend can't stop supervision, so the resume must not stop it.
    platform.files.erase("standard.txt");
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_TRUE(g_bRunning);
    EXPECT_FALSE(g_bStoppedBySuspend);
    platform.files["standard.txt"] = kCatalogue;
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_TRUE(g_bRunning);

    // Stopped by the suspend, but the catalogue is gone at the resume: the next notice starts it.
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_FALSE(g_bRunning);
    platform.files.erase("standard.txt");
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_FALSE(g_bRunning);
    EXPECT_TRUE(g_bStoppedBySuspend);
    platform.files["standard.txt"] = kCatalogue;
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(g_bRunning);
    EXPECT_FALSE(g_bStoppedBySuspend);
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(g_bRunning);
}

TEST_F(ActiveTimeWindowTest, HidingToTheTrayLeavesAMessageBoxToAnswer)
{
    HWND main = Open();
    Click(main, IDC_MAIN_MORE_SETTINGS);
    // Any window the main window owns that is not one of its dialogs, as a message box is.
    HWND box = CreateWindowExW(0, L"STATIC", L"question", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, main, nullptr, nullptr,
                               nullptr);
    ASSERT_TRUE(box);
    window->OnTimer(kHideToTrayTimer);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(window->SettingsDialog()->IsVisible());
    EXPECT_TRUE(IsWindowVisible(box));
    DestroyWindow(box);
}

int IconWidth(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return 0;
    BITMAP picture{};
    GetObjectW(info.hbmColor, sizeof picture, &picture);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return picture.bmWidth;
}

// Moved to a monitor of another scaling, or told of a new scaling while hidden in the tray, the
// window shows the same step of the bar at the notification area's new small-icon size.
TEST_F(ActiveTimeWindowTest, TheTrayIconFollowsAChangeOfDpi)
{
    HWND main = Open();
    Click(main, IDC_MAIN_START_STOP);
    Tick();
    struct Step {
        UINT message;
        int dpi; // of WM_DPICHANGED
        int iconSize;
    };
    const Step steps[] = {
        {WM_DPICHANGED, 144, 24},
        {WM_DPICHANGED, 120, 20},
        {WM_SETTINGCHANGE, 0, GetSystemMetrics(SM_CXSMICON)}, // the window's own DPI again
        {WM_DISPLAYCHANGE, 0, 0},                             // unchanged: nothing is sent
        {WM_DPICHANGED, 192, 32},
    };
    for (const Step& step : steps) {
        const size_t before = platform.trayCalls.size();
        RECT place{};
        GetWindowRect(main, &place);
        SendMessageW(main, step.message, MAKEWPARAM(step.dpi, step.dpi),
                     step.message == WM_DPICHANGED ? reinterpret_cast<LPARAM>(&place) : 0);
        if (step.iconSize == 0) {
            EXPECT_EQ(platform.trayCalls.size(), before) << step.message;
            continue;
        }
        ASSERT_EQ(platform.trayCalls.size(), before + 1) << step.dpi;
        const FakePlatform::TrayCall& call = platform.trayCalls.back();
        EXPECT_EQ(call.action, static_cast<DWORD>(NIM_MODIFY)) << step.dpi;
        EXPECT_EQ(call.flags, static_cast<UINT>(NIF_ICON)) << step.dpi;
        EXPECT_EQ(call.icon, icons[2]) << step.dpi << ": the bar's step of two hours";
        EXPECT_EQ(IconWidth(call.icon), step.iconSize) << step.dpi;
        EXPECT_EQ(call.tip, "Active time today: 02:00:01") << step.dpi;
    }
    Click(main, IDC_MAIN_QUIT);
    for (HICON icon : icons)
        DestroyIcon(icon);
}

} // namespace
