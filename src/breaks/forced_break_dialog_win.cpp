#include "breaks/forced_break_dialog_win.h"

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
