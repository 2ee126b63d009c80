#pragma once
#include "breaks/break_coordinator.h"
#include "breaks/eye_break_popup_win.h"

#include <windows.h>


// Eye breaks as the main window shows them: the popup as the rules have it after each activity tick.
class CEyeBreaks {
public:
    // The window that owns the popup.
    void SetOwner(HWND owner) { m_owner = owner; }
    // The popup as the rules have it now.
    void Show(const EyeBreakView& view);
    void Close() { m_popup.Close(); }

private:
    HWND m_owner = nullptr;
    CEyeBreakPopup m_popup;
};
