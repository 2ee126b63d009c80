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
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr int kRowStep = IDC_WORKHOURS_ROW1_DAY - IDC_WORKHOURS_ROW0_DAY;

int Control(int row, int place)
{
    return IDC_WORKHOURS_ROW0_DAY + row * kRowStep + place;
}

std::string PickerText(HWND dialog, int id)
{
    SYSTEMTIME time{};
    SendMessageW(GetDlgItem(dialog, id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", time.wHour, time.wMinute);
    return text + std::string(IsWindowEnabled(GetDlgItem(dialog, id)) ? "" : "*");
}

void SetPicker(HWND dialog, int id, WORD hour, WORD minute)
{
    SYSTEMTIME time{2011, 3, 1, 14, hour, minute, 0, 0};
    SendMessageW(GetDlgItem(dialog, id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

std::string Box(HWND dialog, int id)
{
    HWND box = GetDlgItem(dialog, id);
    return std::string(IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "x" : "-") + (IsWindowEnabled(box) ? "" : "*");
}

// A row as the user sees it: the day, its box, its range, the second range's box and range; a
// control that takes no input is marked *.
std::string Row(HWND dialog, int row)
{
    wchar_t name[32] = {};
    GetDlgItemTextW(dialog, Control(row, 0), name, 32);
    return Narrow(name) + " " + Box(dialog, Control(row, 0)) + " " + PickerText(dialog, Control(row, 1)) + "-" +
           PickerText(dialog, Control(row, 2)) + " " + Box(dialog, Control(row, 3)) + " " +
           PickerText(dialog, Control(row, 4)) + "-" + PickerText(dialog, Control(row, 5));
}

// The user at the Working hours dialog: a step that runs in its modal loop once it shows.
class AtTheDialog {
public:
    explicit AtTheDialog(std::function<void(HWND)> step)
    {
        s_step = std::move(step);
        m_nTimer = SetTimer(nullptr, 0, 10, &Tick);
    }
    ~AtTheDialog()
    {
        KillTimer(nullptr, m_nTimer);
        s_step = nullptr;
    }
    AtTheDialog(const AtTheDialog&) = delete;
    AtTheDialog& operator=(const AtTheDialog&) = delete;
    static bool Ran() { return !s_step; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND dialog = FindWindowW(L"#32770", L"Working hours");
        if (!dialog || !IsWindowVisible(dialog) || !s_step)
            return;
        const std::function<void(HWND)> step = std::move(s_step);
        s_step = nullptr;
        step(dialog);
    }

    inline static std::function<void(HWND)> s_step;
    UINT_PTR m_nTimer;
};

class WorkingHoursDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = "--HEALTH-- a ; --END-- --TIMEBREAKS-- b ; --END-- --SLEEP-- c ; --END--";
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["settings.txt"] = "STARTTRAY 0";
        // A locale whose week starts on Sunday.
        platform.firstDayOfWeek = 6;
        window = std::make_unique<CTavrinDlg>(platform, icons);
        ASSERT_TRUE(window->Create(nullptr));
        PumpMessages();
        g_pSettingsDlg->Show(SW_SHOW);
    }
    void TearDown() override { DestroyWindow(window->Hwnd()); }

    // Opens the dialog from the Settings dialog's button, does what the user does there, and
    // returns the rows as they showed before.
    std::string Visit(const std::function<void(HWND)>& doing)
    {
        std::string rows;
        const AtTheDialog user([&](HWND dialog) {
            for (int row = 0; row < 7; ++row)
                rows += Row(dialog, row) + "\n";
            doing(dialog);
        });
        const ModalWatchdog watchdog;
        Click(g_pSettingsDlg->Hwnd(), IDC_SETTINGS_WORK_HOURS_EDIT);
        EXPECT_TRUE(AtTheDialog::Ran());
        EXPECT_FALSE(watchdog.Fired());
        return rows;
    }

    std::string Saved()
    {
        EXPECT_EQ(window->LoadSaveSettings(0), 1);
        const std::string& file = platform.files["settings.txt"];
        return file.substr(file.find("WORK_MON"), file.find("DAILY_LIMIT ") - file.find("WORK_MON"));
    }

    FakePlatform platform;
    HICON icons[kTrayIconCount] = {};
    std::unique_ptr<CTavrinDlg> window;
};

TEST_F(WorkingHoursDialogTest, OkWritesTheDaysAsTheUserLeftThemInTheSettings)
{
    const std::string shown = Visit([](HWND dialog) {
        // Rows from Sunday: Monday gets an afternoon, Wednesday is off, Saturday works the night.
        SetPicker(dialog, Control(1, 2), 12, 30);
        Click(dialog, Control(1, 3));
        SetPicker(dialog, Control(1, 4), 13, 30);
        SetPicker(dialog, Control(1, 5), 17, 45);
        Click(dialog, Control(3, 0));
        Click(dialog, Control(6, 0));
        SetPicker(dialog, Control(6, 1), 22, 0);
        SetPicker(dialog, Control(6, 2), 2, 0);
        const std::string changed = Row(dialog, 1) + "\n" + Row(dialog, 3) + "\n" + Row(dialog, 6);
        EXPECT_EQ(changed, "Monday x 09:00-12:30 x 13:30-17:45\n"
                           "Wednesday - 09:00*-17:00* -* 13:00*-17:00*\n"
                           "Saturday x 22:00-02:00 - 13:00*-17:00*");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(shown, "Sunday - 09:00*-17:00* -* 13:00*-17:00*\n"
                     "Monday x 09:00-17:00 - 13:00*-17:00*\n"
                     "Tuesday x 09:00-17:00 - 13:00*-17:00*\n"
                     "Wednesday x 09:00-17:00 - 13:00*-17:00*\n"
                     "Thursday x 09:00-17:00 - 13:00*-17:00*\n"
                     "Friday x 09:00-17:00 - 13:00*-17:00*\n"
                     "Saturday - 09:00*-17:00* -* 13:00*-17:00*\n");
    const std::string written = "WORK_MON \"09:00-12:30 13:30-17:45\"\r\nWORK_TUE \"09:00-17:00\"\r\nWORK_WED \"\"\r\n"
                                "WORK_THU \"09:00-17:00\"\r\nWORK_FRI \"09:00-17:00\"\r\nWORK_SAT \"22:00-02:00\"\r\n"
                                "WORK_SUN \"\"\r\n";
    EXPECT_EQ(Saved(), written);

    // Cancel drops what was changed; the dialog opens again on the week as taken.
    const std::string again = Visit([](HWND dialog) {
        Click(dialog, Control(1, 0));
        Click(dialog, Control(0, 0));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(again.substr(0, again.find("Tuesday")), "Sunday - 09:00*-17:00* -* 13:00*-17:00*\n"
                                                      "Monday x 09:00-12:30 x 13:30-17:45\n");
    EXPECT_EQ(Saved(), written);
    EXPECT_TRUE(platform.messageBoxes.empty());
}

} // namespace
