#pragma once
#include "breaks/break_coordinator.h"
#include "breaks/eye_break_popup_win.h"

#include <windows.h>

#include <optional>

// Eye breaks as the main window shows them: the choice taken at Start from the Settings dialog,
// and the popup as the rules have it after each activity tick.
class CEyeBreaks {
public:
    // Supervision starts: the minutes of the Settings dialog when its box is checked, shown back
    // in its field as they are taken, or nothing when eye breaks are off.
    std::optional<int> OnStart(HWND owner);
    // The popup as the rules have it now.
    void Show(const EyeBreakView& view);
    void Close() { m_popup.Close(); }

private:
    HWND m_owner = nullptr;
    CEyeBreakPopup m_popup;
};
