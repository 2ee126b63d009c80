#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// The choices that Start locks, and the controls that stay usable while supervision runs.
constexpr int kLockedWhileRunning[] = {IDC_MAIN_HEALTH_TIPS,   IDC_MAIN_SLEEP_MESSAGES, IDC_MAIN_TIME_BREAKS,
                                       IDC_MAIN_SHUTDOWN,      IDC_MAIN_SET_TIME,       IDC_MAIN_MORE_SETTINGS,
                                       IDC_MAIN_OTHER_MINUTES, IDC_MAIN_30_MIN,         IDC_MAIN_45_MIN,
                                       IDC_MAIN_60_MIN,        IDC_MAIN_OTHER};
constexpr int kUsableWhileRunning[] = {IDC_MAIN_START_STOP, IDC_MAIN_QUIT, IDC_MAIN_LAUNCH_MINIMIZED, IDC_MAIN_ABOUT,
                                       IDC_MAIN_SHOW_HISTORY};

// The defaults, but the window stays shown and supervision stopped.
std::string ShownAndStoppedSettings()
{
    return WithSetting(WithSetting(FirstStartSettings(), "STARTTRAY", "0"), "STARTPROGRAM", "false");
}

// Waits until the button reads the text, then until the command that changed it has finished.
bool WaitForStartStop(KelvaroProcess& kelvaro, HWND main, const std::string& text)
{
    return kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == text; },
                             "the button to read \"" + text + "\"") &&
           kelvaro.Sync(main);
}

// Returns once the program has handled the timers it had set by now: with a wait past their due time,
// a timer's message comes before a message sent after one that the program has taken.
bool LetTimersRun(KelvaroProcess& kelvaro, HWND main)
{
    constexpr DWORD kPastTheTimersMs = 500;
    Sleep(kPastTheTimersMs);
    return kelvaro.Sync(main) && kelvaro.Sync(main);
}

void ExpectUnlocked(KelvaroProcess& kelvaro, HWND main, const std::string& when)
{
    for (int id : kLockedWhileRunning) {
        if (id == IDC_MAIN_OTHER_MINUTES)
            EXPECT_FALSE(kelvaro.IsEnabled(main, id)) << "the minutes of \"Other\" " << when;
        else
            EXPECT_TRUE(kelvaro.IsEnabled(main, id)) << "control " << id << " " << when;
    }
}

TEST(MainWindowE2e, OpensWithTheDefaultsAndNoMessage)
{
    KelvaroProcess kelvaro(
        WithTimeFiles({{"settings.txt", ShownAndStoppedSettings()}, {"standard.txt", DefaultCatalogue()}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.IsVisible(main); }, "the main window to show"));
    ASSERT_TRUE(kelvaro.Sync(main));
    kelvaro.ExpectNoOpenBox("at start-up");

    for (int id = IDC_MAIN_30_MIN; id <= IDC_MAIN_OTHER; ++id)
        EXPECT_EQ(kelvaro.IsChecked(main, id), id == IDC_MAIN_60_MIN) << "interval button " << id;
    EXPECT_TRUE(kelvaro.IsChecked(main, IDC_MAIN_HEALTH_TIPS));
    EXPECT_TRUE(kelvaro.IsChecked(main, IDC_MAIN_TIME_BREAKS));
    EXPECT_TRUE(kelvaro.IsChecked(main, IDC_MAIN_SLEEP_MESSAGES));
    EXPECT_FALSE(kelvaro.IsChecked(main, IDC_MAIN_SHUTDOWN));
    EXPECT_TRUE(kelvaro.IsChecked(main, IDC_MAIN_LAUNCH_MINIMIZED));
    EXPECT_EQ(kelvaro.ItemText(main, IDC_MAIN_OTHER_MINUTES), "120");
    EXPECT_EQ(kelvaro.ItemText(main, IDC_MAIN_START_STOP), "Start");
    ExpectUnlocked(kelvaro, main, "at start-up");
    EXPECT_TRUE(kelvaro.BoxesSeen().empty());
}

TEST(MainWindowE2e, StartLocksTheChoicesAndStopUnlocksThem)
{
    KelvaroProcess kelvaro(
        WithTimeFiles({{"settings.txt", ShownAndStoppedSettings()}, {"standard.txt", DefaultCatalogue()}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);

    kelvaro.Click(main, IDC_MAIN_START_STOP);
    ASSERT_TRUE(WaitForStartStop(kelvaro, main, "Stop"));
    for (int id : kLockedWhileRunning)
        EXPECT_FALSE(kelvaro.IsEnabled(main, id)) << "control " << id << " while running";
    for (int id : kUsableWhileRunning)
        EXPECT_TRUE(kelvaro.IsEnabled(main, id)) << "control " << id << " while running";

    kelvaro.Click(main, IDC_MAIN_START_STOP);
    ASSERT_TRUE(WaitForStartStop(kelvaro, main, "Start"));
    ExpectUnlocked(kelvaro, main, "after Stop");
}

TEST(MainWindowE2e, StartWithoutCatalogueReportsItAndDoesNothing)
{
    const std::string settings = ShownAndStoppedSettings();
    KelvaroProcess kelvaro(WithTimeFiles({{"settings.txt", settings}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);

    kelvaro.Click(main, IDC_MAIN_START_STOP);
    const auto box = kelvaro.ExpectBox("Could not open", "could not open standard.txt", IDOK);
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->topmost);
    ASSERT_TRUE(kelvaro.Sync(main));
    kelvaro.ExpectNoOpenBox("after the missing catalogue");
    EXPECT_EQ(kelvaro.ItemText(main, IDC_MAIN_START_STOP), "Start");
    ExpectUnlocked(kelvaro, main, "after the refused Start");
    EXPECT_EQ(kelvaro.ReadFile("settings.txt"), settings) << "the refused Start must not save the settings";
}

TEST(MainWindowE2e, FirstStartWritesTheDefaultsThenHidesAndSupervises)
{
    KelvaroProcess kelvaro({{"standard.txt", DefaultCatalogue()}});
    // Each missing file is reported as it is read: the history by the History dialog and by the
    // main window as they open, the settings next, today's log at the automatic start. Wine makes
    // only system-modal boxes topmost, so their topmost flag can't be seen here.
    for (const char* file : {"timehistory.txt", "timehistory.txt", "settings.txt", "activetimelog.txt"})
        ASSERT_TRUE(kelvaro.ExpectBox("Kelvaro", std::string("could not open ") + file, IDOK));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForStartStop(kelvaro, main, "Stop"));
    EXPECT_TRUE(kelvaro.WaitUntil([&] { return !kelvaro.IsVisible(main); }, "the window to hide in the tray"));
    // The window is shown only when its initialisation ends: make sure it was not hidden merely before that.
    ASSERT_TRUE(LetTimersRun(kelvaro, main));
    EXPECT_FALSE(kelvaro.IsVisible(main));
    kelvaro.ExpectNoOpenBox("after the first start");
    EXPECT_EQ(kelvaro.BoxesSeen().size(), 4u);
    EXPECT_EQ(kelvaro.ReadFile("settings.txt"), FirstStartSettings());
    kelvaro.Quit();
    EXPECT_TRUE(kelvaro.ReadFile("activetimelog.txt") && kelvaro.ReadFile("timehistory.txt"))
        << "the first Quit creates both time files";
}

TEST(MainWindowE2e, StartTrayZeroKeepsTheWindowShownWhileSupervising)
{
    KelvaroProcess kelvaro(WithTimeFiles(
        {{"settings.txt", WithSetting(FirstStartSettings(), "STARTTRAY", "0")}, {"standard.txt", DefaultCatalogue()}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForStartStop(kelvaro, main, "Stop"));
    // A wrong hide would come from a 20 ms timer.
    ASSERT_TRUE(LetTimersRun(kelvaro, main));
    EXPECT_TRUE(kelvaro.IsVisible(main));
    EXPECT_TRUE(kelvaro.IsChecked(main, IDC_MAIN_LAUNCH_MINIMIZED));
    // The automatic start saved the settings, and the check box was checked again by the reading.
    EXPECT_EQ(kelvaro.ReadFile("settings.txt"), FirstStartSettings());
}

TEST(MainWindowE2e, CloseAndMinimizeHideWhileEscapeEndsWithoutSaving)
{
    KelvaroProcess kelvaro(WithTimeFiles(
        {{"settings.txt", WithSetting(FirstStartSettings(), "STARTTRAY", "0")}, {"standard.txt", DefaultCatalogue()}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForStartStop(kelvaro, main, "Stop"));

    const struct {
        const char* way;
        UINT message;
        WPARAM command;
    } kHides[] = {
        {"the close box", WM_SYSCOMMAND, SC_CLOSE},
        {"Alt+F4", WM_CLOSE, 0},
        {"minimize", WM_SYSCOMMAND, SC_MINIMIZE},
    };
    for (const auto& hide : kHides) {
        SCOPED_TRACE(hide.way);
        ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.IsVisible(main); }, "the window to show"));
        kelvaro.Post(main, hide.message, hide.command, 0);
        EXPECT_TRUE(kelvaro.WaitUntil([&] { return !kelvaro.IsVisible(main); }, "the window to hide"));
        ASSERT_TRUE(kelvaro.Sync(main));
        EXPECT_TRUE(kelvaro.Running());
        EXPECT_EQ(kelvaro.ItemText(main, IDC_MAIN_START_STOP), "Stop");
        kelvaro.Command(main, ID_TRAY_OPEN);
    }
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.IsVisible(main); }, "the window to show"));

    const auto settingsBefore = kelvaro.ReadFile("settings.txt");
    kelvaro.Command(main, IDCANCEL);
    ASSERT_TRUE(kelvaro.WaitForExit()) << "Escape must end the program";
    EXPECT_EQ(kelvaro.ExitCode(), 0u);
    EXPECT_TRUE(kelvaro.BoxesSeen().empty());
    EXPECT_EQ(kelvaro.ReadFile("settings.txt"), settingsBefore) << "Escape must not save the settings";
}

// A user who chose German in the Settings dialog: kelvaro.exe in a folder of its own speaks it from
// its start, also where the program changes a text, and keeps the choice.
TEST(MainWindowE2e, SpeaksTheLanguageChosenAndKeepsTheChoice)
{
    KelvaroProcess kelvaro(WithTimeFiles(
        {{"settings.txt", ShownAndStoppedSettings() + "LANGUAGE de\r\n"}, {"standard.txt", DefaultCatalogue()}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(kelvaro.Sync(main));
    EXPECT_EQ(kelvaro.ItemText(main, IDC_MAIN_QUIT), "Ende");
    EXPECT_EQ(kelvaro.ItemText(main, IDC_MAIN_START_STOP), "Starten");
    kelvaro.Click(main, IDC_MAIN_START_STOP);
    EXPECT_TRUE(WaitForStartStop(kelvaro, main, "Stoppen"));
    kelvaro.Quit();
    const std::optional<std::string> settings = kelvaro.ReadFile("settings.txt");
    ASSERT_TRUE(settings);
    EXPECT_NE(settings->find("\r\nLANGUAGE de\r\n"), std::string::npos) << *settings;
}

} // namespace
