#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The "Other" interval of two minutes, in whole minutes and in ms.
constexpr char kIntervalMinutes[] = "2";
constexpr ULONGLONG kIntervalMs = 120000;
// The full-screen program stays this long past the first reminder's due time, so that the program
// has held the reminder before it goes.
constexpr ULONGLONG kPastDueMs = 10000;
// Popups are counted until this long after the first has gone (three checks of the system), but no
// longer than until this long before the next reminder can fall due.
constexpr ULONGLONG kAfterTheFirstMs = 15000;
constexpr ULONGLONG kBeforeTheNextMs = 10000;

// Without a notification area on the desktop, Wine shows one of its own, in front, as the first icon
// comes. A full-screen program started before that would not stay in front.
bool WaitForWinesOwnNotificationArea(KelvaroProcess& kelvaro)
{
    return kelvaro.WaitUntil(
        [] {
            HWND area = FindWindowW(L"__winex11_standalone_tray", nullptr);
            return area && GetForegroundWindow() == area;
        },
        "Wine's notification area to come in front");
}

// Kelvaro's popups shown at this moment.
std::set<HWND> ShownPopups()
{
    std::set<HWND> popups;
    for (HWND popup = nullptr; (popup = FindWindowExW(nullptr, popup, L"KelvaroStatusBarPopup", nullptr));)
        if (IsWindowVisible(popup))
            popups.insert(popup);
    return popups;
}

TEST(QuietE2e, NoReminderWhileAFullScreenProgramIsInFrontAndOneWhenItGoes)
{
    const UserAtWork user;
    std::string settings = WithSetting(FirstStartSettings(), "HEALTH_MSG", "0");
    settings = WithSetting(settings, "FREQUENCE", "1024");
    settings = WithSetting(settings, "OTHERTIME", kIntervalMinutes);
    settings = WithSetting(settings, "STARTPROGRAM", "false");
    KelvaroProcess kelvaro(WithTimeFiles({{"settings.txt", settings}, {"standard.txt", DefaultCatalogue()}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForWinesOwnNotificationArea(kelvaro));
    // A full-screen program of the test's own: a captionless window covering the primary monitor.
    HWND program = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                   GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(program);
    ASSERT_EQ(GetForegroundWindow(), program);

    // Started from the tray: the first time-break suggestion (at night the go-to-bed message) falls
    // due an interval after the Start, which comes between the command and the button reading Stop.
    const ULONGLONG commanded = GetTickCount64();
    kelvaro.Command(main, ID_TRAY_START_STOP);
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == "Stop"; }, "the start"));
    const ULONGLONG started = GetTickCount64();
    while (GetTickCount64() - started < kIntervalMs + kPastDueMs) {
        ASSERT_EQ(GetForegroundWindow(), program) << "the full-screen program is no longer in front";
        ASSERT_TRUE(ShownPopups().empty()) << "a popup over the full-screen program";
        Sleep(250);
    }
    DestroyWindow(program);

    // The held reminder comes at the next check of the system.
    std::set<HWND> seen;
    ULONGLONG firstGone = 0;
    const ULONGLONG nextDue = commanded + 2 * kIntervalMs;
    while (GetTickCount64() < nextDue - kBeforeTheNextMs &&
           !(firstGone && GetTickCount64() - firstGone >= kAfterTheFirstMs)) {
        const std::set<HWND> shown = ShownPopups();
        seen.insert(shown.begin(), shown.end());
        if (!seen.empty() && shown.empty() && !firstGone)
            firstGone = GetTickCount64();
        Sleep(100);
    }
    EXPECT_EQ(seen.size(), 1u) << "exactly the one held reminder";
    kelvaro.Quit();
}

} // namespace
