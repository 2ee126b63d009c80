#include "messages/reminder_presenter_win.h"

#include "app/tray_icon_win.h"
#include "messages/status_bar_popup_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_model.h"

namespace {
constexpr unsigned kPopupShowTimeMs = 4000;

// The program's icon at the large size, which the system loads once and shares.
HICON NotificationPicture()
{
    return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
}
} // namespace

void CReminderPresenter::Attach(HWND owner, CTrayNot* tray)
{
    m_owner = owner;
    m_pTray = tray;
}

void CReminderPresenter::Present(ReminderNotice notice, const std::string& text)
{
    const bool trayShowsBalloons = m_pTray && m_pTray->IsShown();
    const ReminderPresentation presentation = PresentReminder(notice, m_settings.windowsNotifications, trayShowsBalloons);
    if (presentation.view == ReminderView::Balloon &&
        m_pTray->ShowBalloon(presentation.title, BalloonText(text), NotificationPicture()))
        return;
    PopUp(text, presentation.popupStepMs);
}

bool CReminderPresenter::OnTrayNotify(LPARAM message) const
{
    switch (message) {
    case NIN_BALLOONSHOW:
    case NIN_BALLOONHIDE:
    case NIN_BALLOONTIMEOUT:
    case NIN_BALLOONUSERCLICK:
        return true;
    default:
        return false;
    }
}

void CReminderPresenter::PopUp(const std::string& text, unsigned stepTimeMs)
{
    // The popup frees itself once it has rolled in.
    (new CStatusBarMsgWnd(m_platform, text, kReminderPopupWidth, kReminderPopupHeight, kPopupShowTimeMs, stepTimeMs,
                          kReminderPopupTextRect, m_owner))
        ->PopUp();
}
