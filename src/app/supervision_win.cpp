// Start and Stop of supervision, the message catalogue it reloads, and the timers it drives.
#include "app/main_window_win.h"

#include "activity/calendar.h"
#include "activity/counter_state.h"
#include "app/supervision_locks.h"
#include "app/timer_plan.h"
#include "breaks/break_state.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "messages/message_catalogue.h"
#include "platform/platform_win.h"
#include "platform/text_decoding.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "shutdown/set_time_dialog_win.h"
#include "shutdown/shutdown_service.h"


namespace {
constexpr char kCatalogueFile[] = "standard.txt";
}

int CTavrinDlg::LoadMessages()
{
    const std::optional<std::string> text = m_platform.ReadWholeFile(kCatalogueFile);
    if (!text) {
        m_platform.ShowMessageBox(Hwnd(), FillText(Tr(kCouldNotOpen), {kCatalogueFile}), Tr("Could not open"),
                                  MB_OK | MB_SYSTEMMODAL | MB_TOPMOST);
        return 0;
    }
    CatalogueReading reading = ReadMessageCatalogue(DecodeTextFile(*text));
    healthMessages = std::move(reading.catalogue.health);
    timeBreakMessages = std::move(reading.catalogue.timeBreaks);
    sleepMessages = std::move(reading.catalogue.sleep);
    if (reading.unknownWord)
        m_platform.WriteDiagnostic(UnknownIdentifierLine(*reading.unknownWord));
    return 1;
}

void CTavrinDlg::OnStartStop(StopCause cause)
{
    if (LoadMessages() == 0 || Ended())
        return;
    g_nIdleTimeMs = 0;
    LoadSaveSettings(0);
    if (Ended())
        return;
    if (!g_bRunning) {
        const int interval = CheckedButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER);
        if (!IntervalAllowsStart(interval, ItemText(IDC_MAIN_OTHER_MINUTES))) {
            m_platform.ShowMessageBox(Hwnd(), Tr("You must specify an interval >= 1"), Tr("Kelvaro WARNING!!!"),
                                      MB_OK | MB_ICONINFORMATION);
            return;
        }
        // A box of a failed load waits until the timers run, so the time it stays open is counted by the idle rule.
        const CDeferredBoxes::Hold hold(m_fileBoxes);
        StartCountingActiveTime();
        if (g_pSettingsDlg)
            g_nBreakCountdown = CountdownSeconds(g_pSettingsDlg->ItemText(IDC_SETTINGS_WAIT_SECONDS));
        g_bRunning = true;
        SetItemText(IDC_MAIN_START_STOP, Tr("Stop"));
        LockChoices(true);
        ArmTimers();
        m_quiet.OnStart(Hwnd());
        m_rules.OnStart(MomentNow(true), TakeBreakChoices());
        // Shown from the first tick on, as the count is.
        m_quiet.SetWorkingHoursLine(m_rules.OutsideWorkingHoursLine(m_platform.Now()));
    } else {
        KillTimers();
        m_quiet.OnStop(cause);
        m_rules.OnStop(cause, MomentNow(false));
        m_eyeBreaks.Close();
        m_quiet.SetWorkingHoursLine(std::nullopt);
        FollowRules();
        if (EffectsOfStop(cause).forgetsWaitingShutdown)
            g_shutdownSchedule.ForgetWaitingTime();
        g_bRunning = false;
        LockChoices(false);
        SetItemText(IDC_MAIN_START_STOP, Tr("Start"));
        RefreshTooltip();
        LoadSaveActiveTime(0);
    }
}

BreakChoices CTavrinDlg::TakeBreakChoices()
{
    BreakChoices choices;
    choices.eyeBreakMinutes = m_eyeBreaks.OnStart(Hwnd());
    if (g_pSettingsDlg) {
        const WorkdayChoices workday = g_pSettingsDlg->TakeWorkdayChoices();
        choices.workingHours = workday.workingHours;
        choices.dailyLimitMinutes = workday.dailyLimitMinutes;
    }
    return choices;
}

CDialog* CTavrinDlg::LockedWindowDialog(int window) const
{
    switch (static_cast<LockedWindow>(window)) {
    case LockedWindow::Settings:
        return g_pSettingsDlg;
    case LockedWindow::SetTime:
        return g_pShutdownDlg;
    default:
        return const_cast<CTavrinDlg*>(this);
    }
}

void CTavrinDlg::LockChoices(bool locked)
{
    const int interval = CheckedButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER);
    for (const LockedControl& control : ControlsLockedWhileRunning()) {
        CDialog* dialog = LockedWindowDialog(static_cast<int>(control.window));
        if (dialog && dialog->Hwnd())
            dialog->EnableItem(control.id, !locked && EnabledAfterStop(control, interval));
    }
}

void CTavrinDlg::ArmTimers()
{
    m_nFrequence = CheckedButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER);
    const TimerChoices choices{IsChecked(IDC_MAIN_HEALTH_TIPS), IsChecked(IDC_MAIN_TIME_BREAKS),
                               IsChecked(IDC_MAIN_SLEEP_MESSAGES), IsChecked(IDC_MAIN_SHUTDOWN)};
    const auto timers = PlanTimers(m_nFrequence, LeadingNumber(ItemText(IDC_MAIN_OTHER_MINUTES)), choices);
    for (const TimerArming& timer : timers)
        m_platform.SetWindowTimer(Hwnd(), timer.id, static_cast<UINT>(timer.periodMs));
}

void CTavrinDlg::KillTimers()
{
    for (unsigned id : TimersRemovedAtStop())
        m_platform.KillWindowTimer(Hwnd(), id);
}

void CTavrinDlg::OnTimer(UINT_PTR id)
{
    if (id == kBreakCountdownTimer) {
        OnBreakCountdownTick();
    } else if (id == kActivityTimer) {
        OnActivityTick();
    } else if (id == kSaveTimeFilesTimer) {
        OnSaveTimeFilesTick();
    } else if (id == kShutdownCheckTimer) {
        CheckShutdownTime();
    } else if (id == kQuietCheckTimer) {
        OnQuietCheckTick();
    } else if (id == kBreakHeadsUpTimer) {
        OnHeadsUpTick();
    } else if (id == kPauseEndTimer) {
        if (m_quiet.OnPauseEndTick())
            RefreshTooltip();
    } else if (id == kHideToTrayTimer) {
        // A message box during initialisation runs its own loop; hiding then would be undone when
        // the dialog manager shows the finished window, so the timer simply ticks again later.
        if (!m_bInitialised)
            return;
        m_platform.KillWindowTimer(Hwnd(), kHideToTrayTimer);
        HideToTray();
    } else {
        OnMessageTick(id);
    }
}
