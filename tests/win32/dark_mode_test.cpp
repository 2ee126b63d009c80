#include "app/main_window_win.h"

#include "appearance/palette_win.h"
#include "fake_platform_win.h"
#include "framework/accessibility_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "shutdown/set_time_dialog_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>

namespace {

constexpr char kCatalogue[] = "--HEALTH-- Sit up straight ; --END-- --TIMEBREAKS-- Walk a little ; --END-- "
                              "--SLEEP-- Go to bed ; --END--";

COLORREF ColourOf(const Colour& colour)
{
    return ToColorRef(colour);
}

// What a window's client area shows, read from the screen: the colour at a point, at a corner no
// control covers, and how light its lightest pixel is (a control's text, in the dark look).
COLORREF Pixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

COLORREF Corner(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return Pixel(window, client.right - 2, client.bottom - 2);
}

// A pixel near the top left corner of a bitmap of the resources.
constexpr int kBannerPoint = 4;
COLORREF BitmapPixel(int id)
{
    auto bitmap =
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, kBannerPoint, kBannerPoint);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return colour;
}

double Lightest(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    double lightest = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            lightest = std::max(lightest, RelativeLuminance({GetRValue(c), GetGValue(c), GetBValue(c)}));
        }
    }
    ReleaseDC(window, dc);
    return lightest;
}

class DarkModeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramState();
        platform.files["standard.txt"] = kCatalogue;
        platform.files["settings.txt"] = "STARTTRAY 0\r\nTHEME system\r\n";
        platform.files["timehistory.txt"] = "HISTORY\r\n";
        platform.files["activetimelog.txt"] = "";
    }
    void TearDown() override
    {
        window.reset();
        OverrideHighContrast(std::nullopt);
        ResetProgramState();
    }

    FakePlatform platform;
    HICON icons[9] = {};
    std::unique_ptr<CTavrinDlg> window;
};

// The main window and the Settings dialog take the look of Windows' apps and follow it as Windows
// announces a change, or the look chosen in the dialog whatever Windows' is; high contrast wins.
// Each is read from the screen: the face, the banner, and a check box the program draws itself in
// the dark look. The Set Time dialog's picker keeps its own light field in every look, where its
// dark text stays readable.
TEST_F(DarkModeTest, EveryWindowTakesTheLookChosenAndFollowsWindowsLive)
{
    enum class Told { Nothing, Windows, Choice, HighContrast };
    const struct {
        const char* what;
        std::optional<std::uint32_t> appsMode;
        int choice; // in the drop-down: as Windows, light, dark
        bool highContrast;
        Told told;
        bool dark;
    } steps[] = {
        {"a dark Windows at the start", 0, 0, false, Told::Nothing, true},
        {"Windows turns light", 1, 0, false, Told::Windows, false},
        {"Windows turns dark again", 0, 0, false, Told::Windows, true},
        {"light chosen on a dark Windows", 0, 1, false, Told::Choice, false},
        {"dark chosen on a light Windows", 1, 2, false, Told::Choice, true},
        {"high contrast over the dark chosen", 1, 2, true, Told::HighContrast, false},
        {"high contrast off again", 1, 2, false, Told::HighContrast, true},
    };
    const COLORREF darkFace = ColourOf(PaletteFor(Theme::Dark).face);
    const COLORREF lightFace = GetSysColor(COLOR_BTNFACE);
    const COLORREF darkBanner = BitmapPixel(IDB_BANNER_DARK);
    const COLORREF lightBanner = BitmapPixel(IDB_BANNER);
    ASSERT_NE(darkBanner, lightBanner);
    for (const auto& step : steps) {
        platform.appearance.appsUseLightTheme = step.appsMode;
        OverrideHighContrast(step.highContrast);
        if (step.told == Told::Nothing) {
            window = std::make_unique<CTavrinDlg>(platform, icons);
            ASSERT_TRUE(window->Create(nullptr));
            window->SettingsDialog()->Show(SW_SHOWNOACTIVATE);
            window->SetTimeDialog()->Show(SW_SHOWNOACTIVATE);
        }
        HWND main = window->Hwnd();
        CSetting& settings = *window->SettingsDialog();
        if (step.told == Told::Windows)
            SendMessageW(main, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
        if (step.told == Told::HighContrast)
            SendMessageW(main, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        if (step.told == Told::Choice) {
            SendMessageW(settings.Item(IDC_SETTINGS_THEME), CB_SETCURSEL, step.choice, 0);
            Notify(settings.Hwnd(), IDC_SETTINGS_THEME, CBN_SELCHANGE);
        }
        EXPECT_EQ(static_cast<int>(window->m_settings.theme), step.choice) << step.what;
        EXPECT_EQ(SendMessageW(settings.Item(IDC_SETTINGS_THEME), CB_GETCURSEL, 0, 0), step.choice) << step.what;
        const COLORREF face = step.dark ? darkFace : lightFace;
        const HWND boxes[] = {window->Item(IDC_MAIN_HEALTH_TIPS), settings.Item(IDC_SETTINGS_COVER_SCREENS)};
        HWND picker = window->SetTimeDialog()->Item(IDC_SETTIME_PICKER);
        // In the dark look a box's text is light.
        const auto shown = [&] {
            return Corner(main) == face && Corner(settings.Hwnd()) == face &&
                   Pixel(window->Item(IDC_MAIN_BANNER), kBannerPoint, kBannerPoint) ==
                       (step.dark ? darkBanner : lightBanner) &&
                   std::all_of(std::begin(boxes), std::end(boxes),
                               [&](HWND box) { return Corner(box) == face && (!step.dark || Lightest(box) > 0.5); }) &&
                   Pixel(picker, 1, 1) == GetSysColor(COLOR_WINDOW);
        };
        EXPECT_TRUE(PumpUntil(shown)) << step.what << ": " << std::hex << Corner(main) << " " << Corner(settings.Hwnd())
                                      << " " << Corner(boxes[0]) << " " << Corner(boxes[1]) << " " << Lightest(boxes[0])
                                      << " " << Lightest(boxes[1]) << " " << Pixel(picker, 1, 1);
    }
}

} // namespace
