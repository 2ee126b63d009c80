#include "platform/platform_win.h"
#include "platform/quiet_signals_win.h"
#include "platform/text_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kConsentStore[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\CapabilityAccessManager\\ConsentStore\\";
constexpr ULONGLONG kSomeFileTime = 0x01DA'1234'5678'9ABCULL;

constexpr wchar_t kScratchKey[] = L"Software\\Kelvaro Test";

LSTATUS SetTime(HKEY root, const std::wstring& entry, const wchar_t* name, ULONGLONG time)
{
    return RegSetKeyValueW(root, entry.c_str(), name, REG_QWORD, &time, sizeof time);
}

// The user's and the machine's registry, for the program's reads and the test's writes, as two
// empty keys of a scratch key: each case starts without either store, and no real store is touched.
class ScratchRegistry {
public:
    ScratchRegistry() : m_hUser(CreateScratchKey(L"\\user")), m_hMachine(CreateScratchKey(L"\\machine"))
    {
        EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, m_hUser), ERROR_SUCCESS);
        EXPECT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_hMachine), ERROR_SUCCESS);
    }
    ~ScratchRegistry()
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(m_hUser);
        RegCloseKey(m_hMachine);
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    }
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

private:
    static HKEY CreateScratchKey(const wchar_t* name)
    {
        HKEY key = nullptr;
        const std::wstring path = kScratchKey + std::wstring(name);
        EXPECT_EQ(
            RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        return key;
    }

    HKEY m_hUser;
    HKEY m_hMachine;
};

TEST(Win32QuietSignals, AProgramThatStartedUsingTheCameraOrMicrophoneAndHasNotStoppedIsACall)
{
    Win32Platform platform;
    const struct {
        HKEY root;
        const wchar_t* program;
    } cases[] = {
        {HKEY_CURRENT_USER, L"webcam\\NonPackaged\\C:#Program Files#Kelvaro Test#call.exe"},
        {HKEY_CURRENT_USER, L"microphone\\KelvaroTest.Call_1.0.0.0_x64__kelvarotest"},
        // Some systems keep the store machine-wide, for every user's programs.
        {HKEY_LOCAL_MACHINE, L"microphone\\NonPackaged\\C:#Program Files#Kelvaro Test#call.exe"},
        {HKEY_LOCAL_MACHINE, L"webcam\\KelvaroTest.Call_1.0.0.0_x64__kelvarotest"},
    };
    for (const auto& c : cases) {
        const ScratchRegistry registry;
        const std::wstring entry = kConsentStore + std::wstring(c.program);
        ASSERT_EQ(SetTime(c.root, entry, L"LastUsedTimeStart", kSomeFileTime), ERROR_SUCCESS) << Narrow(c.program);
        ASSERT_EQ(SetTime(c.root, entry, L"LastUsedTimeStop", 0), ERROR_SUCCESS);
        EXPECT_TRUE(platform.ReadQuietState().inCall) << Narrow(c.program);
        ASSERT_EQ(SetTime(c.root, entry, L"LastUsedTimeStop", kSomeFileTime + 1), ERROR_SUCCESS);
        EXPECT_FALSE(platform.ReadQuietState().inCall) << "stopped: " << Narrow(c.program);
    }

    // A benchmark, not a limit: the program reads the store every few seconds.
    constexpr int kTimedReads = 50;
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kTimedReads; ++i)
        platform.ReadQuietState();
    QueryPerformanceCounter(&end);
    RecordProperty("ReadQuietStateMicroseconds",
                   std::to_string((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart / kTimedReads));
}

// A taskbar makes a monitor's work area smaller than the monitor: a program is full screen when it
// covers the whole monitor, taskbar included, and not when it only fills the work area. (Under
// Wine the two are alike, so these monitors are made up.)
TEST(Win32QuietSignals, AFullScreenWindowCoversTheWholeMonitorNotItsWorkArea)
{
    const struct {
        const char* what;
        RECT monitor;
        RECT work;
    } monitors[] = {
        {"taskbar at the bottom", {0, 0, 1024, 768}, {0, 0, 1024, 738}},
        {"taskbar at the left", {0, 0, 1024, 768}, {60, 0, 1024, 768}},
        {"second monitor, taskbar at the top", {-1280, -200, 0, 824}, {-1280, -160, 0, 824}},
    };
    for (const auto& m : monitors) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        monitor.rcMonitor = m.monitor;
        monitor.rcWork = m.work;
        const ForegroundWindowFacts wholeMonitor = ForegroundWindowFactsOf(m.monitor, monitor, WS_POPUP, "Game", false);
        const ForegroundWindowFacts workArea = ForegroundWindowFactsOf(m.work, monitor, WS_POPUP, "Game", false);
        EXPECT_TRUE(IsFullScreenWindow(wholeMonitor)) << m.what;
        EXPECT_FALSE(IsFullScreenWindow(workArea)) << m.what;
        EXPECT_FALSE(IsFullScreenWindow(ForegroundWindowFactsOf(m.monitor, monitor, WS_OVERLAPPEDWINDOW, "Game", false)))
            << m.what << ", with a caption";
        EXPECT_FALSE(IsFullScreenWindow(ForegroundWindowFactsOf(m.monitor, monitor, WS_POPUP, "Game", true)))
            << m.what << ", the shell's window";
    }
}

TEST(Win32QuietSignals, AWindowInFrontIsFullScreenWhenItIsExactlyItsMonitorAndHasNoCaption)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT& screen = monitor.rcMonitor;
    const struct {
        const char* what;
        DWORD style;
        int past; // pixels past each edge of the monitor
        bool maximised;
        bool fullScreen;
    } cases[] = {
        {"captionless", WS_POPUP, 0, false, true},
        {"with a thin border", WS_POPUP | WS_BORDER, 0, false, true},
        {"with a dialog frame", WS_POPUP | WS_DLGFRAME, 0, false, true},
        {"with a caption", WS_POPUP | WS_CAPTION, 0, false, false},
        {"a pixel past each edge", WS_POPUP, 1, false, false},
        {"maximised with a sizing frame", WS_POPUP | WS_THICKFRAME, 0, true, false},
    };
    Win32Platform platform;
    for (const auto& c : cases) {
        HWND window = CreateWindowExW(0, L"STATIC", L"", c.style, screen.left - c.past, screen.top - c.past,
                                      screen.right - screen.left + 2 * c.past, screen.bottom - screen.top + 2 * c.past,
                                      nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr) << c.what;
        ShowWindow(window, c.maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
        SetForegroundWindow(window);
        ASSERT_EQ(GetForegroundWindow(), window) << c.what;
        RECT rect{};
        GetWindowRect(window, &rect);
        EXPECT_EQ(platform.ReadQuietState().fullScreen, c.fullScreen)
            << c.what << ": " << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;
        DestroyWindow(window);
    }
}

} // namespace
