#include "app/main_window_win.h"
#include "app/tray_icon_win.h"

#include "fake_platform_win.h"
#include "modal_watchdog_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

namespace {

// A control of a row: 0 the day's box, 1 and 2 its range, 3 the second range's box, 4 and 5 that range.
int Control(int row, int place)
{
    return IDC_WORKHOURS_ROW0_DAY + row * (IDC_WORKHOURS_ROW1_DAY - IDC_WORKHOURS_ROW0_DAY) + place;
}

void SetPicker(HWND dialog, int id, WORD hour, WORD minute)
{
    SYSTEMTIME time{2011, 3, 1, 14, hour, minute, 0, 0};
    SendMessageW(GetDlgItem(dialog, id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

// A row as the user sees it, "Monday x 09:00-17:00 - 13:00*-17:00*": the day, its box, its range,
// the second range's box and range; * marks a control that takes no input.
std::string Row(HWND dialog, int row)
{
    wchar_t name[32] = {};
    GetDlgItemTextW(dialog, Control(row, 0), name, 32);
    std::string text = Narrow(name);
    for (int place = 0; place < 6; ++place) {
        HWND control = GetDlgItem(dialog, Control(row, place));
        if (place == 0 || place == 3) {
            text += IsDlgButtonChecked(dialog, Control(row, place)) == BST_CHECKED ? " x" : " -";
        } else {
            SYSTEMTIME time{};
            SendMessageW(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
            char clock[8];
            std::snprintf(clock, sizeof clock, "%02d:%02d", time.wHour, time.wMinute);
            text += place % 3 == 1 ? ' ' : '-';
            text += clock;
        }
        if (place > 0 && !IsWindowEnabled(control))
            text += '*';
    }
    return text;
}

// The user at the dialog: what they do in its modal loop, once it shows.
std::function<void(HWND)> g_userAtTheDialog;
void CALLBACK LookForTheDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowW(L"#32770", L"Working hours");
    if (dialog && IsWindowVisible(dialog) && g_userAtTheDialog)
        std::exchange(g_userAtTheDialog, nullptr)(dialog);
}

class WorkingHoursDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["settings.txt"] = "STARTTRAY 0";
        platform.firstDayOfWeek = 6; // a locale whose week starts on Sunday
        ASSERT_TRUE(window.Create(nullptr));
        window.SettingsDialog()->Show(SW_SHOW);
    }
    void TearDown() override { DestroyWindow(window.Hwnd()); }

    // Opens the dialog by the Settings dialog's button and does there what the user does; the rows
    // as they showed first.
    std::string Visit(const std::function<void(HWND)>& doing)
    {
        std::string rows;
        g_userAtTheDialog = [&](HWND dialog) {
            for (int row = 0; row < 7; ++row)
                rows += Row(dialog, row) + "\n";
            doing(dialog);
        };
        const ModalWatchdog watchdog;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &LookForTheDialog);
        Click(window.SettingsDialog()->Hwnd(), IDC_SETTINGS_WORK_HOURS_EDIT);
        KillTimer(nullptr, timer);
        EXPECT_FALSE(g_userAtTheDialog || watchdog.Fired());
        return rows;
    }
    // The days' lines of settings.txt as the main window writes it now.
    std::string SavedDays()
    {
        EXPECT_EQ(window.LoadSaveSettings(0), 1);
        const std::string& file = platform.files["settings.txt"];
        return file.substr(file.find("WORK_MON"), file.find("DAILY_LIMIT ") - file.find("WORK_MON"));
    }

    FakePlatform platform;
    HICON icons[kTrayIconCount] = {};
    CTavrinDlg window{platform, icons};
};

TEST_F(WorkingHoursDialogTest, OkWritesTheDaysAsTheUserLeftThemAndCancelDropsTheChanges)
{
    const std::string shown = Visit([](HWND dialog) {
        // From Sunday: Monday gets an afternoon, Wednesday is off, Saturday works the night.
        SetPicker(dialog, Control(1, 2), 12, 30);
        Click(dialog, Control(1, 3));
        SetPicker(dialog, Control(1, 4), 13, 30);
        SetPicker(dialog, Control(1, 5), 17, 45);
        Click(dialog, Control(3, 0));
        Click(dialog, Control(6, 0));
        SetPicker(dialog, Control(6, 1), 22, 0);
        SetPicker(dialog, Control(6, 2), 2, 0);
        EXPECT_EQ(Row(dialog, 1) + "\n" + Row(dialog, 3) + "\n" + Row(dialog, 6),
                  "Monday x 09:00-12:30 x 13:30-17:45\nWednesday - 09:00*-17:00* -* 13:00*-17:00*\n"
                  "Saturday x 22:00-02:00 - 13:00*-17:00*");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(shown, "Sunday - 09:00*-17:00* -* 13:00*-17:00*\nMonday x 09:00-17:00 - 13:00*-17:00*\n"
                     "Tuesday x 09:00-17:00 - 13:00*-17:00*\nWednesday x 09:00-17:00 - 13:00*-17:00*\n"
                     "Thursday x 09:00-17:00 - 13:00*-17:00*\nFriday x 09:00-17:00 - 13:00*-17:00*\n"
                     "Saturday - 09:00*-17:00* -* 13:00*-17:00*\n");
    const std::string written = "WORK_MON \"09:00-12:30 13:30-17:45\"\r\nWORK_TUE \"09:00-17:00\"\r\nWORK_WED \"\"\r\n"
                                "WORK_THU \"09:00-17:00\"\r\nWORK_FRI \"09:00-17:00\"\r\nWORK_SAT \"22:00-02:00\"\r\n"
                                "WORK_SUN \"\"\r\n";
    EXPECT_EQ(SavedDays(), written);

    const std::string again = Visit([](HWND dialog) {
        Click(dialog, Control(1, 0));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(again.substr(0, again.find("Tuesday")),
              "Sunday - 09:00*-17:00* -* 13:00*-17:00*\nMonday x 09:00-12:30 x 13:30-17:45\n");
    EXPECT_EQ(SavedDays(), written);
    // Supervision started from the tray while the dialog is open took the working hours: OK is
    // locked as the other choices are, and the week stays as Start took it.
    Visit([this](HWND dialog) {
        SendMessageW(window.Hwnd(), WM_COMMAND, ID_TRAY_START_STOP, 0);
        EXPECT_TRUE(g_bRunning);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
        Click(dialog, Control(1, 0));
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindowVisible(dialog)) << "an Enter slipping past the locked button changes nothing";
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(SavedDays(), written);
}

} // namespace
