#include "breaks/break_covers_win.h"

#include "breaks/forced_break_dialog_win.h"
#include "fake_platform_win.h"
#include "framework/accessibility_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const MonitorArea kLeft{{0, 0, 1024, 768}, {0, 0, 1024, 738}, 96};
const MonitorArea kRight{{1024, 0, 1824, 600}, {1024, 0, 1824, 600}, 96};

// Every cover window of this thread, shown or not: a cover the object lost track of counts too.
std::vector<HWND> CoverWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            wchar_t name[64]{};
            GetClassNameW(window, name, 64);
            if (std::wstring(name) == CBreakCovers::kWindowClass)
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The covers as the object keeps them, how many cover windows the thread has, and the monitor of
// the two in whose work area the dialog stands centred: "2: 0,0 1024x768; 1024,0 800x600 | right".
std::string Screen(const CBreakCovers& covers, HWND dialog, const std::vector<MonitorArea>& twoMonitors)
{
    std::string text = std::to_string(CoverWindows().size()) + ":";
    RECT rect{};
    for (HWND cover : covers.Covers()) {
        GetWindowRect(cover, &rect);
        text += (text.back() == ':' ? " " : "; ") + std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
                std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
    }
    GetWindowRect(dialog, &rect);
    for (std::size_t i = 0; i < twoMonitors.size(); ++i) {
        const ScreenRect& work = twoMonitors[i].work;
        if (std::abs((rect.left + rect.right) - (work.left + work.right)) <= 1 &&
            std::abs((rect.top + rect.bottom) - (work.top + work.bottom)) <= 1)
            return text + (i == 0 ? " | left" : " | right");
    }
    return text + " | elsewhere";
}

// Each cover as the user meets it: shown, topmost, without a taskbar button, not active, beneath
// the dialog, the window under the mouse, and how much of the screen it lets through.
std::string CoverLooks(const CBreakCovers& covers, HWND dialog)
{
    std::string looks;
    for (HWND cover : covers.Covers()) {
        const LONG_PTR style = GetWindowLongPtrW(cover, GWL_EXSTYLE);
        bool beneath = false;
        for (HWND below = GetWindow(dialog, GW_HWNDNEXT); below && !beneath; below = GetWindow(below, GW_HWNDNEXT))
            beneath = below == cover;
        RECT rect{};
        GetWindowRect(cover, &rect);
        BYTE alpha = 0;
        GetLayeredWindowAttributes(cover, nullptr, &alpha, nullptr);
        looks += std::string(IsWindowVisible(cover) ? "shown" : "hidden") +
                 ((style & WS_EX_TOPMOST) ? " topmost" : "") +
                 ((style & WS_EX_TOOLWINDOW) && !(style & WS_EX_APPWINDOW) ? " no-button" : "") +
                 (GetActiveWindow() == cover ? " active" : "") + (beneath ? " beneath" : " above") +
                 (WindowFromPoint({rect.left + 2, rect.bottom - 2}) == cover ? " takes-clicks" : "") + " alpha " +
                 std::to_string(alpha) + "; ";
    }
    return looks;
}

constexpr char kTwoCoversLook[] = "shown topmost no-button beneath takes-clicks alpha 216; "
                                  "shown topmost no-button beneath takes-clicks alpha 216; ";

class BreakCoversTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create());
        platform.monitors = {kLeft, kRight};
        platform.pointer = {1300, 300};
    }
    void TearDown() override { OverrideHighContrast(std::nullopt); }

    // The break dialog shown, and covers laid for it.
    void StartBreak()
    {
        dialog.EnableItem(IDOK, false);
        dialog.Show(SW_SHOW);
        covers.Lay(dialog.Hwnd());
    }
    void Tell(UINT message, WPARAM wParam = 0) { SendMessageW(covers.Covers().front(), message, wParam, 0); }
    std::string Screen() const { return ::Screen(covers, dialog.Hwnd(), {kLeft, kRight}); }

    FakePlatform platform;
    CforceBreak dialog;
    CBreakCovers covers{platform};
};

TEST_F(BreakCoversTest, CoversStandWhileTheDialogIsShownAndFollowTheMonitors)
{
    covers.Lay(dialog.Hwnd());
    EXPECT_TRUE(CoverWindows().empty()) << "a hidden dialog gets no covers";
    EXPECT_TRUE(platform.activeTimers.empty());

    StartBreak();
    EXPECT_EQ(Screen(), "2: 0,0 1024x768; 1024,0 800x600 | right");
    EXPECT_EQ(CoverLooks(covers, dialog.Hwnd()), kTwoCoversLook);
    EXPECT_EQ(platform.activeTimers, (std::map<UINT_PTR, UINT>{{CBreakCovers::kLookTimer, 1000}}));
    // The right monitor goes: the dialog moves at once, the cover at the next look.
    platform.monitors = {kLeft};
    Tell(WM_DISPLAYCHANGE);
    Tell(WM_TIMER, CBreakCovers::kLookTimer);
    EXPECT_EQ(Screen(), "1: 0,0 1024x768 | left");
    // After a sleep and after an unlock the covers are laid again, the dialog where the pointer is.
    platform.monitors = {kLeft, kRight};
    Tell(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
    EXPECT_EQ(Screen(), "2: 0,0 1024x768; 1024,0 800x600 | right");
    platform.pointer = {10, 10};
    Tell(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK);
    EXPECT_EQ(Screen(), "2: 0,0 1024x768; 1024,0 800x600 | left");
    EXPECT_EQ(CoverLooks(covers, dialog.Hwnd()), kTwoCoversLook);
    EXPECT_EQ(platform.activeTimers.size(), 1u);
    // High contrast: the scheme's window colour, letting nothing through.
    OverrideHighContrast(true);
    Tell(WM_SYSCOLORCHANGE);
    EXPECT_EQ(CoverLooks(covers, dialog.Hwnd()).substr(0, 56),
              "shown topmost no-button beneath takes-clicks alpha 255; ");

    // OK, once the countdown has enabled it, ends the break and its covers with it.
    dialog.EnableItem(IDOK, true);
    Click(dialog.Hwnd(), IDOK);
    EXPECT_EQ(Screen(), "0: | left");
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_TRUE(platform.activeTimers.empty());
}

TEST_F(BreakCoversTest, AStrictBreakIsEndedByNothingButOkAfterItsCountdown)
{
    const std::pair<const char*, std::pair<UINT, WPARAM>> ways[] = {
        {"Escape", {WM_COMMAND, IDCANCEL}}, {"Alt+F4", {WM_SYSCOMMAND, SC_CLOSE}}, {"Enter", {WM_COMMAND, IDOK}}};
    for (const bool strict : {false, true}) {
        for (const auto& [how, message] : ways) {
            dialog.SetStrict(strict);
            StartBreak();
            // Today's break dialog takes every one of them; a strict one none before its countdown ends.
            for (const bool countdownEnded : {false, true}) {
                dialog.EnableItem(IDOK, countdownEnded);
                SendMessageW(dialog.Hwnd(), message.first, message.second, 0);
                PumpMessages();
                EXPECT_EQ(dialog.IsVisible(), strict && !countdownEnded) << how << " strict " << strict;
                EXPECT_EQ(CoverWindows().size(), strict && !countdownEnded ? 2u : 0u) << how << " strict " << strict;
            }
        }
    }
    // A dialog destroyed during its break takes its covers with it.
    StartBreak();
    DestroyWindow(dialog.Hwnd());
    EXPECT_TRUE(CoverWindows().empty());
    EXPECT_TRUE(platform.activeTimers.empty());
}

// Asks the script that runs this story for the second monitor off or on, and waits until it is done.
bool SwitchSecondMonitor(const char* to)
{
    const char* request = std::getenv("KELVARO_MONITOR_SWITCH");
    FILE* file = request ? std::fopen(request, "w") : nullptr;
    if (!file)
        return false;
    std::fputs(to, file);
    std::fclose(file);
    return PumpUntil([request] { return GetFileAttributesA(request) == INVALID_FILE_ATTRIBUTES; });
}

// The break on two monitors side by side, the second switched off and on during it: the display
// the test command's two-monitor session makes, 1024x768 at 0,0 and 800x600 at 1024,0.
TEST(TwoMonitors, TheBreakCoversBothAndFollowsASecondMonitorSwitchedOffAndOn)
{
    if (!std::getenv("KELVARO_MONITOR_SWITCH"))
        GTEST_SKIP() << "runs on the two-monitor display of run-on-two-monitors.sh";
    Win32Platform platform;
    const std::vector<MonitorArea> monitors = platform.Monitors();
    ASSERT_EQ(monitors.size(), 2u);
    CforceBreak dialog;
    ASSERT_TRUE(dialog.Create());
    CBreakCovers covers{platform};
    const auto screen = [&] {
        return Screen(covers, dialog.Hwnd(), monitors);
    };
    SetCursorPos(1300, 300);
    dialog.Show(SW_SHOW);
    covers.Lay(dialog.Hwnd());
    EXPECT_EQ(screen(), "2: 0,0 1024x768; 1024,0 800x600 | right");
    EXPECT_EQ(CoverLooks(covers, dialog.Hwnd()), kTwoCoversLook);

    // Switched off, the second monitor's cover goes and the dialog comes onto the first; switched
    // on again, it is covered again.
    ASSERT_TRUE(SwitchSecondMonitor("off"));
    EXPECT_TRUE(PumpUntil([&] { return screen() == "1: 0,0 1024x768 | left"; })) << screen();
    ASSERT_TRUE(SwitchSecondMonitor("on"));
    EXPECT_TRUE(PumpUntil([&] { return screen() == "2: 0,0 1024x768; 1024,0 800x600 | left"; })) << screen();

    // Strict: Escape does nothing while the countdown runs; OK after it lifts everything.
    dialog.SetStrict(true);
    SendMessageW(dialog.Hwnd(), WM_COMMAND, IDCANCEL, 0);
    PumpMessages();
    EXPECT_EQ(screen(), "2: 0,0 1024x768; 1024,0 800x600 | left");
    dialog.EnableItem(IDOK, true);
    Click(dialog.Hwnd(), IDOK);
    EXPECT_EQ(screen(), "0: | left");
    EXPECT_FALSE(dialog.IsVisible());
}

} // namespace
