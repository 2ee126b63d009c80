#include "about/about_dialog_win.h"

#include "platform/platform_win.h"
#include "resources/resource_ids.h"

CAboutDlg::CAboutDlg(Platform& platform) : CDialog(IDD_ABOUT), m_platform(platform) {}

BOOL CAboutDlg::OnInitDialog()
{
    CenterWindow();
    StyleLabel(IDC_ABOUT_TITLE, kTitleLabelStyle);
    return TRUE;
}

void CAboutDlg::OnCommand(int id, int notifyCode)
{
    if (id == IDC_ABOUT_CHECK_UPDATE && notifyCode == BN_CLICKED)
        OnCheckForUpdate();
    else if (id == IDC_ABOUT_GIVE_FEEDBACK && notifyCode == BN_CLICKED)
        OnGiveFeedback();
    else
        CDialog::OnCommand(id, notifyCode);
}

void CAboutDlg::OnCheckForUpdate()
{
    m_platform.OpenUrl(kHomePageUrl);
}

void CAboutDlg::OnGiveFeedback()
{
    m_platform.OpenUrl(kFeedbackPageUrl);
}
