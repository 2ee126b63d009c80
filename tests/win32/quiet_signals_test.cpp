#include "platform/platform_win.h"
#include "platform/text_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kConsentStore[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\CapabilityAccessManager\\ConsentStore\\";
constexpr ULONGLONG kSomeFileTime = 0x01DA'1234'5678'9ABCULL;
constexpr int kTimedReads = 50;

// A program's capability-store entry, the test's own, in HKEY_CURRENT_USER, taken away again. The
// keys above it may stay: without entries they tell of no program.
class TestEntry {
public:
    explicit TestEntry(const wchar_t* entry) : m_name(Narrow(entry)), m_path(kConsentStore + std::wstring(entry))
    {
        // What an earlier run cut short left behind would read as a device in use.
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &m_hKey, nullptr);
    }
    TestEntry(const TestEntry&) = delete;
    TestEntry& operator=(const TestEntry&) = delete;
    ~TestEntry()
    {
        if (m_hKey)
            RegCloseKey(m_hKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str());
    }
    bool SetTime(const wchar_t* name, ULONGLONG time)
    {
        return RegSetValueExW(m_hKey, name, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&time), sizeof time) ==
               ERROR_SUCCESS;
    }
    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
    std::wstring m_path;
    HKEY m_hKey = nullptr;
};

// Under Wine the shell always accepts notifications, Focus Assist doesn't exist and the system's
// desktop window is in the foreground: with no window of the test's, all is quiet.
TEST(Win32QuietSignals, AWindowOfTheTestsCoveringTheMonitorWithoutCaptionIsFullScreen)
{
    Win32Platform platform;
    EXPECT_EQ(platform.ReadQuietState(), QuietState{});
    for (const DWORD style : {DWORD{WS_POPUP}, DWORD{WS_POPUP | WS_CAPTION}}) {
        HWND window = CreateWindowExW(0, L"STATIC", L"", style | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window);
        SetForegroundWindow(window);
        EXPECT_EQ(GetForegroundWindow(), window);
        EXPECT_EQ(platform.ReadQuietState().fullScreen, style == WS_POPUP) << std::hex << style;
        DestroyWindow(window);
        EXPECT_EQ(platform.ReadQuietState(), QuietState{}) << std::hex << style;
    }
}

TEST(Win32QuietSignals, AProgramThatStartedUsingTheCameraOrMicrophoneAndHasNotStoppedIsACall)
{
    Win32Platform platform;
    TestEntry programs[] = {TestEntry(L"webcam\\NonPackaged\\C:#Program Files#Kelvaro Test#call.exe"),
                            TestEntry(L"microphone\\KelvaroTest.Call_1.0.0.0_x64__kelvarotest")};
    for (TestEntry& program : programs) {
        ASSERT_TRUE(program.SetTime(L"LastUsedTimeStart", kSomeFileTime)) << program.Name();
        EXPECT_FALSE(platform.ReadQuietState().inCall) << program.Name() << ": no stop time yet";
        program.SetTime(L"LastUsedTimeStop", 0);
        EXPECT_TRUE(platform.ReadQuietState().inCall) << program.Name();
        program.SetTime(L"LastUsedTimeStop", kSomeFileTime + 1);
        EXPECT_FALSE(platform.ReadQuietState().inCall) << program.Name() << ": stopped";
    }

    // A benchmark, not a limit, over a store of stopped programs: the program reads it every few seconds.
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kTimedReads; ++i)
        platform.ReadQuietState();
    QueryPerformanceCounter(&end);
    RecordProperty("ReadQuietStateMicroseconds",
                   std::to_string((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart / kTimedReads));
}

} // namespace
