#include "breaks/forced_break_dialog_win.h"
#include "fake_platform_win.h"
#include "framework/accessibility_win.h"
#include "messages/status_bar_popup_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The alerts a screen reader hears, delivered to this thread's hook as its messages are pumped.
std::vector<HWND> g_alerts;

void CALLBACK OnAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        g_alerts.push_back(window);
}

TEST(ScreenReaderTest, PopupsAndTheBreakDialogAreAnnouncedOnceShown)
{
    g_alerts.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, OnAlert,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    FakePlatform platform;
    (new CStatusBarMsgWnd(platform, " Stand up and stretch", kReminderPopupWidth, kReminderPopupHeight, 4000, 5,
                          kReminderPopupTextRect, nullptr))
        ->PopUp();
    HWND popup = FindWindowW(CStatusBarMsgWnd::kWindowClass, nullptr);
    ASSERT_NE(popup, nullptr);
    wchar_t name[64] = {};
    GetWindowTextW(popup, name, 64);
    EXPECT_STREQ(name, L" Stand up and stretch") << "a screen reader's name for it";
    for (int step = 0; step < 3; ++step)
        SendMessageW(popup, WM_TIMER, 100, 0);
    PumpMessages();
    EXPECT_EQ(g_alerts, std::vector<HWND>{popup}) << "once, as it starts to roll out";
    DestroyWindow(popup);

    CforceBreak pause;
    ASSERT_TRUE(pause.Create(nullptr));
    HWND title = pause.Item(IDC_BREAK_TITLE);
    pause.Show(SW_SHOW);
    pause.Show(SW_SHOW);
    PumpMessages();
    EXPECT_EQ(g_alerts, (std::vector<HWND>{popup, title})) << "when it is shown, not while it stays";
    // Its idea after its title.
    pause.Show(SW_HIDE);
    pause.ShowIdea("Stand up and stretch");
    pause.Show(SW_SHOW);
    PumpMessages();
    EXPECT_EQ(g_alerts, (std::vector<HWND>{popup, title, title, pause.Item(IDC_BREAK_IDEA)}));
    UnhookWinEvent(hook);
}

// Wine keeps no high-contrast state (SPI_SETHIGHCONTRAST fails there): the test turns it on through the override.
TEST(HighContrastTest, StyledLabelsTakeTheSchemesTextColourAndRepaintWhenItIsTurnedOn)
{
    FakePlatform platform;
    SettingsModel model;
    CSetting settings(platform, model);
    ASSERT_TRUE(settings.Create(nullptr));
    // A note, grey by design.
    HWND dialog = settings.Hwnd();
    HWND note = GetDlgItem(dialog, IDC_SETTINGS_LEDS_NOTE);
    ShowWindow(dialog, SW_SHOWNOACTIVATE); // only a shown control keeps a region to paint
    HDC dc = CreateCompatibleDC(nullptr);
    for (bool on : {false, true}) {
        OverrideHighContrast(on);
        SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(note));
        EXPECT_EQ(GetTextColor(dc), on ? GetSysColor(COLOR_BTNTEXT) : RGB(128, 128, 128)) << on;
        ValidateRect(note, nullptr);
        SendMessageW(dialog, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_TRUE(GetUpdateRect(note, nullptr, FALSE)) << on;
    }
    OverrideHighContrast(std::nullopt);
    DeleteDC(dc);
}

} // namespace
