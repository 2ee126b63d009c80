#pragma once
#include "../local_time.h"

#include <windows.h>

// Handles every message already waiting, so that posted work has run.
inline void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps messages until the condition holds; false when it still doesn't after a minute, which only
// a hang takes.
template <typename Condition> bool PumpUntil(Condition condition)
{
    constexpr DWORD kHangMs = 60000;
    for (const DWORD start = GetTickCount(); !condition(); Sleep(1)) {
        if (GetTickCount() - start > kHangMs)
            return false;
        PumpMessages();
    }
    return true;
}

// Clicks a control the way the mouse would: nothing happens when it is disabled.
inline void Click(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!IsWindowEnabled(control))
        return;
    // A button takes a click only in the active window, as with a real mouse.
    SetForegroundWindow(dialog);
    SetActiveWindow(dialog);
    SendMessageW(control, BM_CLICK, 0, 0);
    PumpMessages();
}

// Checks or unchecks a box as the user does, by a click when it isn't so already.
inline void SetCheck(HWND dialog, int id, bool checked)
{
    if ((IsDlgButtonChecked(dialog, id) == BST_CHECKED) != checked)
        Click(dialog, id);
}

// Sends the notification a control gives when clicked, as a click on a static label does.
inline void Notify(HWND dialog, int id, int code)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    PumpMessages();
}

// Puts the program-wide state back to how a fresh process starts.
void ResetProgramState();
