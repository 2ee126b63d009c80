#include "kelvaro_driver.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Without a notification area on the desktop, Wine shows one of its own, in front, as the first icon
// comes. A full-screen program started before that would not stay in front.
void WaitForWinesOwnNotificationArea()
{
    const ULONGLONG start = GetTickCount64();
    for (HWND area = nullptr; !area || GetForegroundWindow() != area; Sleep(100)) {
        area = FindWindowW(L"__winex11_standalone_tray", nullptr);
        if (GetTickCount64() - start > 20000)
            return;
    }
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
    settings = WithSetting(settings, "OTHERTIME", "1");
    KelvaroProcess kelvaro(WithTimeFiles({{"settings.txt", settings}, {"standard.txt", DefaultCatalogue()}}));
    ASSERT_NE(kelvaro.MainWindow(), nullptr);
    WaitForWinesOwnNotificationArea();
    // A full-screen program of the test's own: a captionless window covering the primary monitor.
    HWND program = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                   GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(program);
    ASSERT_EQ(GetForegroundWindow(), program);

    // The first time-break suggestion (at night the go-to-bed message) falls due a minute after Start.
    while (kelvaro.MsSinceLaunch() < 75000) {
        char inFront[64] = "";
        GetClassNameA(GetForegroundWindow(), inFront, sizeof inFront);
        ASSERT_TRUE(ShownPopups().empty()) << "a popup over the full-screen program; in front: " << inFront;
        Sleep(250);
    }
    DestroyWindow(program);
    // Within the next check of the system, and before the next reminder falls due.
    std::set<HWND> seen;
    while (kelvaro.MsSinceLaunch() < 115000) {
        for (HWND popup : ShownPopups())
            seen.insert(popup);
        Sleep(100);
    }
    EXPECT_EQ(seen.size(), 1u) << "exactly the one held reminder";
    kelvaro.Quit();
}

} // namespace
