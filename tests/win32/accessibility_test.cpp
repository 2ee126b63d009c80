#include "app/main_window_win.h"
#include "breaks/forced_break_dialog_win.h"
#include "fake_platform_win.h"
#include "framework/accessibility_win.h"
#include "history/history_dialog_win.h"
#include "messages/status_bar_popup_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::wstring WindowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

HWND OpenPopup(Platform& platform, const std::string& text)
{
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), 0);
    (new CStatusBarMsgWnd(platform, text, kReminderPopupWidth, kReminderPopupHeight, 4000, 5, kReminderPopupTextRect,
                          nullptr))
        ->PopUp();
    return FindWindowW(CStatusBarMsgWnd::kWindowClass, nullptr);
}

void Roll(HWND popup, int steps)
{
    for (int step = 0; step < steps; ++step)
        SendMessageW(popup, WM_TIMER, 100, 0);
}

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
    HWND popup = OpenPopup(platform, " Stand up and stretch");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(WindowText(popup), L" Stand up and stretch");
    PumpMessages();
    EXPECT_TRUE(g_alerts.empty()) << "nothing before it shows";
    Roll(popup, 3);
    PumpMessages();
    EXPECT_EQ(g_alerts, std::vector<HWND>{popup}) << "once, as it starts to roll out";
    DestroyWindow(popup);

    CforceBreak pause;
    ASSERT_TRUE(pause.Create(nullptr));
    HWND title = pause.Item(IDC_BREAK_TITLE);
    EXPECT_EQ(WindowText(title), L"Take a break!");
    pause.Show(SW_SHOW);
    pause.Show(SW_SHOW);
    pause.Show(SW_HIDE);
    pause.Show(SW_SHOW);
    PumpMessages();
    EXPECT_EQ(g_alerts, (std::vector<HWND>{popup, title, title})) << "each time it is shown, not while it stays";
    UnhookWinEvent(hook);
}

// A high-contrast scheme of the test's own for the Wine session, taken back afterwards. Wine keeps
// no high-contrast state (SPI_SETHIGHCONTRAST fails there), so the tests turn it on through the override.
class HighContrastTest : public ::testing::Test {
protected:
    static constexpr int kElements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
    static constexpr COLORREF kWindow = RGB(0, 0, 0);
    static constexpr COLORREF kWindowText = RGB(255, 255, 0);
    static constexpr COLORREF kFace = RGB(0, 0, 128);
    static constexpr COLORREF kFaceText = RGB(255, 255, 255);

    void SetUp() override
    {
        for (std::size_t i = 0; i < std::size(kElements); ++i)
            m_saved[i] = GetSysColor(kElements[i]);
        const COLORREF scheme[] = {kWindow, kWindowText, kFace, kFaceText};
        ASSERT_TRUE(SetSysColors(static_cast<int>(std::size(kElements)), kElements, scheme));
        OverrideHighContrast(true);
    }
    void TearDown() override
    {
        OverrideHighContrast(std::nullopt);
        SetSysColors(static_cast<int>(std::size(kElements)), kElements, m_saved);
    }

    COLORREF m_saved[std::size(kElements)] = {};
};

TEST_F(HighContrastTest, EveryStyledLabelTakesTheSchemesTextColour)
{
    ResetProgramState();
    FakePlatform platform;
    platform.files["settings.txt"] = "STARTTRAY 0 STARTPROGRAM false";
    HICON icons[9] = {};
    CTavrinDlg main(platform, icons);
    ASSERT_TRUE(main.Create(nullptr));
    CforceBreak pause;
    ASSERT_TRUE(pause.Create(main.Hwnd()));
    const struct {
        HWND dialog;
        int id;
        COLORREF designed;
    } labels[] = {{main.Hwnd(), IDC_MAIN_MIN_LABEL, RGB(0, 0, 0)},
                  {g_pSettingsDlg->Hwnd(), IDC_SETTINGS_LEDS_NOTE, RGB(128, 128, 128)},
                  {g_pHistoryDlg->Hwnd(), IDC_HISTORY_TITLE, RGB(0, 0, 0)},
                  {pause.Hwnd(), IDC_BREAK_TITLE, RGB(0, 0, 0)}};
    HDC dc = CreateCompatibleDC(nullptr);
    for (bool on : {false, true}) {
        OverrideHighContrast(on);
        for (const auto& label : labels) {
            HWND control = GetDlgItem(label.dialog, label.id);
            ShowWindow(label.dialog, SW_SHOWNOACTIVATE); // only a shown control keeps a region to paint
            SendMessageW(label.dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(control));
            EXPECT_EQ(GetTextColor(dc), on ? kFaceText : label.designed) << "label " << label.id << ", on " << on;
            // Turning high contrast on or off repaints them.
            ValidateRect(control, nullptr);
            SendMessageW(label.dialog, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
            EXPECT_TRUE(GetUpdateRect(control, nullptr, FALSE)) << "label " << label.id;
        }
    }
    DeleteDC(dc);
    DestroyWindow(main.Hwnd());
}

TEST_F(HighContrastTest, AnOpenPopupTakesTheSchemesColoursWhenHighContrastIsTurnedOn)
{
    OverrideHighContrast(false);
    FakePlatform platform;
    HWND popup = OpenPopup(platform, "Stand up and stretch");
    ASSERT_NE(popup, nullptr);
    Roll(popup, kReminderPopupHeight + 1);
    auto count = [&](COLORREF colour) {
        int found = 0;
        HDC dc = GetDC(popup);
        for (int y = 30; y < 110; ++y)
            for (int x = 30; x < 130; ++x)
                found += GetPixel(dc, x, y) == colour;
        ReleaseDC(popup, dc);
        return found;
    };
    EXPECT_EQ(count(kWindowText), 0) << "black text, as ever";
    OverrideHighContrast(true);
    SendMessageW(popup, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_GT(count(kWindowText), 0);
    EXPECT_EQ(count(RGB(255, 255, 255)), 0) << "the text's background is the window's too";
    DestroyWindow(popup);
}

} // namespace
