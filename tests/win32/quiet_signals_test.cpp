#include "platform/platform_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kConsentStore[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\CapabilityAccessManager\\ConsentStore\\";
constexpr ULONGLONG kSomeFileTime = 0x01DA'1234'5678'9ABCULL;

void SetTime(const std::wstring& entry, const wchar_t* name, ULONGLONG time)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, entry.c_str(), name, REG_QWORD, &time, sizeof time), ERROR_SUCCESS);
}

// A full-screen window in front is shown by the end-to-end story.
TEST(Win32QuietSignals, AProgramThatStartedUsingTheCameraOrMicrophoneAndHasNotStoppedIsACall)
{
    Win32Platform platform;
    for (const wchar_t* program : {L"webcam\\NonPackaged\\C:#Program Files#Kelvaro Test#call.exe",
                                   L"microphone\\KelvaroTest.Call_1.0.0.0_x64__kelvarotest"}) {
        const std::wstring entry = kConsentStore + std::wstring(program);
        SetTime(entry, L"LastUsedTimeStart", kSomeFileTime);
        SetTime(entry, L"LastUsedTimeStop", 0);
        EXPECT_TRUE(platform.ReadQuietState().inCall);
        SetTime(entry, L"LastUsedTimeStop", kSomeFileTime + 1);
        EXPECT_FALSE(platform.ReadQuietState().inCall) << "stopped";
        RegDeleteTreeW(HKEY_CURRENT_USER, entry.c_str());
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

} // namespace
