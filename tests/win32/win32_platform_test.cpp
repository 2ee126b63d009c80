#include "platform/file_replacement_win.h"
#include "platform/platform_win.h"
#include "platform/text_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <thread>

namespace {

constexpr wchar_t kTemporaryName[] = L"settings.txt.kelvaro-new";
// Well within the 200 ms a save or a read waits for a file held by another program.
constexpr DWORD kHeldForMs = 50;
// Only a hang takes that long.
constexpr DWORD kLinkWaitMs = 60000;
constexpr DWORD kLinkPollMs = 20;

// Wine's CreateSymbolicLinkW reports success but makes nothing; there the host's own ln makes
// the link, which Wine follows as Windows follows its own.
bool MakeFileLink(const std::wstring& link, const std::wstring& target)
{
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        return false;
    std::wstring hostTarget = target;
    std::replace(hostTarget.begin(), hostTarget.end(), L'\\', L'/');
    std::wstring command = L"/bin/ln -s " + hostTarget + L" " + link;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Wine does not wait for a host program's end; the link shows when it is made.
    for (DWORD waited = 0; waited < kLinkWaitMs; waited += kLinkPollMs) {
        if (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(kLinkPollMs);
    }
    return false;
}

// Runs each test in a scratch folder of its own, since the program works in its current directory.
class Win32PlatformTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = std::filesystem::current_path();
        folder = std::filesystem::temp_directory_path() /
                 ("kelvaro-platform-" + std::to_string(GetCurrentProcessId()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous);
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(folder);
    }
    size_t FilesInFolder(const std::filesystem::path& subfolder = {}) const
    {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder / subfolder), {}));
    }
    static void WriteRaw(const wchar_t* name, const std::string& bytes)
    {
        HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }

    Win32Platform platform;
    std::filesystem::path previous;
    std::filesystem::path folder;
};

TEST_F(Win32PlatformTest, ReplacingAFileKeepsItsBytesAndLeavesNothingBehind)
{
    EXPECT_FALSE(platform.ReadWholeFile("settings.txt"));
    const std::string first = "HEALTH_MSG 1\r\nSTARTPROGRAM true\r\n";
    ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", first));
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), first);

    std::string binary(200000, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", binary));
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), binary);
    ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", ""));
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), "");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(Win32PlatformTest, AFileThatCantBeWrittenKeepsItsOldContent)
{
    ASSERT_TRUE(platform.ReplaceWholeFile("timehistory.txt", "HISTORY\r\n2006-3-4 = 5:12:0\r\n"));
    // A folder in the file's place can't be replaced.
    std::filesystem::create_directory(folder / "settings.txt");
    EXPECT_FALSE(platform.ReplaceWholeFile("settings.txt", "x"));
    EXPECT_FALSE(platform.ReplaceWholeFile("no such folder\\settings.txt", "x"));
    // A read-only file is one the user protected, not one to replace.
    ASSERT_TRUE(SetFileAttributesW(L"timehistory.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(platform.ReplaceWholeFile("timehistory.txt", "x"));
    EXPECT_EQ(platform.ReadWholeFile("timehistory.txt"), "HISTORY\r\n2006-3-4 = 5:12:0\r\n");
    EXPECT_EQ(GetFileAttributesW(L"timehistory.txt") & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(Win32PlatformTest, AFileHeldByAnotherProgramIsWaitedForAWhile)
{
    struct Case {
        const wchar_t* held;
        DWORD sharing;
        size_t filesAfterFailure; // a temporary file held by another saver is not this one's to delete
    } cases[] = {
        {L"settings.txt", 0, 1},
        // As a scanner or an indexer holds it: others may read and write, but not rename or delete.
        {L"settings.txt", FILE_SHARE_READ | FILE_SHARE_WRITE, 1},
        {kTemporaryName, 0, 2},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", "old"));
        WriteRaw(kTemporaryName, "");
        HANDLE held = CreateFileW(c.held, GENERIC_READ, c.sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(platform.ReplaceWholeFile("settings.txt", "new")) << c.held;
        EXPECT_EQ(FilesInFolder(), c.filesAfterFailure) << c.held;
        EXPECT_TRUE(platform.FileExists("settings.txt"));
        CloseHandle(held);
        EXPECT_EQ(platform.ReadWholeFile("settings.txt"), "old") << c.held;

        // Let go of while the save waits: the save goes through.
        held = CreateFileW(c.held, GENERIC_READ, c.sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        std::thread release([held] {
            Sleep(kHeldForMs);
            CloseHandle(held);
        });
        EXPECT_TRUE(platform.ReplaceWholeFile("settings.txt", "new")) << c.held;
        release.join();
        EXPECT_EQ(platform.ReadWholeFile("settings.txt"), "new") << c.held;
        EXPECT_EQ(FilesInFolder(), 1u) << c.held;
    }

    // A reader too waits for the file, and gives up.
    HANDLE held = CreateFileW(L"settings.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(platform.ReadWholeFile("settings.txt"));
    std::thread release([held] {
        Sleep(kHeldForMs);
        CloseHandle(held);
    });
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), "new");
    release.join();
}

TEST_F(Win32PlatformTest, WhatCanNeverSucceedFailsWithoutWaiting)
{
    // Windows answers opening a folder as a file with access denied, as it may answer for a file a
    // scanner holds.
    std::filesystem::create_directory(folder / "settings.txt");
    EXPECT_EQ(CreateFileW(L"settings.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileStepResultOf(false), FileStepResult::Failed);
    // A benchmark, not a limit: what a read and a save of the folder cost the user-interface thread.
    const DWORD before = GetTickCount();
    EXPECT_FALSE(platform.ReadWholeFile("settings.txt"));
    EXPECT_FALSE(platform.ReplaceWholeFile("settings.txt", "x"));
    RecordProperty("failed_read_and_save_ms", static_cast<int>(GetTickCount() - before));
}

TEST_F(Win32PlatformTest, ASaveCutShortLeavesNothingAfterTheNextOne)
{
    ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", "HEALTH_MSG 1\r\n"));
    WriteRaw(kTemporaryName, "HEALTH_MSG 0\r\nSLEEP_M"); // the process died while writing
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), "HEALTH_MSG 1\r\n");
    ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", "SLEEP_MSG 0\r\n"));
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), "SLEEP_MSG 0\r\n");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(Win32PlatformTest, ALinkedFileIsReplacedThroughItsLink)
{
    std::filesystem::create_directory(folder / "data");
    ASSERT_TRUE(platform.ReplaceWholeFile("data\\settings.txt", "old"));
    if (!MakeFileLink(L"settings.txt", L"data\\settings.txt"))
        GTEST_SKIP() << "no symbolic link can be made here";
    // Under Wine, deleting a host link deletes the file it points at, and the library's
    // remove_all never ends on a link that leads nowhere; renaming a file over the link ends it.
    struct LinkRemover {
        ~LinkRemover()
        {
            WriteRaw(L"plain.txt", "");
            MoveFileExW(L"plain.txt", L"settings.txt", MOVEFILE_REPLACE_EXISTING);
        }
    } linkRemover;
    ASSERT_EQ(platform.ReadWholeFile("settings.txt"), "old");

    ASSERT_TRUE(platform.ReplaceWholeFile("settings.txt", "new"));
    EXPECT_EQ(platform.ReadWholeFile("data\\settings.txt"), "new");
    EXPECT_EQ(FilesInFolder(), 2u);
    EXPECT_EQ(FilesInFolder("data"), 1u);
    // Still a link: a change of the linked file shows through it.
    ASSERT_TRUE(platform.ReplaceWholeFile("data\\settings.txt", "again"));
    EXPECT_EQ(platform.ReadWholeFile("settings.txt"), "again");
}

TEST_F(Win32PlatformTest, TextCrossesTheBoundaryAsUtf16)
{
    EXPECT_EQ(Widen("don\u2019t"), L"don\u2019t");
    EXPECT_EQ(Narrow(L"don\u2019t"), "don\u2019t");
    EXPECT_EQ(Narrow(Widen("C:\\Program Files\\Kl\u00e4nge\\gong.wav")), "C:\\Program Files\\Kl\u00e4nge\\gong.wav");
    // A catalogue saved by an old editor in the user's code page still shows, not as blanks.
    EXPECT_FALSE(Widen("caf\xe9").empty());
    EXPECT_EQ(Widen(""), L"");
}

TEST_F(Win32PlatformTest, TheEnvironmentAndTheClocksAnswer)
{
    SetEnvironmentVariableW(L"KELVARO_TEST_VALUE", L"Windows_NT");
    EXPECT_EQ(platform.EnvironmentVariable("KELVARO_TEST_VALUE"), "Windows_NT");
    EXPECT_EQ(platform.EnvironmentVariable("KELVARO_NOT_SET"), "");
    EXPECT_GT(platform.Now(), 1600000000);
    EXPECT_TRUE(platform.LastInputTick().has_value());
}

// RegisterHotKey holds a shortcut for one window of the whole session.
TEST_F(Win32PlatformTest, AShortcutAnotherProgramHoldsIsRefused)
{
    HWND other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HWND ours = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 7, MOD_CONTROL | MOD_ALT, 'Q'));
    Win32Platform platform;
    EXPECT_FALSE(platform.RegisterShortcut(ours, 1, {kShortcutCtrl | kShortcutAlt, 'Q'}));
    EXPECT_TRUE(platform.RegisterShortcut(ours, 1, {kShortcutCtrl | kShortcutAlt | kShortcutShift, 'Q'}));
    platform.UnregisterShortcut(ours, 1);
    EXPECT_TRUE(RegisterHotKey(other, 8, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'Q')) << "given back";
    UnregisterHotKey(other, 7);
    UnregisterHotKey(other, 8);
    DestroyWindow(ours);
    DestroyWindow(other);
}

// Windows' look is read from the user's personalisation: a value that is missing or not a DWORD is nothing.
TEST(Win32PlatformAppearance, TheModesAreTheRegistrysDwordsAndNothingElse)
{
    constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    const DWORD kDark = 0;
    const DWORD kLight = 1;
    const auto forget = [&] {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"AppsUseLightTheme");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"SystemUsesLightTheme");
    };
    Win32Platform platform;
    forget();
    EXPECT_EQ(platform.ReadSystemAppearance().appsUseLightTheme, std::nullopt);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"AppsUseLightTheme", REG_DWORD, &kDark, sizeof kDark), 0);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"SystemUsesLightTheme", REG_DWORD, &kLight, sizeof kLight), 0);
    EXPECT_EQ(platform.ReadSystemAppearance().appsUseLightTheme, 0u);
    EXPECT_EQ(platform.ReadSystemAppearance().systemUsesLightTheme, 1u);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"AppsUseLightTheme", REG_SZ, L"0", sizeof L"0"), 0);
    EXPECT_EQ(platform.ReadSystemAppearance().appsUseLightTheme, std::nullopt) << "a mode written as text";
    forget();
}

} // namespace
