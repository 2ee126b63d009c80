#include "about/about_dialog_win.h"
#include "app/main_window_win.h"
#include "app/tray_icon_win.h"
#include "breaks/forced_break_dialog_win.h"
#include "breaks/heads_up_window_win.h"
#include "fake_platform_win.h"
#include "framework/dpi_win.h"
#include "history/history_dialog_win.h"
#include "messages/message_catalogue.h"
#include "messages/popup_geometry.h"
#include "messages/quiet_keeper_win.h"
#include "messages/status_bar_popup_win.h"
#include "settings/settings_dialog_win.h"
#include "shutdown/set_time_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// Texts are measured in the fonts the controls really have at the test's DPI (96 by default; the
// text_fit_144dpi test runs them again at 150 %).
namespace {

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

// The room a control's text needs, measured with the control's own font, and the room it has.
struct Fit {
    SIZE needed{};
    SIZE room{};
};

// Measures a text control, or returns false for a control that shows no text of its own.
bool MeasureControl(HWND control, Fit& fit)
{
    std::wstring text = WindowText(control);
    // Blanks at the end show nothing.
    text.erase(text.find_last_not_of(L' ') + 1);
    const std::wstring windowClass = ClassName(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (text.empty() || (lstrcmpiW(windowClass.c_str(), L"Static") != 0 && lstrcmpiW(windowClass.c_str(), L"Button") != 0))
        return false;
    RECT client{};
    GetClientRect(control, &client);
    fit.room = {client.right, client.bottom};
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int dpi = DpiForWindow(control);
    bool wraps = true;
    if (lstrcmpiW(windowClass.c_str(), L"Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) {
            SelectObject(dc, previous);
            ReleaseDC(control, dc);
            return false; // a picture
        }
        wraps = type != SS_LEFTNOWORDWRAP;
    } else {
        const LONG type = style & BS_TYPEMASK;
        wraps = (style & BS_MULTILINE) != 0;
        if (type == BS_GROUPBOX) {
            // The caption stands between the frame's corners, half a character in from each.
            fit.room.cx -= metrics.tmAveCharWidth * 2;
            wraps = false;
        } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                   type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE) {
            // The glyph, 13 pixels at 100 %, and the gap after it, half a digit wide.
            SIZE digit{};
            GetTextExtentPoint32W(dc, L"0", 1, &digit);
            fit.room.cx -= MulDiv(13, dpi, USER_DEFAULT_SCREEN_DPI) + digit.cx / 2 + 1;
        } else {
            // A push button's raised edge and its focus rectangle inside it.
            fit.room.cx -= 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
        }
    }
    RECT needed{0, 0, wraps ? fit.room.cx : 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    fit.needed = {needed.right, needed.bottom};
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return true;
}

struct Clipped {
    std::string dialog;
    int id;
    std::string text;
    Fit fit;
};

void CheckDialog(const char* name, HWND dialog, std::vector<Clipped>& clipped)
{
    ASSERT_NE(dialog, nullptr) << name;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        Fit fit;
        if (!MeasureControl(control, fit))
            continue;
        if (fit.needed.cx > fit.room.cx || fit.needed.cy > fit.room.cy)
            clipped.push_back({name, GetDlgCtrlID(control), Narrow(WindowText(control)), fit});
    }
}

// Every label, button, check box and radio button of every dialog shows its whole text.
TEST(TextFitTest, EveryDialogShowsItsTextsWhole)
{
    // Set by the session scaled to another DPI, which must really have been scaled.
    if (const char* expected = std::getenv("KELVARO_EXPECTED_DPI")) {
        ASSERT_EQ(SystemDpi(), std::atoi(expected));
    }
    ResetProgramState();
    FakePlatform platform;
    platform.files["standard.txt"] = "--HEALTH-- a ; --END--";
    platform.files["settings.txt"] = "STARTTRAY 0 STARTPROGRAM false";
    HICON icons[kTrayIconCount] = {};
    CTavrinDlg main(platform, icons);
    ASSERT_TRUE(main.Create(nullptr));
    CAboutDlg about(platform);
    ASSERT_TRUE(about.Create(main.Hwnd()));
    CforceBreak forcedBreak;
    ASSERT_TRUE(forcedBreak.Create(main.Hwnd()));
    CQuietKeeper quiet(platform);
    CHeadsUpWnd headsUp(platform, quiet, [] {});
    ASSERT_TRUE(headsUp.Create(main.Hwnd()));
    PumpMessages();

    std::vector<Clipped> clipped;
    CheckDialog("main window", main.Hwnd(), clipped);
    CheckDialog("Settings", g_pSettingsDlg->Hwnd(), clipped);
    CheckDialog("Set Time", g_pShutdownDlg->Hwnd(), clipped);
    CheckDialog("History", g_pHistoryDlg->Hwnd(), clipped);
    CheckDialog("About", about.Hwnd(), clipped);
    CheckDialog("forced break", forcedBreak.Hwnd(), clipped);
    CheckDialog("heads-up", headsUp.Hwnd(), clipped);
    for (const Clipped& c : clipped)
        ADD_FAILURE() << c.dialog << " control " << c.id << " \"" << c.text << "\" needs " << c.fit.needed.cx << " x "
                      << c.fit.needed.cy << " pixels, has " << c.fit.room.cx << " x " << c.fit.room.cy << " at "
                      << SystemDpi() << " DPI";
    DestroyWindow(main.Hwnd());
}

// Each tip of the shipped catalogue stands whole in the popup's text rectangle.
TEST(TextFitTest, EveryShippedMessageFitsThePopup)
{
    std::ifstream file(KELVARO_SOURCE_DIR "/src/messages/standard.txt", std::ios::binary);
    ASSERT_TRUE(file.is_open());
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const MessageCatalogue catalogue = ReadMessageCatalogue(text).catalogue;

    const int dpi = SystemDpi();
    HDC dc = GetDC(nullptr);
    HFONT font = CStatusBarMsgWnd::CreateMessageFont(false, dpi);
    HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    // Wine has no Arial of its own; Liberation Sans has the same widths.
    ASSERT_TRUE(lstrcmpiW(face, L"Arial") == 0 || lstrcmpiW(face, L"Liberation Sans") == 0) << Narrow(face);
    const int width = ScaleToDpi(kReminderPopupTextRect.right - kReminderPopupTextRect.left, dpi);
    const int height = ScaleToDpi(kReminderPopupTextRect.bottom - kReminderPopupTextRect.top, dpi);
    for (const MessageList* list : {&catalogue.health, &catalogue.timeBreaks, &catalogue.sleep}) {
        for (const std::string& message : *list) {
            const std::wstring wide = Widen(message);
            RECT needed{0, 0, width, 0};
            DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &needed,
                      DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
            EXPECT_TRUE(needed.right <= width && needed.bottom <= height)
                << message << ": needs " << needed.right << " x " << needed.bottom << ", has " << width << " x "
                << height;
        }
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
}

} // namespace
