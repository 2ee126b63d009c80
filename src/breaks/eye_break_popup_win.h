#pragma once
#include "framework/owned_window_win.h"

#include <windows.h>

// The eye break's popup at the taskbar's edge: "Rest your eyes: look at something far away" above
// the seconds of its countdown, or "Done". It never takes the keyboard focus: screen readers hear
// its text as it comes, as they hear the reminder popup. Under high contrast it takes the scheme's colours.
class CEyeBreakPopup {
public:
    static constexpr wchar_t kWindowClass[] = L"KelvaroEyeBreakPopup";

    CEyeBreakPopup() = default;
    ~CEyeBreakPopup();
    CEyeBreakPopup(const CEyeBreakPopup&) = delete;
    CEyeBreakPopup& operator=(const CEyeBreakPopup&) = delete;

    // Shows the popup with the countdown at so many seconds; false when its window can't be created.
    bool Show(HWND owner, int secondsLeft);
    // The countdown's seconds, or "Done" at 0.
    void ShowCount(int secondsLeft);
    void Close();
    // Null while the popup is not shown.
    HWND Hwnd() const { return m_hWnd; }

private:
    friend LRESULT CALLBACK OwnedWindowProc<CEyeBreakPopup>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMessage(UINT message, WPARAM wParam, LRESULT& result);
    void CreateControls(int dpi);
    void RefreshColours();
    void FreeDrawingTools();

    HWND m_hWnd = nullptr;
    HFONT m_fontText = nullptr;
    HFONT m_fontCount = nullptr;
    HBRUSH m_brBackground = nullptr;
    int m_nSecondsShown = -1;
};
