#include "shutdown/set_time_dialog_win.h"

#include "language/translation.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"
#include "shutdown/shutdown_service.h"

#include <commctrl.h>

#include <ctime>

CShoutdownDlg* g_pShutdownDlg = nullptr;

namespace {
// The picker would otherwise follow the user's locale, which may hide seconds or use AM/PM.
constexpr wchar_t kPickerFormat[] = L"HH:mm:ss";
constexpr CheckBinding kChecks[] = {{IDC_SETTIME_WARNING, &SettingsModel::shutdownWarning}};
} // namespace

CShoutdownDlg::CShoutdownDlg(Platform& platform, SettingsModel& settings)
    : CDialog(IDD_SET_TIME), m_nAction(settings.shutdownAction), m_nHour(settings.timeLimit.hour),
      m_nMinute(settings.timeLimit.minute), m_nSecond(settings.timeLimit.second), m_platform(platform),
      m_settings(settings), m_view(*this, settings, LockedWindow::SetTime, kChecks, {})
{
}

void CShoutdownDlg::ShowSettings(std::int64_t today)
{
    if (!Hwnd())
        return;
    m_view.Show();
    CheckButton(IDC_SETTIME_SHUTDOWN, IDC_SETTIME_POWER_OFF, m_settings.shutdownAction);
    SetPickerTime(today, m_settings.timeLimit);
}

void CShoutdownDlg::SetPickerTime(std::int64_t today, const TimeOfDay& chosen)
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
    time.wHour = static_cast<WORD>(chosen.hour);
    time.wMinute = static_cast<WORD>(chosen.minute);
    time.wSecond = static_cast<WORD>(chosen.second);
    // The picker refuses a time outside the day and keeps what it showed.
    SendMessageW(Item(IDC_SETTIME_PICKER), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

BOOL CShoutdownDlg::OnInitDialog()
{
    SendMessageW(Item(IDC_SETTIME_PICKER), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kPickerFormat));
    ShowSettings(m_platform.Now());
    return TRUE;
}

void CShoutdownDlg::OnCommand(int id, int notifyCode)
{
    if (id == IDC_SETTIME_WARNING) {
        m_view.Take(id, notifyCode);
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
