#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

namespace {

std::string ShownAndStoppedSettings()
{
    return WithSetting(WithSetting(FirstStartSettings(), "STARTTRAY", "0"), "STARTPROGRAM", "false");
}

bool Contains(const std::optional<std::string>& file, const std::string& line)
{
    return file && file->find(line + "\r\n") != std::string::npos;
}

TEST(SettingsE2e, ChoicesMadeInTheDialogsSurviveARestart)
{
    std::optional<std::string> written;
    {
        KelvaroProcess kelvaro(
            WithTimeFiles({{"settings.txt", ShownAndStoppedSettings()}, {"standard.txt", DefaultCatalogue()}}));
        HWND main = kelvaro.MainWindow();
        HWND settings = kelvaro.WaitForWindow("Settings");
        HWND setTime = kelvaro.WaitForWindow("Set Time");
        ASSERT_TRUE(main && settings && setTime);
        EXPECT_FALSE(kelvaro.IsVisible(settings));

        kelvaro.Click(main, IDC_MAIN_MORE_SETTINGS);
        ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.IsVisible(settings); }, "the Settings dialog to show"));
        kelvaro.Click(settings, IDC_SETTINGS_FORCE_BREAK);
        ASSERT_TRUE(
            kelvaro.WaitUntil([&] { return kelvaro.IsEnabled(settings, IDC_SETTINGS_WAIT_SECONDS); }, "the seconds"));
        kelvaro.SetItemText(settings, IDC_SETTINGS_WAIT_SECONDS, "");
        kelvaro.Click(settings, IDC_SETTINGS_KEYBOARD_LEDS);
        kelvaro.Command(settings, IDCANCEL);
        ASSERT_TRUE(kelvaro.WaitUntil([&] { return !kelvaro.IsVisible(settings); }, "Cancel to hide the dialog"));

        kelvaro.Click(main, IDC_MAIN_SET_TIME);
        ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.IsVisible(setTime); }, "the Set Time dialog to show"));
        kelvaro.Click(setTime, IDC_SETTIME_REBOOT);
        kelvaro.Click(setTime, IDC_SETTIME_WARNING);
        ASSERT_TRUE(kelvaro.ExpectBox("Kelvaro Notice!", "No warning will appear when timelimit is hit!", IDOK));
        kelvaro.Click(setTime, IDOK);
        ASSERT_TRUE(kelvaro.WaitUntil([&] { return !kelvaro.IsVisible(setTime); }, "OK to hide the dialog"));

        kelvaro.Click(main, IDC_MAIN_SHUTDOWN);
        kelvaro.Click(main, IDC_MAIN_OTHER);
        kelvaro.SetItemText(main, IDC_MAIN_OTHER_MINUTES, "25");
        kelvaro.Click(main, IDC_MAIN_START_STOP);
        ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == "Stop"; }, "Start"));
        kelvaro.Quit();
        written = kelvaro.ReadFile("settings.txt");
    }
    ASSERT_TRUE(written);
    for (const char* line : {"SHUTDOWN 1", "FREQUENCE 1024", "OTHERTIME 25", "FORCEBREAK 1", "FORCEBREAK_WAIT \"\"",
                             "KEYBOARD_LEDS 1", "STARTTRAY 1", "STARTPROGRAM true"})
        EXPECT_TRUE(Contains(written, line)) << line << " in\n" << *written;

    KelvaroProcess again(WithTimeFiles({{"settings.txt", *written}, {"standard.txt", DefaultCatalogue()}}));
    HWND main = again.MainWindow();
    HWND settings = again.WaitForWindow("Settings");
    HWND setTime = again.WaitForWindow("Set Time");
    ASSERT_TRUE(main && settings && setTime);
    ASSERT_TRUE(again.WaitUntil([&] { return again.ItemText(main, IDC_MAIN_START_STOP) == "Stop"; }, "the start"));
    ASSERT_TRUE(again.WaitUntil([&] { return !again.IsVisible(main); }, "the window to go to the tray"));
    EXPECT_TRUE(again.IsChecked(main, IDC_MAIN_SHUTDOWN));
    EXPECT_TRUE(again.IsChecked(main, IDC_MAIN_OTHER));
    EXPECT_EQ(again.ItemText(main, IDC_MAIN_OTHER_MINUTES), "25");
    EXPECT_TRUE(again.IsChecked(settings, IDC_SETTINGS_FORCE_BREAK));
    EXPECT_TRUE(again.IsEnabled(settings, IDC_SETTINGS_WAIT_SECONDS));
    EXPECT_EQ(again.ItemText(settings, IDC_SETTINGS_WAIT_SECONDS), "");
    EXPECT_TRUE(again.IsChecked(settings, IDC_SETTINGS_KEYBOARD_LEDS));
    EXPECT_EQ(again.ItemText(settings, IDC_SETTINGS_MESSAGE_SOUND), "message.wav");
    // The action and the warning are not stored: every run begins with Shutdown, asking first.
    EXPECT_TRUE(again.IsChecked(setTime, IDC_SETTIME_SHUTDOWN));
    EXPECT_TRUE(again.IsChecked(setTime, IDC_SETTIME_WARNING));
    again.Quit();
}

} // namespace
