#include "shutdown/set_time_dialog_win.h"

#include "fake_platform_win.h"
#include "resources/resource_ids.h"
#include "test_support_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// 2006-12-05 12:00:00 UTC: the same local date in every time zone within eleven hours of UTC.
constexpr std::int64_t kNoonOfTheFifth = 1165320000;

class SetTimeDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(nullptr));
        PumpMessages();
        dialog.Show(SW_SHOW);
    }

    HWND Hwnd() const { return dialog.Hwnd(); }

    // Sets the picker as the user would, on some other day.
    void SetPicker(WORD hour, WORD minute, WORD second)
    {
        SYSTEMTIME time{2011, 3, 0, 14, hour, minute, second, 0};
        ASSERT_TRUE(SendMessageW(dialog.Item(IDC_SETTIME_PICKER), DTM_SETSYSTEMTIME, GDT_VALID,
                                 reinterpret_cast<LPARAM>(&time)));
    }
    SYSTEMTIME Picker() const
    {
        SYSTEMTIME time{};
        EXPECT_EQ(SendMessageW(dialog.Item(IDC_SETTIME_PICKER), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)),
                  GDT_VALID);
        return time;
    }
    // The stored choice as action@h:m:s.
    std::string Stored() const
    {
        return std::to_string(dialog.m_nAction) + "@" + std::to_string(dialog.m_nHour) + ":" +
               std::to_string(dialog.m_nMinute) + ":" + std::to_string(dialog.m_nSecond);
    }

    FakePlatform platform;
    SettingsModel settings;
    CShoutdownDlg dialog{platform, settings};
};

TEST_F(SetTimeDialogTest, OkStoresTheActionAndThePickersTimeOfDay)
{
    EXPECT_EQ(dialog.CheckedButton(IDC_SETTIME_SHUTDOWN, IDC_SETTIME_POWER_OFF), IDC_SETTIME_SHUTDOWN);
    EXPECT_TRUE(dialog.IsChecked(IDC_SETTIME_WARNING));

    struct Case {
        int action;
        WORD hour, minute, second;
        const char* stored;
    };
    const Case cases[] = {
        {IDC_SETTIME_REBOOT, 23, 15, 0, "1023@23:15:0"},
        {IDC_SETTIME_LOG_OFF, 0, 0, 1, "1022@0:0:1"},
        {IDC_SETTIME_POWER_OFF, 12, 59, 59, "1024@12:59:59"},
        {IDC_SETTIME_SHUTDOWN, 7, 5, 30, "1021@7:5:30"},
    };
    for (const Case& c : cases) {
        dialog.Show(SW_SHOW);
        Click(Hwnd(), c.action);
        SetPicker(c.hour, c.minute, c.second);
        Click(Hwnd(), IDOK);
        EXPECT_EQ(Stored(), c.stored);
        EXPECT_FALSE(dialog.IsVisible()) << c.stored;
    }
}

TEST_F(SetTimeDialogTest, CancelKeepsTheMembersButShowsTheUnconfirmedChoiceUntilOk)
{
    struct Way {
        const char* name;
        void (*close)(HWND dialog);
    };
    const Way ways[] = {
        {"Cancel",
         [](HWND d) {
             Click(d, IDCANCEL);
         }},
        {"Escape",
         [](HWND d) {
             MSG message{GetDlgItem(d, IDC_SETTIME_WARNING), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
             CDialog::PreTranslate(message);
         }},
        {"close box",
         [](HWND d) {
             SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
             PumpMessages();
         }},
    };
    for (const Way& way : ways) {
        dialog.m_nAction = IDC_SETTIME_SHUTDOWN;
        dialog.m_nHour = 22;
        dialog.m_nMinute = 30;
        dialog.m_nSecond = 0;
        dialog.Show(SW_SHOW);
        Click(Hwnd(), IDC_SETTIME_LOG_OFF);
        SetPicker(6, 10, 20);

        way.close(Hwnd());
        EXPECT_FALSE(dialog.IsVisible()) << way.name;
        EXPECT_EQ(Stored(), "1021@22:30:0") << way.name;

        dialog.Show(SW_SHOW);
        EXPECT_EQ(dialog.CheckedButton(IDC_SETTIME_SHUTDOWN, IDC_SETTIME_POWER_OFF), IDC_SETTIME_LOG_OFF) << way.name;
        Click(Hwnd(), IDOK);
        EXPECT_EQ(Stored(), "1022@6:10:20") << way.name;
    }
}

TEST_F(SetTimeDialogTest, UncheckingTheWarningShowsTheNoticeAndCheckingShowsNothing)
{
    Click(Hwnd(), IDC_SETTIME_WARNING);
    EXPECT_FALSE(dialog.IsChecked(IDC_SETTIME_WARNING));
    EXPECT_FALSE(settings.shutdownWarning) << "in force at once";
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].owner, Hwnd());
    EXPECT_EQ(platform.messageBoxes[0].text, "No warning will appear when timelimit is hit!");
    EXPECT_EQ(platform.messageBoxes[0].caption, "Kelvaro Notice!");
    EXPECT_EQ(platform.messageBoxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));

    Click(Hwnd(), IDC_SETTIME_WARNING);
    EXPECT_TRUE(dialog.IsChecked(IDC_SETTIME_WARNING));
    EXPECT_TRUE(settings.shutdownWarning);
    dialog.SetChecked(IDC_SETTIME_WARNING, false);
    Notify(Hwnd(), IDC_SETTIME_WARNING, BN_KILLFOCUS);
    EXPECT_EQ(platform.messageBoxes.size(), 1u);
}

TEST_F(SetTimeDialogTest, TheModelsTimeShowsOnTheDayGivenAndOkTakesIt)
{
    settings.timeLimit = {7, 45, 30};
    settings.shutdownAction = IDC_SETTIME_REBOOT;
    settings.shutdownWarning = false;
    dialog.ShowSettings(kNoonOfTheFifth);
    const SYSTEMTIME shown = Picker();
    EXPECT_EQ(shown.wYear * 10000 + shown.wMonth * 100 + shown.wDay, 20061205);
    EXPECT_EQ(dialog.CheckedButton(IDC_SETTIME_SHUTDOWN, IDC_SETTIME_POWER_OFF), IDC_SETTIME_REBOOT);
    EXPECT_FALSE(dialog.IsChecked(IDC_SETTIME_WARNING));
    Click(Hwnd(), IDOK);
    EXPECT_EQ(Stored(), "1023@7:45:30");

    // A time outside the day leaves the picker as it was.
    settings.timeLimit = {25, 61, 0};
    dialog.ShowSettings(kNoonOfTheFifth);
    const SYSTEMTIME kept = Picker();
    EXPECT_EQ(kept.wHour * 10000 + kept.wMinute * 100 + kept.wSecond, 74530);
}

TEST_F(SetTimeDialogTest, OkDoesNothingWhileItsButtonIsLocked)
{
    Click(Hwnd(), IDC_SETTIME_REBOOT);
    SetPicker(9, 0, 0);
    dialog.ShowEnabling(true);
    SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(Stored(), "1021@0:0:0");
    EXPECT_TRUE(dialog.IsVisible());
}

} // namespace
