#include "kelvaro_driver.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr char kPopupClass[] = "KelvaroStatusBarPopup";

// A full-screen program of the test's own, in front: a captionless window covering the primary monitor.
class FullScreenProgram {
public:
    FullScreenProgram()
        : m_window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                   GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr))
    {
        SetForegroundWindow(m_window);
    }
    ~FullScreenProgram() { Close(); }
    FullScreenProgram(const FullScreenProgram&) = delete;
    FullScreenProgram& operator=(const FullScreenProgram&) = delete;

    bool InFront() const { return m_window && GetForegroundWindow() == m_window; }
    void Close()
    {
        if (m_window)
            DestroyWindow(m_window);
        m_window = nullptr;
    }

private:
    HWND m_window;
};

// Without a notification area on the desktop, Wine shows one of its own, in front, as the first icon
// comes. A full-screen program started before that would not stay in front.
void WaitForWinesOwnNotificationArea()
{
    constexpr ULONGLONG kMostWaitMs = 20000;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        HWND area = FindWindowW(L"__winex11_standalone_tray", nullptr);
        if ((area && GetForegroundWindow() == area) || GetTickCount64() - start > kMostWaitMs)
            return;
        Sleep(100);
    }
}

std::string ClassInFront()
{
    char name[64] = "";
    GetClassNameA(GetForegroundWindow(), name, sizeof name);
    return name;
}

// Kelvaro's popups shown at this moment.
std::set<HWND> ShownPopups()
{
    std::set<HWND> popups;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            char name[64] = "";
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) == kPopupClass && IsWindowVisible(window))
                reinterpret_cast<std::set<HWND>*>(found)->insert(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&popups));
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
    FullScreenProgram program;
    ASSERT_TRUE(program.InFront());

    // The first time-break suggestion (at night the go-to-bed message) falls due a minute after Start.
    constexpr DWORD kPastTheFirstReminderMs = 75000;
    while (kelvaro.MsSinceLaunch() < kPastTheFirstReminderMs) {
        ASSERT_TRUE(ShownPopups().empty()) << "a popup over the full-screen program; in front: " << ClassInFront();
        Sleep(250);
    }
    program.Close();
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
