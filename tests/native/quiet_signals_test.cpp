#include "messages/quiet_signals.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

TEST(QuietSignals, AFullScreenWindowIsExactlyItsMonitorWithoutCaptionAndIsNoDesktop)
{
    const ScreenRect primary{0, 0, 1920, 1080};
    const ScreenRect second{1920, -200, 3200, 824};
    const struct {
        ScreenRect window, monitor;
        bool hasCaption;
        const char* className;
        bool isShellWindow, fullScreen;
    } cases[] = {
        {primary, primary, false, "Game", false, true},
        {second, second, false, "Game", false, true},
        {primary, primary, false, "Thin border", false, true},       // WS_BORDER alone is no caption
        {{-1, 0, 1920, 1080}, primary, false, "Game", false, false}, // a pixel past one edge
        {{0, -1, 1920, 1080}, primary, false, "Game", false, false},
        {{0, 0, 1921, 1080}, primary, false, "Game", false, false},
        {{0, 0, 1920, 1081}, primary, false, "Game", false, false},
        {{-8, -8, 1928, 1088}, primary, false, "Sizing frame", false, false}, // maximised without a caption
        {{0, 0, 1919, 1080}, primary, false, "Game", false, false},
        {primary, second, false, "Game", false, false},
        {{-8, -8, 1928, 1088}, primary, true, "Notepad", false, false}, // maximised, no taskbar there
        {primary, primary, false, "Progman", false, false},
        {second, second, false, "Shell_SecondaryTrayWnd", false, false},
        {primary, primary, false, "#32769", false, false},
        {primary, primary, false, "Game", true, false},
        {{0, 0, 0, 0}, {0, 0, 0, 0}, false, "Game", false, false}, // the monitor unknown
    };
    for (const auto& c : cases) {
        const ForegroundWindowFacts facts{c.window, c.monitor, c.hasCaption, c.className, c.isShellWindow};
        EXPECT_EQ(IsFullScreenWindow(facts), c.fullScreen) << "row " << &c - cases;
    }
}

TEST(QuietSignals, AProgramUsesTheDeviceWhenItStartedAndHasNotStopped)
{
    constexpr std::uint32_t kDwordType = 4;
    const std::vector<std::uint8_t> time{0, 0, 0, 0, 0, 0, 0, 1}; // only the high byte: no 32-bit cut
    const std::vector<std::uint8_t> zero(8, 0);
    const RegistryValue started{kRegistryQwordType, time};
    const RegistryValue notStopped{kRegistryQwordType, zero};
    const struct {
        const char* name;
        std::optional<RegistryValue> start, stop;
        bool inUse;
    } cases[] = {
        {"in use", started, notStopped, true},
        {"stopped", started, started, false},
        {"never started", notStopped, notStopped, false},
        {"no stop time: half-written, or an older system", started, std::nullopt, false},
        {"stop a DWORD", started, RegistryValue{kDwordType, std::span(zero).first(4)}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CapabilityInUse(c.start, c.stop), c.inUse) << c.name;
}

TEST(QuietSignals, TheShellsStateAndFocusAssistSayFullScreenPresentingOrQuiet)
{
    // Index: the shell's state; F full screen, P presenting, - nothing.
    const std::string_view meanings = "--FFP--F-";
    for (int state = 0; state < static_cast<int>(meanings.size()); ++state) {
        const QuietState read = QuietStateOf({.notificationState = state});
        EXPECT_EQ(read, (QuietState{.fullScreen = meanings[state] == 'F', .presenting = meanings[state] == 'P'}))
            << state;
    }

    const struct {
        std::vector<std::uint8_t> data;
        bool on;
    } focusCases[] = {{{}, false},
                      {{0, 0, 0, 0}, false},
                      {{1, 0, 0, 0}, true},
                      {{2, 0, 0, 0}, true},
                      {{3, 0, 0, 0}, false},
                      {{1}, false},
                      {{1, 0, 0, 0, 0, 0, 0, 0}, false}};
    for (const auto& c : focusCases)
        EXPECT_EQ(QuietStateOf({.focusAssistProfile = c.data}), QuietState{.focusAssist = c.on})
            << testing::PrintToString(c.data);
}

TEST(QuietSignals, EverySignalAddsItsOwnQuietAndNoneTakesAnothersAway)
{
    const ScreenRect monitor{0, 0, 1920, 1080};
    const ForegroundWindowFacts fullScreen{monitor, monitor, false, "Game", false};
    const ForegroundWindowFacts editor{monitor, monitor, true, "Notepad", false};
    const std::vector<std::uint8_t> priorityOnly{1, 0, 0, 0};
    constexpr int kShellBusy = 2;
    constexpr int kShellPresenting = 4;
    constexpr int kShellAccepts = 5; // all Wine ever answers
    const struct {
        const char* name;
        QuietReadings readings;
        QuietState state;
    } cases[] = {
        {"nothing read", {}, {}},
        {"a full-screen window the shell missed", {kShellAccepts, fullScreen}, {.fullScreen = true}},
        {"a full-screen window, the shell unread", {std::nullopt, fullScreen}, {.fullScreen = true}},
        {"the shell busy over a window with a caption", {kShellBusy, editor}, {.fullScreen = true}},
        {"presenting in a full-screen window",
         {kShellPresenting, fullScreen},
         {.fullScreen = true, .presenting = true}},
        {"presenting, Focus Assist and a call",
         {kShellPresenting, editor, priorityOnly, true},
         {.presenting = true, .focusAssist = true, .inCall = true}},
        {"a call alone", {kShellAccepts, editor, {}, true}, {.inCall = true}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuietStateOf(c.readings), c.state) << c.name;
}

} // namespace
