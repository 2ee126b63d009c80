#include "shutdown/set_time_dialog_win.h"

#include "language/translation.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"
#include "shutdown/shutdown_service.h"

#include <commctrl.h>

#include <ctime>

namespace {
// The picker would otherwise follow the user's locale, which may hide seconds or use AM/PM.
constexpr wchar_t kPickerFormat[] = L"HH:mm:ss";
} // namespace

CShoutdownDlg::CShoutdownDlg(Platform& platform)
    : CDialog(IDD_SET_TIME), m_nAction(IDC_SETTIME_SHUTDOWN), m_platform(platform)
{
}

void CShoutdownDlg::SetPickerTime(std::int64_t today, int hour, int minute, int second)
{
    const std::time_t moment = static_cast<std::time_t>(today);
    std::tm local{};
    if (localtime_s(&local, &moment) != 0)
        return;
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(local.tm_year + 1900);
    time.wMonth = static_cast<WORD>(local.tm_mon + 1);
    time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time.wDay = static_cast<WORD>(local.tm_mday);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    // The picker refuses a time outside the day and keeps what it showed.
    SendMessageW(Item(IDC_SETTIME_PICKER), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

BOOL CShoutdownDlg::OnInitDialog()
{
    CheckButton(IDC_SETTIME_SHUTDOWN, IDC_SETTIME_POWER_OFF, IDC_SETTIME_SHUTDOWN);
    SetChecked(IDC_SETTIME_WARNING, true);
    SendMessageW(Item(IDC_SETTIME_PICKER), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kPickerFormat));
    return TRUE;
}

void CShoutdownDlg::OnCommand(int id, int notifyCode)
{
    if (id == IDC_SETTIME_WARNING) {
        if (notifyCode == BN_CLICKED)
            OnWarningClicked();
        return;
    }
    CDialog::OnCommand(id, notifyCode);
}

void CShoutdownDlg::OnWarningClicked()
{
    if (IsChecked(IDC_SETTIME_WARNING))
        return;
    m_platform.ShowMessageBox(Hwnd(), Tr("No warning will appear when timelimit is hit!"), Tr("Kelvaro Notice!"),
                              MB_OK | MB_ICONEXCLAMATION);
}

void CShoutdownDlg::OnOK()
{
    // While supervision runs the OK button is disabled; an Enter that slips through must not
    // change the locked choice.
    if (!IsItemEnabled(IDOK))
        return;
    if (const int action = CheckedButton(IDC_SETTIME_SHUTDOWN, IDC_SETTIME_POWER_OFF))
        m_nAction = action;
    SYSTEMTIME time{};
    if (SendMessageW(Item(IDC_SETTIME_PICKER), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) == GDT_VALID) {
        m_nHour = time.wHour;
        m_nMinute = time.wMinute;
        m_nSecond = time.wSecond;
    }
    // A question postponed by a "No" belongs to the time the user has just replaced.
    g_shutdownSchedule.ForgetPostponement();
    Show(SW_HIDE);
}
