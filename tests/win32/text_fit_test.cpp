#include "about/about_dialog_win.h"
#include "app/main_window_win.h"
#include "app/tray_icon_win.h"
#include "breaks/break_ideas.h"
#include "breaks/eye_break_popup_win.h"
#include "breaks/forced_break_dialog_win.h"
#include "breaks/heads_up_window_win.h"
#include "fake_platform_win.h"
#include "framework/dpi_win.h"
#include "history/history_dialog_win.h"
#include "language/po_file.h"
#include "language/translation.h"
#include "messages/message_catalogue.h"
#include "messages/popup_geometry.h"
#include "messages/quiet_keeper_win.h"
#include "messages/status_bar_popup_win.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "settings/working_hours_dialog_win.h"
#include "shutdown/set_time_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Every label of the History dialog's chart stands whole in the room the chart gives it, as the
// chart's font draws it: so many of them.
void CheckChart(const CHistoryChart& chart, std::vector<Clipped>& clipped, std::size_t labels)
{
    const ChartPicture picture = chart.Picture();
    EXPECT_EQ(picture.texts.size(), labels);
    HDC dc = GetDC(chart.Hwnd());
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(chart.Hwnd(), WM_GETFONT, 0, 0)));
    for (const ChartText& label : picture.texts) {
        const std::wstring text = Widen(label.text);
        RECT needed{};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const Fit fit{{needed.right, needed.bottom},
                      {label.room.right - label.room.left, label.room.bottom - label.room.top}};
        if (fit.needed.cx > fit.room.cx || fit.needed.cy > fit.room.cy)
            clipped.push_back({"History chart", GetDlgCtrlID(chart.Hwnd()), label.text, fit});
    }
    SelectObject(dc, previous);
    ReleaseDC(chart.Hwnd(), dc);
}

// An idea as long as the break dialog shows, of ordinary words.
const std::string kLongIdea = ShownIdea(
    "Stand up, walk to the farthest window you can find and watch the horizon for a minute, then roll your "
    "shoulders, stretch both arms above your head and breathe slowly in and out before you sit down again.");

void ReportClipped(const std::vector<Clipped>& clipped)
{
    for (const Clipped& c : clipped)
        ADD_FAILURE() << c.dialog << " control " << c.id << " \"" << c.text << "\" needs " << c.fit.needed.cx << " x "
                      << c.fit.needed.cy << " pixels, has " << c.fit.room.cx << " x " << c.fit.room.cy << " at "
                      << SystemDpi() << " DPI";
}

// The languages of the program: English and each built-in translation.
const char* const kLanguages[] = {"", "de", "fr", "es", "it", "pt_BR", "nl", "pl", "ru", "zh_CN", "ja"};

// Speaks a language while it lives, English again afterwards.
class SpokenLanguage {
public:
    explicit SpokenLanguage(const std::string& language)
    {
        if (!language.empty())
            SetCurrentTranslation(CTranslation(ReadPoFile(Win32Platform().BuiltInTranslation(language).value_or(""))));
    }
    ~SpokenLanguage() { SetCurrentTranslation(CTranslation()); }
    SpokenLanguage(const SpokenLanguage&) = delete;
    SpokenLanguage& operator=(const SpokenLanguage&) = delete;
};

// The catalogue or ideas shipped in a language: "" is English, the others' are in its own folder.
std::string ShippedFile(const std::string& language, const std::string& englishPath, const std::string& name)
{
    const std::string path = language.empty() ? std::string(KELVARO_SOURCE_DIR) + englishPath
                                              : std::string(KELVARO_SOURCE_DIR "/src/resources/translations/") +
                                                    language + "/" + name;
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.is_open()) << path;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A character of Chinese and Japanese, 漢 (U+6F22).
constexpr char kCjkCharacter[] = "\xE6\xBC\xA2";

// Whether the font selected into a device context draws a CJK character in a CJK font, nearly as
// wide as the font is high, where a missing character's box is about half that. Windows links its
// CJK fonts to the dialogs' and popups' fonts; the test command links one in its Wine prefixes.
bool DrawsCjkWide(HDC dc)
{
    const std::wstring wide = Widen(kCjkCharacter);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return 4 * size.cx >= 3 * (metrics.tmHeight - metrics.tmInternalLeading);
}

class TextFitInEveryLanguage : public ::testing::TestWithParam<const char*> {};

// Every label, button, check box and radio button of every dialog shows its whole text, in every language.
TEST_P(TextFitInEveryLanguage, EveryDialogShowsItsTextsWhole)
{
    // Set by the session scaled to another DPI, which must really have been scaled.
    if (const char* expected = std::getenv("KELVARO_EXPECTED_DPI")) {
        ASSERT_EQ(SystemDpi(), std::atoi(expected));
    }
    const SpokenLanguage spoken(GetParam());
    ResetProgramState();
    FakePlatform platform;
    platform.files["standard.txt"] = "--HEALTH-- a ; --END--";
    platform.files["settings.txt"] = "STARTTRAY 0 STARTPROGRAM false";
    // A day that takes the chart's scale to its top brings the 4- and 8-hour lines closest.
    // Days of 25 hours a whole week long give the widest week's line too.
    platform.files["timehistory.txt"] = "HISTORY\r\n2006-11-27 = 25:0:0\r\n2006-11-28 = 25:0:0\r\n2006-11-29 = 25:0:0\r\n"
                                        "2006-11-30 = 25:0:0\r\n2006-12-1 = 25:0:0\r\n2006-12-2 = 25:0:0\r\n"
                                        "2006-12-3 = 25:0:0\r\n2006-12-4 = 25:0:0\r\n";
    // The longest line of breaks a year of them may give.
    platform.files["breakhistory.txt"] = "2006-11-28 = breaks 9999, postponed 0, eyes 0/0\r\n"
                                         "2006-12-5 = breaks 1000, postponed 0, eyes 9999/9999\r\n";
    // Nights from 05:00 to 05:00 give the nights' chart its most lines.
    platform.files["usehistory.txt"] = "2006-12-03 = first 05:00:00, last 04:59:59\r\n"
                                       "2006-12-04 = first 05:00:00, last 05:00:00\r\n";
    HICON icons[kTrayIconCount] = {};
    CTavrinDlg main(platform, icons);
    ASSERT_TRUE(main.Create(nullptr));
    CAboutDlg about(platform);
    ASSERT_TRUE(about.Create(main.Hwnd()));
    CforceBreak forcedBreak;
    ASSERT_TRUE(forcedBreak.Create(main.Hwnd()));
    CforceBreak withIdea;
    ASSERT_TRUE(withIdea.Create(main.Hwnd()));
    withIdea.ShowIdea(kLongIdea);
    CEyeBreakPopup eyeBreak;
    ASSERT_TRUE(eyeBreak.Show(main.Hwnd(), 20));
    eyeBreak.ShowCount(0); // "Done", its widest
    CHeadsUpWnd headsUp(platform);
    ASSERT_TRUE(headsUp.Create(main.Hwnd()));
    // Wednesday, the longest day's name, in every row it may take.
    CWorkingHoursDlg workingHours(platform, DefaultWorkWeek());
    ASSERT_TRUE(workingHours.Create(main.Hwnd()));
    PumpMessages();

    {
        HDC dc = GetDC(main.Hwnd());
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(main.Hwnd(), WM_GETFONT, 0, 0)));
        EXPECT_TRUE(DrawsCjkWide(dc)) << "Chinese and Japanese would be measured without a CJK font";
        SelectObject(dc, previous);
        ReleaseDC(main.Hwnd(), dc);
    }
    std::vector<Clipped> clipped;
    CheckDialog("main window", main.Hwnd(), clipped);
    CheckDialog("Settings", main.SettingsDialog()->Hwnd(), clipped);
    CheckDialog("Set Time", main.SetTimeDialog()->Hwnd(), clipped);
    // Each of the History dialog's views, with the lines of the daily limit and the bedtime and without.
    const struct {
        int button;
        std::size_t labels;
    } views[] = {
        {IDC_HISTORY_VIEW_DAYS, 7},    // "4h", "8h" and five days of the month
        {IDC_HISTORY_VIEW_WEEKS, 8},   // the two lines, four weeks' first days, two weeks' breaks
        {IDC_HISTORY_VIEW_MONTHS, 10}, // the two lines, six months, two months' breaks
        {IDC_HISTORY_VIEW_NIGHTS, 9},  // four hours of the clock and five days of the month
    };
    for (const bool chosen : {true, false}) {
        main.m_settings.dailyLimit = chosen;
        main.m_settings.bedtimeMinutes = chosen ? std::optional(23 * 60) : std::nullopt;
        ASSERT_EQ(g_pHistoryDlg->ReadHistory(), 1);
        for (const auto& view : views) {
            Notify(g_pHistoryDlg->Hwnd(), view.button, BN_CLICKED);
            CheckDialog("History", g_pHistoryDlg->Hwnd(), clipped);
            CheckChart(g_pHistoryDlg->Chart(), clipped, view.labels);
        }
    }
    CheckDialog("About", about.Hwnd(), clipped);
    CheckDialog("forced break", forcedBreak.Hwnd(), clipped);
    CheckDialog("forced break with the longest idea", withIdea.Hwnd(), clipped);
    CheckDialog("eye-break popup", eyeBreak.Hwnd(), clipped);
    CheckDialog("heads-up", headsUp.Hwnd(), clipped);
    CheckDialog("Working hours", workingHours.Hwnd(), clipped);
    ReportClipped(clipped);
    DestroyWindow(main.Hwnd());
}

// Each idea of the shipped file stands whole in the break dialog.
TEST_P(TextFitInEveryLanguage, EveryShippedIdeaFitsTheBreakDialog)
{
    const std::vector<std::string> ideas =
        ReadBreakIdeas(ShippedFile(GetParam(), "/src/breaks/breakideas.txt", "breakideas.txt"));
    EXPECT_GE(ideas.size(), 24u);
    CforceBreak dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    std::vector<Clipped> clipped;
    for (const std::string& idea : ideas) {
        dialog.ShowIdea(idea);
        CheckDialog("forced break", dialog.Hwnd(), clipped);
    }
    ReportClipped(clipped);
}

// The break dialog grows by what its idea needs and keeps its centre; without an idea it is as it
// was before ideas: 315 x 166 dialog units, its OK button at 111.
TEST(TextFitTest, TheBreakDialogMakesRoomForItsIdeaOnly)
{
    CforceBreak dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND box = dialog.Item(IDC_BREAK_IDEA);
    RECT before{0, 111, 315, 166};
    MapDialogRect(dialog.Hwnd(), &before);
    auto place = [&](HWND control) {
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, dialog.Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    auto middle = [&] {
        RECT window{};
        GetWindowRect(dialog.Hwnd(), &window);
        return (window.top + window.bottom) / 2;
    };
    const int centre = middle();
    const int lineHeight = [&] {
        HDC dc = GetDC(box);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(box, dc);
        return static_cast<int>(metrics.tmHeight);
    }();
    const struct {
        std::string idea;
        int lines; // 0: three or more
    } cases[] = {{"", 0}, {"Stand up and walk to a window.", 1}, {kLongIdea, 0}, {"", 0}};
    for (const auto& c : cases) {
        dialog.ShowIdea(c.idea);
        const RECT ideaPlace = place(box);
        const int ideaHeight = ideaPlace.bottom - ideaPlace.top;
        RECT client{};
        GetClientRect(dialog.Hwnd(), &client);
        EXPECT_EQ((GetWindowLongW(box, GWL_STYLE) & WS_VISIBLE) != 0, !c.idea.empty()) << c.idea;
        if (c.idea.empty())
            EXPECT_EQ(ideaHeight, 0);
        else if (c.lines > 0)
            EXPECT_EQ(ideaHeight, c.lines * lineHeight) << c.idea;
        else
            EXPECT_GE(ideaHeight, 3 * lineHeight) << c.idea;
        // A pixel either way for rounding the dialog units, and for each halved move of the centre.
        EXPECT_NEAR(place(dialog.Item(IDOK)).top, before.top + ideaHeight, 1) << c.idea;
        EXPECT_NEAR(client.bottom, before.bottom + ideaHeight, 1) << c.idea;
        EXPECT_NEAR(middle(), centre, 2) << c.idea;
    }
}

// A control's place in its dialog's client area.
RECT PlaceInDialog(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT WorkAreaOf(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// The room the break dialog's idea box needs for its text as the box's style draws it, at its width.
SIZE IdeaNeeds(HWND box)
{
    const LONG style = GetWindowLongW(box, GWL_STYLE);
    EXPECT_EQ(style & SS_TYPEMASK, SS_CENTER);
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0) |
                        ((style & SS_EDITCONTROL) ? DT_EDITCONTROL : 0);
    const std::wstring text = WindowText(box);
    RECT client{};
    GetClientRect(box, &client);
    RECT needed{0, 0, client.right, 0};
    HDC dc = GetDC(box);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | format);
    SelectObject(dc, previous);
    ReleaseDC(box, dc);
    return {needed.right, needed.bottom};
}

// One line's metrics in a control's font.
TEXTMETRICW BoxMetrics(HWND control)
{
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return metrics;
}


// A CJK font as tall as a font: Windows draws a CJK text of Tahoma in a CJK font it links to
// Tahoma, where Wine, linking none, would draw the narrow box of a missing character.
HFONT CjkFontLike(HFONT font)
{
    LOGFONTW cjk{};
    GetObjectW(font, sizeof cjk, &cjk);
    lstrcpynW(cjk.lfFaceName, L"WenQuanYi Micro Hei", LF_FACESIZE);
    return CreateFontIndirectW(&cjk);
}

int TextWidth(HWND control, const std::string& text)
{
    const std::wstring wide = Widen(text);
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size.cx;
}

// The widest ideas the break dialog shows, 200 of the widest letter and of a CJK character, stand
// whole in its box, the box above the OK button inside the dialog, the dialog inside the work
// area. Where the work area is too low for the whole idea, the dialog fills its height and the
// box keeps the lines that fit, so that the OK button stays on the screen.
TEST(TextFitTest, TheWidestIdeasStandWholeInTheBreakDialog)
{
    CforceBreak dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND box = dialog.Item(IDC_BREAK_IDEA);
    auto expectInside = [&](const std::string& what, const RECT& work) {
        RECT client{};
        GetClientRect(dialog.Hwnd(), &client);
        const RECT ok = PlaceInDialog(dialog.Item(IDOK));
        EXPECT_LE(PlaceInDialog(box).bottom, ok.top) << what;
        EXPECT_LE(ok.bottom, client.bottom) << what;
        RECT window{};
        GetWindowRect(dialog.Hwnd(), &window);
        EXPECT_TRUE(window.top >= work.top && window.bottom <= work.bottom)
            << what << ": " << window.top << "-" << window.bottom << " on " << work.top << "-" << work.bottom;
    };
    std::string tallest;
    int tallestHeight = 0;
    const HFONT own = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    const HFONT cjkFont = CjkFontLike(own);
    for (const char* widest : {"W", kCjkCharacter}) {
        std::string idea;
        for (size_t i = 0; i < kMaxIdeaCharacters; ++i)
            idea += widest;
        ASSERT_EQ(ShownIdea(idea), idea);
        if (widest == kCjkCharacter) {
            SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(cjkFont), FALSE);
            const TEXTMETRICW metrics = BoxMetrics(box);
            // Nearly as wide as the font is high, where a missing character's box is about half that.
            ASSERT_GE(4 * TextWidth(box, kCjkCharacter), 3 * (metrics.tmHeight - metrics.tmInternalLeading))
                << "a font without CJK characters (tools/dev.sh test installs fonts-wqy-microhei)";
        }
        dialog.ShowIdea(idea);
        RECT client{};
        GetClientRect(box, &client);
        const SIZE needed = IdeaNeeds(box);
        EXPECT_TRUE(needed.cx <= client.right && needed.cy <= client.bottom && needed.cy > 0)
            << widest << ": needs " << needed.cx << " x " << needed.cy << ", has " << client.right << " x "
            << client.bottom << " at " << SystemDpi() << " DPI";
        expectInside(widest, WorkAreaOf(dialog.Hwnd()));
        if (client.bottom > tallestHeight) {
            tallest = idea;
            tallestHeight = client.bottom;
        }
    }
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);
    DeleteObject(cjkFont);

    // Letters five times as big need more than the screen's height.
    const HFONT previous = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    LOGFONTW bigger{};
    GetObjectW(previous, sizeof bigger, &bigger);
    bigger.lfHeight *= 5;
    const HFONT big = CreateFontIndirectW(&bigger);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    dialog.ShowIdea(tallest);
    const RECT work = WorkAreaOf(dialog.Hwnd());
    RECT window{};
    GetWindowRect(dialog.Hwnd(), &window);
    expectInside("letters five times as big", work);
    RECT client{};
    GetClientRect(box, &client);
    const TEXTMETRICW metrics = BoxMetrics(box);
    EXPECT_GT(window.bottom - window.top, work.bottom - work.top - metrics.tmHeight);
    EXPECT_GT(client.bottom, 0);
    EXPECT_LT(client.bottom, IdeaNeeds(box).cy);
    EXPECT_EQ(client.bottom % metrics.tmHeight, 0) << client.bottom << " for lines of " << metrics.tmHeight;
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(previous), FALSE);
    DestroyWindow(dialog.Hwnd());
    DeleteObject(big);
}

// A reminder longer than its popup holds is drawn into the whole text rectangle, scaled to the
// display: its ink stays inside the rectangle, spans most of its width and reaches its last line,
// where the text is cut.
TEST(TextFitTest, ThePopupDrawsItsTextIntoTheWholeScaledRectangle)
{
    FakePlatform platform;
    (new CStatusBarMsgWnd(platform,
                          "Stand up and stretch your arms, then walk over to the window and look far away for a "
                          "while before you sit down again and go on with your work.",
                          kReminderPopupWidth, kReminderPopupHeight, 4000, 5, kReminderPopupTextRect, nullptr))
        ->PopUp();
    HWND popup = FindWindowW(CStatusBarMsgWnd::kWindowClass, nullptr);
    ASSERT_NE(popup, nullptr);
    const int dpi = DpiForWindow(popup);
    RECT client{};
    for (int step = 0; step < 1000 && client.bottom < ScaleToDpi(kReminderPopupHeight, dpi) - 20; ++step) {
        SendMessageW(popup, WM_TIMER, kRollOutTimer, 0);
        GetClientRect(popup, &client);
    }
    const RECT& design = kReminderPopupTextRect;
    const RECT text{MulDiv(design.left, dpi, kDesignDpi), MulDiv(design.top, dpi, kDesignDpi),
                    MulDiv(design.right, dpi, kDesignDpi), MulDiv(design.bottom, dpi, kDesignDpi)};
    ASSERT_GE(client.bottom, text.bottom);
    ASSERT_GE(client.right, text.right);
    HDC dc = GetDC(popup);
    const COLORREF background = GetPixel(dc, 1, 1);
    RECT ink{client.right, client.bottom, -1, -1};
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (GetPixel(dc, x, y) == background)
                continue;
            ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                   std::max<LONG>(ink.bottom, y + 1)};
        }
    }
    HFONT font = CStatusBarMsgWnd::CreateMessageFont(false, dpi);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(popup, dc);
    DestroyWindow(popup);
    EXPECT_TRUE(ink.left >= text.left && ink.top >= text.top && ink.right <= text.right && ink.bottom <= text.bottom &&
                ink.right - ink.left > 2 * (text.right - text.left) / 3 &&
                ink.bottom > text.bottom - metrics.tmHeight)
        << "ink " << ink.left << "," << ink.top << " " << ink.right << "," << ink.bottom << " in the text's rectangle "
        << text.left << "," << text.top << " " << text.right << "," << text.bottom << ", lines of " << metrics.tmHeight
        << " at " << dpi << " DPI";
}

// Each tip of the shipped catalogue stands whole in the popup's text rectangle.
TEST_P(TextFitInEveryLanguage, EveryShippedMessageFitsThePopup)
{
    const MessageCatalogue catalogue =
        ReadMessageCatalogue(ShippedFile(GetParam(), "/src/messages/standard.txt", "standard.txt")).catalogue;

    const int dpi = SystemDpi();
    HDC dc = GetDC(nullptr);
    HFONT font = CStatusBarMsgWnd::CreateMessageFont(false, dpi);
    HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    // Wine has no Arial of its own; Liberation Sans has the same widths.
    ASSERT_TRUE(lstrcmpiW(face, L"Arial") == 0 || lstrcmpiW(face, L"Liberation Sans") == 0) << Narrow(face);
    ASSERT_TRUE(DrawsCjkWide(dc)) << "Chinese and Japanese would be measured without a CJK font";
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

INSTANTIATE_TEST_SUITE_P(Languages, TextFitInEveryLanguage, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(*info.param ? info.param : "English");
                         });

} // namespace
