// One Kelvaro per data folder, driven by later starts with a command line and by its shortcuts.
#include "kelvaro_driver.h"
#include "prepared_files.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>

namespace {

// The data files of a first start that supervises from the tray.
DataFiles Supervising(const std::string& settings = FirstStartSettings())
{
    return WithTimeFiles({{"settings.txt", settings}, {"standard.txt", DefaultCatalogue()}});
}

bool WaitForSupervision(KelvaroProcess& kelvaro, HWND main)
{
    return kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == "Stop"; }, "supervision") &&
           kelvaro.Sync(main);
}

FILETIME LastWritten(const std::filesystem::path& file)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// The local time of day in so many minutes, as the status line shows a pause's end.
std::string LocalTimeIn(int minutes)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
    ticks.QuadPart += static_cast<ULONGLONG>(minutes) * 60 * 10000000;
    const FILETIME later{ticks.LowPart, ticks.HighPart};
    FILETIME local{};
    SYSTEMTIME time{};
    FileTimeToLocalFileTime(&later, &local);
    FileTimeToSystemTime(&local, &time);
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", time.wHour, time.wMinute);
    return text;
}

// The user presses a shortcut: each key down in order, then up in the other order.
void PressShortcut(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    EXPECT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

TEST(CommandLineE2e, ASecondStartOpensTheFirstsWindowAndEnds)
{
    const UserAtWork user;
    KelvaroProcess kelvaro(Supervising());
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForSupervision(kelvaro, main));
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return !kelvaro.IsVisible(main); }, "the window to go to the tray"));
    const FILETIME settingsWritten = LastWritten(kelvaro.Folder() / "settings.txt");

    const CommandRun second = kelvaro.RunCommand("");
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_EQ(second.output, "");
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.IsVisible(main); }, "the first's window to open"));
    // The second never supervised: a Start would have written the settings.
    const FILETIME settingsNow = LastWritten(kelvaro.Folder() / "settings.txt");
    EXPECT_EQ(CompareFileTime(&settingsWritten, &settingsNow), 0);
    // The first counts on.
    const std::string counted = kelvaro.ItemText(main, IDC_MAIN_ACTIVE_TIME);
    EXPECT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_ACTIVE_TIME) != counted; },
                                  "the count to go on"));
    kelvaro.ExpectNoOpenBox("after the second start");
    kelvaro.Quit();
}

TEST(CommandLineE2e, AScriptPausesKelvaroReadsHowTheDayStandsAndQuits)
{
    KelvaroProcess kelvaro(Supervising());
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForSupervision(kelvaro, main));

    const std::string before = LocalTimeIn(30);
    const CommandRun pause = kelvaro.RunCommand("pause 30");
    const std::string after = LocalTimeIn(30);
    EXPECT_EQ(pause.exitCode, 0u);
    EXPECT_EQ(pause.output, "");

    const CommandRun status = kelvaro.RunCommand("status");
    EXPECT_EQ(status.exitCode, 0u);
    std::smatch line;
    ASSERT_TRUE(std::regex_match(status.output, line,
                                 std::regex("supervising, active today \\d\\d:\\d\\d:\\d\\d, reminders paused until "
                                            "(\\d\\d:\\d\\d)\r\n")))
        << status.output;
    EXPECT_TRUE(line[1] == before || line[1] == after) << line[1] << " for " << before;

    const CommandRun quit = kelvaro.RunCommand("quit");
    EXPECT_EQ(quit.exitCode, 0u);
    // Quit saved before it answered.
    EXPECT_NE(kelvaro.ReadFile("activetimelog.txt").value_or("").find("ACTIVE_TIME_TODAY " + TodayText() + " = "),
              std::string::npos);
    EXPECT_NE(kelvaro.ReadFile("timehistory.txt").value_or("").find("\r\n" + TodayText() + " = "), std::string::npos);
    ASSERT_TRUE(kelvaro.WaitForExit());
    EXPECT_EQ(kelvaro.ExitCode(), 0u);
    kelvaro.ExpectNoOpenBox("after quit");

    const CommandRun none = kelvaro.RunCommand("status");
    EXPECT_EQ(none.exitCode, 1u);
    EXPECT_EQ(none.output, "No Kelvaro is running in this folder.\r\n");
    const CommandRun help = kelvaro.RunCommand("help");
    EXPECT_EQ(help.exitCode, 2u);
    EXPECT_TRUE(help.output.starts_with("Usage: kelvaro.exe [command]\r\n")) << help.output;
}

// A start speaks the user's language; to a pipe, as a script reads it, its text goes as UTF-8.
TEST(CommandLineE2e, ACommandSpeaksTheUsersLanguageToAPipeInUtf8)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kelvaro-language-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    const struct {
        const char* language;
        const char* arguments;
        DWORD exitCode;
        std::string output;
    } cases[] = {
        {"de", "status", 1, "In diesem Ordner l\xC3\xA4uft kein Kelvaro.\r\n"},
        {"ru", "pause 45", 2, "Kelvaro \xD0\xBF\xD1\x80\xD0\xB8\xD0\xBE\xD1\x81\xD1\x82\xD0\xB0\xD0\xBD\xD0\xB0\xD0\xB2\xD0\xBB\xD0\xB8\xD0\xB2\xD0\xB0\xD0\xB5\xD1\x82"},
        {"ja", "help", 2, "\xE4\xBD\xBF\xE3\x81\x84\xE6\x96\xB9: kelvaro.exe [\xE3\x82\xB3\xE3\x83\x9E\xE3\x83\xB3\xE3\x83\x89]\r\n"},
    };
    for (const auto& c : cases) {
        std::ofstream(folder / "settings.txt", std::ios::binary) << "LANGUAGE " << c.language << "\r\n";
        const CommandRun run = RunKelvaro(folder, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.language;
        EXPECT_TRUE(run.output.starts_with(c.output)) << c.language << ": " << run.output;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

TEST(CommandLineE2e, AShortcutPressedPausesAndResumes)
{
    KelvaroProcess kelvaro(Supervising(WithSetting(FirstStartSettings(), "HOTKEY_PAUSE", "Ctrl+Alt+P")));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForSupervision(kelvaro, main));
    const auto paused = [&] { return kelvaro.RunCommand("status").output.find("paused until") != std::string::npos; };
    ASSERT_FALSE(paused());

    PressShortcut({VK_CONTROL, VK_MENU, 'P'});
    EXPECT_TRUE(kelvaro.WaitUntil(paused, "the pause"));
    PressShortcut({VK_CONTROL, VK_MENU, 'P'});
    EXPECT_TRUE(kelvaro.WaitUntil([&] { return !paused(); }, "the resume"));
    kelvaro.Quit();
}

} // namespace
