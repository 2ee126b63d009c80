#include "platform/platform_win.h"
#include "platform/text_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kConsentStore[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\CapabilityAccessManager\\ConsentStore";
constexpr ULONGLONG kSomeFileTime = 0x01DA'1234'5678'9ABCULL;
constexpr int kTimedReads = 50;

// A key of the test's own below HKEY_CURRENT_USER, taken away again with every key created on the way.
class TestRegistryKey {
public:
    explicit TestRegistryKey(const std::wstring& path)
    {
        // What an earlier run cut short left behind would read as a device in use.
        RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
        for (size_t end = 0; m_firstCreated.empty() && end != std::wstring::npos;) {
            end = path.find(L'\\', end + 1);
            const std::wstring ancestor = path.substr(0, end);
            HKEY existing = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, ancestor.c_str(), 0, KEY_READ, &existing) == ERROR_SUCCESS)
                RegCloseKey(existing);
            else
                m_firstCreated = ancestor;
        }
        m_bCreated = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &m_hKey,
                                     nullptr) == ERROR_SUCCESS;
    }
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;
    ~TestRegistryKey()
    {
        if (m_bCreated)
            RegCloseKey(m_hKey);
        // An empty name would clear the whole of HKEY_CURRENT_USER.
        if (!m_firstCreated.empty())
            RegDeleteTreeW(HKEY_CURRENT_USER, m_firstCreated.c_str());
    }
    bool Created() const { return m_bCreated; }
    void SetQword(const wchar_t* name, ULONGLONG value)
    {
        RegSetValueExW(m_hKey, name, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    void SetDword(const wchar_t* name, DWORD value)
    {
        RegSetValueExW(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }

private:
    std::wstring m_firstCreated;
    HKEY m_hKey = nullptr;
    bool m_bCreated = false;
};

// Under Wine the shell always accepts notifications, Focus Assist doesn't exist and the system's
// desktop window is in the foreground: with no window of the test's, all is quiet.
TEST(Win32QuietSignals, AWindowOfTheTestsCoveringTheMonitorWithoutCaptionIsFullScreen)
{
    Win32Platform platform;
    EXPECT_EQ(platform.ReadQuietState(), QuietState{});
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        const char* name;
        DWORD style;
        int width;
        bool fullScreen;
    } cases[] = {
        {"captionless, covering the monitor", WS_POPUP, width, true},
        {"with a caption", WS_POPUP | WS_CAPTION, width, false},
        {"a pixel narrower", WS_POPUP, width - 1, false},
    };
    for (const auto& c : cases) {
        HWND window = CreateWindowExW(0, L"STATIC", L"", c.style | WS_VISIBLE, 0, 0, c.width, height, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(window) << c.name;
        SetForegroundWindow(window);
        EXPECT_EQ(GetForegroundWindow(), window) << c.name;
        EXPECT_EQ(platform.ReadQuietState().fullScreen, c.fullScreen) << c.name;
        DestroyWindow(window);
        EXPECT_EQ(platform.ReadQuietState(), QuietState{}) << c.name;
    }
}

TEST(Win32QuietSignals, AProgramThatStartedUsingTheCameraOrMicrophoneAndHasNotStoppedIsACall)
{
    Win32Platform platform;
    const wchar_t* entries[] = {
        L"webcam\\NonPackaged\\C:#Program Files#Kelvaro Test#call.exe",
        L"microphone\\KelvaroTest.Call_1.0.0.0_x64__kelvarotest",
    };
    for (const wchar_t* entry : entries) {
        const std::string name = Narrow(entry);
        TestRegistryKey key(std::wstring(kConsentStore) + L"\\" + entry);
        ASSERT_TRUE(key.Created()) << name;
        key.SetQword(L"LastUsedTimeStart", kSomeFileTime);
        EXPECT_FALSE(platform.ReadQuietState().inCall) << name << ": no stop time yet";
        key.SetQword(L"LastUsedTimeStop", 0);
        EXPECT_TRUE(platform.ReadQuietState().inCall) << name;
        key.SetDword(L"LastUsedTimeStop", 0);
        EXPECT_FALSE(platform.ReadQuietState().inCall) << name << ": a stop time that is no FILETIME";
        key.SetQword(L"LastUsedTimeStop", kSomeFileTime + 1);
        EXPECT_FALSE(platform.ReadQuietState().inCall) << name << ": stopped";
    }
}

// A benchmark, not a limit: the program reads the state every few seconds.
TEST(Win32QuietSignals, HowLongOneReadingTakes)
{
    Win32Platform platform;
    TestRegistryKey stopped(std::wstring(kConsentStore) + L"\\webcam\\NonPackaged\\C:#Kelvaro Test#stopped.exe");
    stopped.SetQword(L"LastUsedTimeStart", kSomeFileTime);
    stopped.SetQword(L"LastUsedTimeStop", kSomeFileTime + 1);
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kTimedReads; ++i)
        platform.ReadQuietState();
    QueryPerformanceCounter(&end);
    const auto microseconds = (end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart / kTimedReads;
    RecordProperty("ReadQuietStateMicroseconds", std::to_string(microseconds));
}

} // namespace
