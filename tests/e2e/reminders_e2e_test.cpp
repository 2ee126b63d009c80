#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A break dialog has no caption; the program's other windows all have one.
constexpr char kBreakCaption[] = "";
constexpr DWORD kIntervalMs = 60000;
// Long enough that a test kept from the processors for a while still sees the count going down.
constexpr int kBreakSeconds = 20;

TEST(RemindersE2e, WithAOneMinuteIntervalABreakComesAndCountsDown)
{
    // Nobody touches the machine here: with Kelvaro never keeping quiet, the break comes all the same.
    std::string settings = WithSetting(FirstStartSettings(), "STARTTRAY", "0");
    settings = WithSetting(settings, "HOLD_WHEN_BUSY", "0");
    settings = WithSetting(settings, "NATURAL_BREAKS", "0");
    settings = WithSetting(settings, "HEALTH_MSG", "0");
    settings = WithSetting(settings, "FREQUENCE", "1024");
    settings = WithSetting(settings, "OTHERTIME", "1");
    settings = WithSetting(settings, "FORCEBREAK", "1");
    settings = WithSetting(settings, "FORCEBREAK_WAIT", std::to_string(kBreakSeconds));
    KelvaroProcess kelvaro(WithTimeFiles({{"settings.txt", settings}, {"standard.txt", DefaultCatalogue()}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == "Stop"; }, "the start"));

    // Time-break suggestions by day and go-to-bed messages by night: one of them comes a minute after Start.
    HWND dialog = nullptr;
    ASSERT_TRUE(kelvaro.WaitUntil(
        [&] {
            dialog = kelvaro.FindWindowByCaption(kBreakCaption);
            return dialog && kelvaro.IsVisible(dialog);
        },
        "the break dialog", kIntervalMs + KelvaroProcess::kDeadlineMs));
    EXPECT_EQ(kelvaro.ItemText(dialog, IDC_BREAK_TITLE), "Take a break!");
    // OK counts the seconds down, disabled, then reads OK; the test sees whichever seconds it is there for.
    std::vector<int> secondsSeen;
    std::string caption;
    EXPECT_TRUE(kelvaro.WaitUntil(
        [&] {
            // The program may take its next second between two readings: only a caption that stayed
            // the same around the reading of the state is judged with it.
            caption = kelvaro.ItemText(dialog, IDOK);
            const bool enabled = kelvaro.IsEnabled(dialog, IDOK);
            if (kelvaro.ItemText(dialog, IDOK) != caption)
                return false;
            int seconds = 0;
            char closing = 0;
            if (std::sscanf(caption.c_str(), "OK (Wait %d sec%c", &seconds, &closing) == 2 && closing == ')') {
                EXPECT_FALSE(enabled) << caption;
                if (secondsSeen.empty() || secondsSeen.back() != seconds)
                    secondsSeen.push_back(seconds);
                return false;
            }
            return enabled;
        },
        "OK to be enabled"));
    EXPECT_EQ(caption, "OK");
    EXPECT_GE(secondsSeen.size(), 2u) << "the count going down";
    EXPECT_TRUE(std::is_sorted(secondsSeen.rbegin(), secondsSeen.rend()) && !secondsSeen.empty() &&
                secondsSeen.front() <= kBreakSeconds && secondsSeen.back() >= 1)
        << "the seconds shown, " << testing::PrintToString(secondsSeen);
    EXPECT_EQ(kelvaro.ItemText(dialog, IDC_BREAK_ACTIVE_TIME).size(), 8u) << "today's count, HH:MM:SS";
    kelvaro.Click(dialog, IDOK);
    EXPECT_TRUE(kelvaro.WaitUntil([&] { return !kelvaro.IsVisible(dialog); }, "OK to close the break"));
}

TEST(HistoryE2e, ShowHistoryListsEveryDayWithTheFourFigures)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char today[32];
    std::snprintf(today, sizeof today, "%d-%d-%d", now.wYear, now.wMonth, now.wDay);
    KelvaroProcess kelvaro(WithTimeFiles({{"settings.txt", WithSetting(FirstStartSettings(), "STARTTRAY", "0")},
                                          {"standard.txt", DefaultCatalogue()},
                                          {"timehistory.txt", "HISTORY\r\n2006-3-4 = 5:12:0\r\n2006-3-6 = 1:0:30\r\n"},
                                          {"activetimelog.txt", std::string("ACTIVE_TIME_TODAY ") + today +
                                                                    " = 0:30:0\r\n"}}));
    HWND main = kelvaro.MainWindow();
    HWND history = kelvaro.WaitForWindow("History");
    ASSERT_TRUE(main && history);
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == "Stop"; }, "the start"));
    kelvaro.Click(main, IDC_MAIN_SHOW_HISTORY);
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.IsVisible(history); }, "the History dialog"));
    ASSERT_TRUE(kelvaro.Sync(history));

    const std::string list = kelvaro.ItemText(history, IDC_HISTORY_LIST);
    EXPECT_EQ(list.find("2006 Mar 04 (Sat)\t Active Time: 05:12:00"), 0u) << list;
    EXPECT_NE(list.find("2006 Mar 06 (Mon)\t Active Time: 01:00:30"), std::string::npos) << list;
    EXPECT_NE(list.find(" Active Time: 00:30:0"), std::string::npos) << "today's line, restored at Start\n" << list;
    EXPECT_EQ(kelvaro.ItemText(history, IDC_HISTORY_TOTAL).rfind("0 full days and 06:42:", 0), 0u);
    EXPECT_EQ(kelvaro.ItemText(history, IDC_HISTORY_MAX_ACTIVE), "2006 Mar 04 (Sat) - 05:12:00");
    EXPECT_EQ(kelvaro.ItemText(history, IDC_HISTORY_AVG_ACTIVE_DAYS).rfind("02:14:", 0), 0u);
    EXPECT_FALSE(kelvaro.ItemText(history, IDC_HISTORY_AVG_ALL_DAYS).empty());
}

} // namespace
