#include "breaks/forced_break_dialog_win.h"

#include "resources/resource_ids.h"

CforceBreak* g_pForceBreakDlg = nullptr;

namespace {
constexpr CStyledLabels::Style kTitleStyle{L"Tahoma", 240, false, RGB(0, 0, 0), RGB(236, 233, 216)};
}

CforceBreak::CforceBreak() : CDialog(IDD_FORCED_BREAK) {}

BOOL CforceBreak::OnInitDialog()
{
    m_labels.Apply(Hwnd(), IDC_BREAK_TITLE, kTitleStyle);
    return TRUE;
}

bool CforceBreak::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return message == WM_CTLCOLORSTATIC && m_labels.HandleColorMessage(wParam, lParam, result);
}
