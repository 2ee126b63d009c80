#include "about/about_dialog_win.h"

#include "resources/resource_ids.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

BOOL CAboutDlg::OnInitDialog()
{
    CenterWindow();
    StyleLabel(IDC_ABOUT_TITLE, kTitleLabelStyle);
    return TRUE;
}
