#include "about/about_dialog_win.h"

#include "language/translation.h"
#include "platform/platform_win.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"

CAboutDlg::CAboutDlg(Platform& platform) : CDialog(IDD_ABOUT), m_platform(platform) {}

BOOL CAboutDlg::OnInitDialog()
{
    CenterWindow();
    StyleLabel(IDC_ABOUT_TITLE, kTitleLabelStyle);
    TranslateHomeAddressLine();
    return TRUE;
}

namespace {
constexpr const char* kHomeAddressLine = TrLater(" Get the latest version at ");
} // namespace

void CAboutDlg::TranslateHomeAddressLine()
{
    const std::wstring english = Widen(kHomeAddressLine) + L"\n";
    const std::wstring translated = Widen(Tr(kHomeAddressLine)) + L"\n";
    for (HWND child = GetWindow(Hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[256] = {};
        GetWindowTextW(child, text, static_cast<int>(std::size(text)));
        const std::wstring_view shown = text;
        if (shown.starts_with(english))
            SetWindowTextW(child, (translated + std::wstring(shown.substr(english.size()))).c_str());
    }
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
