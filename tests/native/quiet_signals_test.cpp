#include "messages/quiet_signals.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(QuietSignals, AFullScreenWindowCoversItsMonitorWithoutCaptionAndIsNoShellWindow)
{
    const ScreenRect primary{0, 0, 1920, 1080};
    const ScreenRect second{1920, -200, 3200, 824}; // right of the primary, higher up
    struct Case {
        const char* name;
        ScreenRect window;
        ScreenRect monitor;
        bool hasCaption;
        const char* className;
        bool isShellWindow;
        bool fullScreen;
    };
    const Case cases[] = {
        {"exactly the monitor", primary, primary, false, "GameWindow", false, true},
        {"exactly the second monitor", second, second, false, "GameWindow", false, true},
        {"past every edge", {-3, -3, 1923, 1083}, primary, false, "GameWindow", false, true},
        {"past one edge", {0, 0, 1920, 1100}, primary, false, "GameWindow", false, true},
        {"one pixel short at the right", {0, 0, 1919, 1080}, primary, false, "GameWindow", false, false},
        {"one pixel short at the top", {0, 1, 1920, 1080}, primary, false, "GameWindow", false, false},
        {"the work area above a taskbar", {0, 0, 1920, 1040}, primary, false, "GameWindow", false, false},
        {"the primary's size on the second", primary, second, false, "GameWindow", false, false},
        // Maximised where no taskbar is: its borders reach past the monitor, its caption stays.
        {"maximised", {-8, -8, 1928, 1088}, primary, true, "Notepad", false, false},
        {"the desktop", primary, primary, false, "Progman", false, false},
        {"the desktop behind a slideshow", primary, primary, false, "WorkerW", false, false},
        {"the taskbar", primary, primary, false, "Shell_TrayWnd", false, false},
        {"a second taskbar", second, second, false, "Shell_SecondaryTrayWnd", false, false},
        {"the system's desktop window", primary, primary, false, "#32769", false, false},
        {"the shell window by handle", primary, primary, false, "GameWindow", true, false},
        {"a class only like the desktop's", primary, primary, false, "Progman2", false, true},
        {"no class name", primary, primary, false, "", false, true},
        {"the monitor unknown", {0, 0, 0, 0}, {0, 0, 0, 0}, false, "GameWindow", false, false},
    };
    for (const Case& c : cases) {
        const ForegroundWindowFacts facts{c.window, c.monitor, c.hasCaption, c.className, c.isShellWindow};
        EXPECT_EQ(IsFullScreenWindow(facts), c.fullScreen) << c.name;
    }
}

std::vector<std::uint8_t> Qword(std::uint64_t value)
{
    std::vector<std::uint8_t> bytes(sizeof value);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
}

TEST(QuietSignals, AProgramUsesTheDeviceWhenItStartedAndHasNotStopped)
{
    constexpr std::uint32_t kDwordType = 4;  // REG_DWORD
    constexpr std::uint32_t kBinaryType = 3; // REG_BINARY
    const std::uint64_t someTime = 0x01DA'1234'5678'9ABCULL;
    const std::vector<std::uint8_t> time = Qword(someTime);
    const std::vector<std::uint8_t> highByteOnly = Qword(0x0100'0000'0000'0000ULL);
    const std::vector<std::uint8_t> zero = Qword(0);
    const std::vector<std::uint8_t> shortZero(4, 0);
    const std::vector<std::uint8_t> longZero(9, 0);
    struct Value {
        std::uint32_t type;
        const std::vector<std::uint8_t>* bytes; // null: the value is missing
    };
    struct Case {
        const char* name;
        Value start;
        Value stop;
        bool inUse;
    };
    const Case cases[] = {
        {"started, not stopped", {kRegistryQwordType, &time}, {kRegistryQwordType, &zero}, true},
        {"only the high byte set", {kRegistryQwordType, &highByteOnly}, {kRegistryQwordType, &zero}, true},
        {"stopped", {kRegistryQwordType, &time}, {kRegistryQwordType, &time}, false},
        {"never started", {kRegistryQwordType, &zero}, {kRegistryQwordType, &zero}, false},
        {"no stop time (half-written, or an older system)", {kRegistryQwordType, &time}, {0, nullptr}, false},
        {"no start time", {0, nullptr}, {kRegistryQwordType, &zero}, false},
        {"neither", {0, nullptr}, {0, nullptr}, false},
        {"stop a DWORD zero", {kRegistryQwordType, &time}, {kDwordType, &shortZero}, false},
        {"stop four bytes of zero", {kRegistryQwordType, &time}, {kRegistryQwordType, &shortZero}, false},
        {"stop nine bytes of zero", {kRegistryQwordType, &time}, {kRegistryQwordType, &longZero}, false},
        {"stop binary zero", {kRegistryQwordType, &time}, {kBinaryType, &zero}, false},
        {"start binary", {kBinaryType, &time}, {kRegistryQwordType, &zero}, false},
    };
    const auto reading = [](const Value& value) -> std::optional<RegistryValue> {
        if (!value.bytes)
            return std::nullopt;
        return RegistryValue{value.type, *value.bytes};
    };
    for (const Case& c : cases)
        EXPECT_EQ(CapabilityInUse(reading(c.start), reading(c.stop)), c.inUse) << c.name;
}

TEST(QuietSignals, TheShellsStateAndFocusAssistSayFullScreenPresentingOrQuiet)
{
    const QuietState quiet;
    QuietState fullScreen;
    fullScreen.fullScreen = true;
    QuietState presenting;
    presenting.presenting = true;
    const struct {
        std::optional<int> state;
        QuietState expected;
    } shellCases[] = {
        {std::nullopt, quiet}, {0, quiet},      {1, quiet},  {2, fullScreen},
        {3, fullScreen},       {4, presenting}, {5, quiet},  {6, quiet},
        {7, fullScreen},       {8, quiet},      {-1, quiet},
    };
    for (const auto& c : shellCases)
        EXPECT_EQ(QuietStateOfShell(c.state), c.expected) << c.state.value_or(-999);

    const struct {
        const char* name;
        std::vector<std::uint8_t> data;
        bool on;
    } focusCases[] = {
        {"off", {0, 0, 0, 0}, false},
        {"priority only", {1, 0, 0, 0}, true},
        {"alarms only", {2, 0, 0, 0}, true},
        {"an unknown profile", {3, 0, 0, 0}, false},
        {"1 in the high byte", {0, 0, 0, 1}, false},
        {"no data: failed or missing", {}, false},
        {"a byte", {1}, false},
        {"a QWORD", {1, 0, 0, 0, 0, 0, 0, 0}, false},
    };
    for (const auto& c : focusCases)
        EXPECT_EQ(FocusAssistOn(c.data), c.on) << c.name;
}

} // namespace
