#pragma once
#include "framework/owned_window_win.h"
#include "messages/popup_geometry.h"
#include "platform/platform_win.h"

#include <windows.h>

#include <string>

// The primary monitor's work area, out of whose taskbar edge the popups roll.
ScreenRect PopupWorkArea();

// Every reminder's popup at 96 DPI: its size and the rectangle its text is drawn into. A text
// that needs more room is cut.
constexpr int kReminderPopupWidth = 180;
constexpr int kReminderPopupHeight = 150;
constexpr RECT kReminderPopupTextRect{30, 30, 130, 110};

// A reminder that rolls out of the taskbar's edge, stays open a while, rolls back in and frees
// itself. It never takes the keyboard focus: its text is its window's text, which screen readers
// announce as an alert when it starts to roll out. Under high contrast it takes the scheme's
// colours. Create it with new, call PopUp and keep nothing.
class CStatusBarMsgWnd {
public:
    static constexpr wchar_t kWindowClass[] = L"KelvaroStatusBarPopup";

    // The size and the text's rectangle are 96-DPI values; PopUp scales them to the monitor that
    // holds the corner of the work area the popup rolls out of.
    CStatusBarMsgWnd(Platform& platform, const std::string& text, int width, int height, unsigned showTimeMs,
                     unsigned stepTimeMs, const RECT& textRect, HWND owner);
    CStatusBarMsgWnd(const CStatusBarMsgWnd&) = delete;
    CStatusBarMsgWnd& operator=(const CStatusBarMsgWnd&) = delete;

    // Creates the window and starts the roll. From then on the popup frees itself, exactly once,
    // whenever its window ends; when the window can't be created it is freed at once.
    void PopUp();

    // The text's font at a DPI: Arial 10 pt bold, underlined while the mouse is over the popup.
    static HFONT CreateMessageFont(bool underline, int dpi);

    // Popups constructed and not yet freed.
    static int LiveCount() { return s_nLive; }

private:
    // Only the popup itself ends its life, when its window has gone.
    ~CStatusBarMsgWnd();

    friend LRESULT CALLBACK OwnedWindowProc<CStatusBarMsgWnd>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMessage(UINT message, WPARAM wParam, LRESULT& result);
    void OnCreate();
    void OnTimer(UINT_PTR id);
    void OnMouseMove();
    void OnHoverChange(bool hover);
    void OnClick();
    void Apply(const RollAction& action);
    void Place(int height);
    // Paints the popup's face, background and text, into the off-screen picture that every
    // paint copies from: a roll step then costs a copy rather than a word-wrapped text layout.
    void DrawFace(bool hover);
    void ShowFaceNow();

    inline static int s_nLive = 0;

    Platform& m_platform;
    // The dots per inch of the monitor the popup rolls out on; from PopUp on, the sizes below
    // are scaled to it.
    int m_nDpi = kDesignDpi;
    int m_nWidth;
    int m_nHeight;
    unsigned m_nShowTime;
    unsigned m_nStepTime;
    ScreenRect m_rcFinal;
    PopupRoll m_roll;
    int m_nTaskbarEdge = TASKBAR_RIGHT;
    std::string m_strMessage;
    HWND m_pOwner;
    RECT m_rcText;
    HFONT m_fontHover = nullptr;
    HFONT m_fontNormal = nullptr;
    HDC m_dcFace = nullptr;
    HBITMAP m_bmFace = nullptr;
    HGDIOBJ m_bmFacePrevious = nullptr;
    bool m_bHover = false;
    HWND m_hWnd = nullptr;
    // Set while PopUp creates the window, so that it learns whether creation already freed the popup.
    bool* m_pbFreed = nullptr;
};
