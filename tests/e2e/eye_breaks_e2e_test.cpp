#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(EyeBreaksE2e, AMinuteOfWorkBringsOneAndTwentySecondsOfStayingStillTakeIt)
{
    std::optional<UserAtWork> user(std::in_place);
    // No other reminder stands in its way.
    std::string settings = WithSetting(FirstStartSettings(), "HEALTH_MSG", "0");
    for (const char* key : {"TIMEBREAK_MSG", "SLEEP_MSG"})
        settings = WithSetting(settings, key, "0");
    settings = WithSetting(WithSetting(settings, "EYE_BREAKS", "1"), "EYE_BREAK_MINUTES", "1");
    KelvaroProcess kelvaro(WithTimeFiles({{"settings.txt", settings}, {"standard.txt", DefaultCatalogue()}}));
    HWND popup = nullptr;
    ASSERT_TRUE(kelvaro.WaitUntil(
        [&] { return (popup = FindWindowW(L"KelvaroEyeBreakPopup", nullptr)) && IsWindowVisible(popup); },
        "the eye break after a minute of work", 180000));
    EXPECT_EQ(kelvaro.Text(popup), "Rest your eyes: look at something far away");
    EXPECT_NE(GetForegroundWindow(), popup);

    user.reset(); // the user looks into the distance
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
