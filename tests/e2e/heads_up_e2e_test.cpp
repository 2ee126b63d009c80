#include "kelvaro_driver.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

namespace {

constexpr char kHeadsUpCaption[] = "Break heads-up";
// A break dialog has no caption; the program's other windows all have one.
constexpr char kBreakCaption[] = "";
// Longer than the heads-up would have lasted.
constexpr ULONGLONG kWatchAfterPostponeMs = 40000;

TEST(HeadsUpE2e, AForcedBreakPutOffGoesWithItsHeadsUpAndNothingComesMeanwhile)
{
    // Holding in busy moments brings the heads-up; with natural breaks off, nobody touching this
    // machine is no user away, whose breaks would be dropped.
    std::string settings = WithSetting(FirstStartSettings(), "HEALTH_MSG", "0");
    settings = WithSetting(settings, "NATURAL_BREAKS", "0");
    settings = WithSetting(settings, "FREQUENCE", "1024");
    settings = WithSetting(settings, "OTHERTIME", "1");
    settings = WithSetting(settings, "FORCEBREAK", "1");
    KelvaroProcess kelvaro(WithTimeFiles({{"settings.txt", settings}, {"standard.txt", DefaultCatalogue()}}));
    ASSERT_NE(kelvaro.MainWindow(), nullptr);

    // Time-break suggestions by day and go-to-bed messages by night: one of them falls due a minute after Start.
    HWND headsUp = nullptr;
    ASSERT_TRUE(kelvaro.WaitUntil(
        [&] {
            headsUp = kelvaro.FindWindowByCaption(kHeadsUpCaption);
            return headsUp && kelvaro.IsVisible(headsUp);
        },
        "the heads-up", 120000));
    const std::string first = kelvaro.ItemText(headsUp, IDC_HEADS_UP_TEXT);
    EXPECT_EQ(first.rfind("A break starts in ", 0), 0u) << first;
    EXPECT_TRUE(kelvaro.WaitUntil([&] { return kelvaro.ItemText(headsUp, IDC_HEADS_UP_TEXT) != first; },
                                  "the heads-up to count down"));
    EXPECT_EQ(kelvaro.ItemText(headsUp, IDC_HEADS_UP_POSTPONE), "Postpone 5 minutes");
    EXPECT_NE(GetForegroundWindow(), headsUp);

    kelvaro.Click(headsUp, IDC_HEADS_UP_POSTPONE);
    EXPECT_TRUE(kelvaro.WaitUntil([&] { return !kelvaro.IsVisible(headsUp); }, "the heads-up to go"));
    for (const ULONGLONG putOff = GetTickCount64(); GetTickCount64() - putOff < kWatchAfterPostponeMs; Sleep(250)) {
        HWND breakDialog = kelvaro.FindWindowByCaption(kBreakCaption);
        ASSERT_FALSE(breakDialog && kelvaro.IsVisible(breakDialog)) << "a break put off came";
        ASSERT_FALSE(kelvaro.IsVisible(headsUp)) << "a heads-up within five minutes";
    }
    EXPECT_NE(GetForegroundWindow(), headsUp);
    kelvaro.Quit();
}

} // namespace
