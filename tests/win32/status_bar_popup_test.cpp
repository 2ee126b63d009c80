#include "messages/status_bar_popup_win.h"

#include "fake_platform_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace {

void Tick(HWND popup, UINT_PTR timer, int times = 1)
{
    for (int i = 0; i < times; ++i)
        SendMessageW(popup, WM_TIMER, timer, 0);
}

// Calls back as each window of this thread has changed its size or place, so that no step of a
// roll escapes the test, however late it gets the processor to look.
class PlacementWatch {
public:
    explicit PlacementWatch(std::function<void(HWND)> placed)
        : m_placed(std::move(placed)),
          m_hHook(SetWindowsHookExW(WH_CALLWNDPROCRET, &OnMessage, nullptr, GetCurrentThreadId()))
    {
        s_pWatch = this;
    }
    ~PlacementWatch()
    {
        UnhookWindowsHookEx(m_hHook);
        s_pWatch = nullptr;
    }
    PlacementWatch(const PlacementWatch&) = delete;
    PlacementWatch& operator=(const PlacementWatch&) = delete;

    bool Watching() const { return m_hHook != nullptr; }

private:
    static LRESULT CALLBACK OnMessage(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_WINDOWPOSCHANGED && s_pWatch)
            s_pWatch->m_placed(message->hwnd);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    inline static PlacementWatch* s_pWatch = nullptr;
    std::function<void(HWND)> m_placed;
    HHOOK m_hHook;
};

class StatusBarPopupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
        edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, owner, nullptr, nullptr,
                               nullptr);
        SetForegroundWindow(owner);
        SetFocus(edit);
        ASSERT_TRUE(FocusKept());
    }
    void TearDown() override
    {
        DestroyWindow(owner);
        EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), 0);
    }

    // The newest popup, which stands above the others of the topmost band.
    HWND Open(Platform& system, int height, unsigned showMs = 4000, unsigned stepMs = 5)
    {
        (new CStatusBarMsgWnd(system, "Stand up and stretch", 180, height, showMs, stepMs, {30, 30, 130, 110}, owner))
            ->PopUp();
        return FindWindowW(CStatusBarMsgWnd::kWindowClass, nullptr);
    }

    ::testing::AssertionResult FocusKept()
    {
        if (GetForegroundWindow() == owner && GetActiveWindow() == owner && GetFocus() == edit)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "foreground " << GetForegroundWindow() << ", focus " << GetFocus();
    }

    FakePlatform platform;
    HWND owner = nullptr;
    HWND edit = nullptr;
};

TEST_F(StatusBarPopupTest, TwoPopupsRollOutHoldAndRollInWithoutTakingTheFocus)
{
    // With no taskbar, or one at the bottom or right, they grow up from the work area's corner.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::map<HWND, int> tallest;
    bool placedRight = true;
    bool focusKept = true;
    const PlacementWatch watch([&](HWND popup) {
        wchar_t windowClass[64] = {};
        GetClassNameW(popup, windowClass, static_cast<int>(std::size(windowClass)));
        RECT r{};
        if (std::wstring_view(windowClass) != CStatusBarMsgWnd::kWindowClass || !IsWindowVisible(popup) ||
            !GetWindowRect(popup, &r))
            return;
        tallest[popup] = std::max<int>(tallest[popup], r.bottom - r.top);
        placedRight = placedRight && r.right == work.right - 10 && r.bottom == work.bottom - 5;
        focusKept = focusKept && FocusKept();
    });
    ASSERT_TRUE(watch.Watching());
    Win32Platform system;
    const std::map<HWND, int> heights{{Open(system, 12, 150, 1), 12}, {Open(system, 20, 100, 2), 20}};
    EXPECT_TRUE(PumpUntil([&] { return CStatusBarMsgWnd::LiveCount() == 0; }));
    EXPECT_EQ(tallest, heights);
    EXPECT_TRUE(placedRight);
    EXPECT_TRUE(focusKept);
}

TEST_F(StatusBarPopupTest, EveryWayAWindowEndsFreesThePopupOnce)
{
    Tick(Open(platform, 150), 100, 20);
    Tick(Open(platform, 150), 100, 40);
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), 2);
    // The program's end takes its popups with its main window.
    DestroyWindow(owner);
    EXPECT_EQ(CStatusBarMsgWnd::LiveCount(), 0);
    // A window that can't be created leaves neither a popup nor a timer.
    platform.timersSet.clear();
    EXPECT_EQ(Open(platform, 150), nullptr);
    EXPECT_TRUE(platform.timersSet.empty());
}

TEST_F(StatusBarPopupTest, AClickAsksToThinkAboutItEvenWhenThePopupEndsMeanwhile)
{
    HWND popup = Open(platform, 40);
    Tick(popup, 100, 41);
    // The popup rolls in and frees itself while the box is open.
    platform.whileBoxOpen = [&] {
        Tick(popup, 102);
        Tick(popup, 101, 41);
    };
    RECT r{};
    GetWindowRect(popup, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT click[2] = {{INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}},
                      {INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTUP, 0, 0}}}};
    SendInput(2, click, sizeof(INPUT));
    ASSERT_TRUE(PumpUntil([&] { return !platform.messageBoxes.empty(); }));
    const FakePlatform::MessageBoxCall& box = platform.messageBoxes.front();
    EXPECT_EQ(std::tie(box.owner, box.text, box.caption, box.flags),
              std::tuple(owner, "Think about it!", "Kelvaro", static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION)));
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_TRUE(FocusKept());
}

TEST_F(StatusBarPopupTest, EachStepRaisesThePopupAboveATopmostWindowShownMeanwhile)
{
    HWND popup = Open(platform, 150);
    Tick(popup, 100, 10);
    RECT r{};
    GetWindowRect(popup, &r);
    HWND other = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP, r.left, r.top - 50, 100,
                                 100, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_EQ(GetWindow(popup, GW_HWNDPREV), other);
    Tick(popup, 100);
    EXPECT_EQ(GetWindow(popup, GW_HWNDPREV), nullptr);
    EXPECT_TRUE(FocusKept());
    DestroyWindow(other);
}

TEST_F(StatusBarPopupTest, HoveringUnderlinesTheTextUntilTheMouseLeaves)
{
    HWND popup = Open(platform, 150);
    Tick(popup, 100, 150);
    auto textPixels = [&] {
        std::vector<COLORREF> pixels;
        HDC dc = GetDC(popup);
        for (int y = 30; y < 110; ++y)
            for (int x = 30; x < 130; ++x)
                pixels.push_back(GetPixel(dc, x, y));
        ReleaseDC(popup, dc);
        return pixels;
    };
    const std::vector<COLORREF> plain = textPixels();
    RECT r{};
    GetWindowRect(popup, &r);
    SetCursorPos(r.left + 8, r.top + 8);
    EXPECT_TRUE(PumpUntil([&] { return textPixels() != plain; }));
    SetCursorPos(0, 0);
    EXPECT_TRUE(PumpUntil([&] { return textPixels() == plain; }));
    // Hovering leaves the roll as it was.
    EXPECT_EQ(platform.activeTimers, (std::map<UINT_PTR, UINT>{{100, 5}}));
}

} // namespace
