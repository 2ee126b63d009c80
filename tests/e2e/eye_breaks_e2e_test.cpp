#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// The eye break's popup as the user sees it, or null.
HWND ShownEyeBreak()
{
    HWND popup = FindWindowW(L"KelvaroEyeBreakPopup", nullptr);
    return popup && IsWindowVisible(popup) ? popup : nullptr;
}

TEST(EyeBreaksE2e, AMinuteOfWorkBringsOneAndTwentySecondsOfStayingStillTakeIt)
{
    std::optional<UserAtWork> user(std::in_place);
    // No other reminder, so that nothing stands in the eye break's way.
    std::string settings = WithSetting(FirstStartSettings(), "HEALTH_MSG", "0");
    settings = WithSetting(settings, "TIMEBREAK_MSG", "0");
    settings = WithSetting(settings, "SLEEP_MSG", "0");
    settings = WithSetting(settings, "EYE_BREAKS", "1");
    settings = WithSetting(settings, "EYE_BREAK_MINUTES", "1");
    KelvaroProcess kelvaro(WithTimeFiles({{"settings.txt", settings}, {"standard.txt", DefaultCatalogue()}}));
    HWND main = kelvaro.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.ItemText(main, IDC_MAIN_START_STOP) == "Stop"; }, "the start"));

    HWND popup = nullptr;
    ASSERT_TRUE(kelvaro.WaitUntil([&] { return (popup = ShownEyeBreak()) != nullptr; },
                                  "the eye break after a minute of work", 180000));
    EXPECT_EQ(kelvaro.Text(popup), "Rest your eyes: look at something far away");
    const std::string count = kelvaro.ItemText(popup, IDC_EYE_BREAK_COUNT);
    EXPECT_TRUE(count.size() <= 2 && std::stoi("0" + count) >= 1 && std::stoi("0" + count) <= 20) << count;
    EXPECT_NE(GetForegroundWindow(), popup);

    // The user looks into the distance.
    user.reset();
    bool done = false;
    EXPECT_TRUE(kelvaro.WaitUntil(
        [&] {
            done = done || (IsWindow(popup) && kelvaro.ItemText(popup, IDC_EYE_BREAK_COUNT) == "Done");
            return done || !IsWindow(popup);
        },
        "the countdown's end", 120000));
    EXPECT_TRUE(done) << "the popup went without saying Done";
    EXPECT_TRUE(kelvaro.WaitUntil([&] { return !IsWindow(popup); }, "the popup to go"));
    kelvaro.Quit();
}

} // namespace
