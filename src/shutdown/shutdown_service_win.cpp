// The shutdown service of the main window: once a second while supervision runs, it asks the
// schedule whether the chosen action is due, asks the user if wished, and carries it out.
#include "app/main_window_win.h"

#include "activity/calendar.h"
#include "app/timer_plan.h"
#include "language/translation.h"
#include "messages/led_blinker_win.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"
#include "shutdown/shutdown_service.h"

static_assert(kActionShutdown == IDC_SETTIME_SHUTDOWN && kActionLogOff == IDC_SETTIME_LOG_OFF &&
              kActionReboot == IDC_SETTIME_REBOOT && kActionPowerOff == IDC_SETTIME_POWER_OFF);
static_assert(kEndSessionLogOff == EWX_LOGOFF && kEndSessionShutdown == EWX_SHUTDOWN &&
              kEndSessionReboot == EWX_REBOOT && kEndSessionPowerOff == EWX_POWEROFF);

namespace {

constexpr const char* kQuestionCaption = TrLater("Kelvaro WARNING!!!");
constexpr const char* kTokenNotOpened = TrLater("ERROR: Unable to open process token.");
constexpr const char* kPrivilegeNotAdjusted = TrLater("ERROR: Uanble to adjust token privileges.");

ShutdownMoment CurrentMoment(Platform& platform)
{
    ShutdownMoment moment;
    moment.time = platform.Now();
    moment.local = LocalTimeOfDay(moment.time).value_or(TimeOfDay{-1, -1, -1});
    return moment;
}

// The message telling of a failed privilege change, or null when it was made.
const char* PrivilegeFailure(PrivilegeChange change)
{
    switch (change) {
    case PrivilegeChange::TokenNotOpened:
        return Tr(kTokenNotOpened);
    case PrivilegeChange::NotAdjusted:
        return Tr(kPrivilegeNotAdjusted);
    case PrivilegeChange::Made:
        break;
    }
    return nullptr;
}

} // namespace

void CTavrinDlg::CheckShutdownTime()
{
    const ShutdownStep step =
        g_shutdownSchedule.OnTick(CurrentMoment(m_platform), m_settings.timeLimit, m_settings.shutdownWarning,
                                  [this] { return m_quiet.ShutdownMustWait(); });
    if (step == ShutdownStep::Nothing)
        return;
    const int action = m_settings.shutdownAction;
    if (step == ShutdownStep::Ask) {
        const int answer = m_platform.ShowMessageBox(Hwnd(), ShutdownQuestion(action), Tr(kQuestionCaption),
                                                     MB_YESNO | MB_ICONEXCLAMATION);
        if (Ended())
            return;
        if (answer == IDNO) {
            g_shutdownSchedule.Postpone(CurrentMoment(m_platform));
            return;
        }
    }
    CarryOutShutdown(action);
}

void CTavrinDlg::CarryOutShutdown(int action)
{
    LoadSaveSettings(0);
    LoadSaveActiveTime(0);
    LoadSaveActiveTime(2);
    m_platform.KillWindowTimer(Hwnd(), kShutdownCheckTimer);
    // Keys a light show left toggled would stay so in the next session.
    CLedBlinker::StopAndRestore();

    const SessionEndRequest request = PlanSessionEnd(action, g_bWindowsNT);
    if (request.adjustPrivilege)
        EnableShutdownPrivilege();
    const bool accepted = m_platform.RequestSessionEnd(request.flags, kEndSessionReason);
    if (request.adjustPrivilege)
        DisableShutdownPrivilege();

    // Accepted, the program goes on until the session ends (its end saves again), since another
    // program may still refuse to close; refused, it says so and asks again as after a "No".
    if (accepted) {
        g_shutdownSchedule.CarriedOut();
    } else {
        AppMessageBox(SessionEndRefusedMessage(action));
        g_shutdownSchedule.Postpone(CurrentMoment(m_platform));
    }
    // Supervision may have been stopped from the tray while a box was open.
    if (!Ended() && g_bRunning && m_settings.shutdown)
        m_platform.SetWindowTimer(Hwnd(), kShutdownCheckTimer, static_cast<UINT>(kOncePerSecondMs));
}

void CTavrinDlg::EnableShutdownPrivilege()
{
    if (const char* failure = PrivilegeFailure(m_platform.SetShutdownPrivilege(true)))
        AppMessageBox(failure);
}

void CTavrinDlg::DisableShutdownPrivilege()
{
    if (const char* failure = PrivilegeFailure(m_platform.SetShutdownPrivilege(false)))
        AppMessageBox(failure);
}
