#include "breaks/forced_break_dialog_win.h"

#include "framework/accessibility_win.h"
#include "resources/resource_ids.h"

CforceBreak* g_pForceBreakDlg = nullptr;

namespace {
constexpr CStyledLabels::Style kTitleStyle{L"Tahoma", 240, false, RGB(0, 0, 0)};
}

CforceBreak::CforceBreak() : CDialog(IDD_FORCED_BREAK) {}

BOOL CforceBreak::OnInitDialog()
{
    StyleLabel(IDC_BREAK_TITLE, kTitleStyle);
    return TRUE;
}

bool CforceBreak::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT&)
{
    // Told once the window is visible, and only when it was hidden before.
    if (message == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) != 0)
        AnnounceAlert(Item(IDC_BREAK_TITLE));
    return false;
}
