#include "about/about_dialog_win.h"

#include "resources/resource_ids.h"

namespace {
constexpr CStyledLabels::Style kTitleStyle{L"Tahoma", 143, true, RGB(0, 0, 0), RGB(236, 233, 216)};
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

BOOL CAboutDlg::OnInitDialog()
{
    CenterWindow();
    m_labels.Apply(Hwnd(), IDC_ABOUT_TITLE, kTitleStyle);
    return TRUE;
}

bool CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return message == WM_CTLCOLORSTATIC && m_labels.HandleColorMessage(wParam, lParam, result);
}
