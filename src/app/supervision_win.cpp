// Start and Stop of supervision, the message catalogue it reloads, and the timers it drives.
#include "app/main_window_win.h"

#include "activity/calendar.h"
#include "activity/counter_state.h"
#include "app/timer_plan.h"
#include "breaks/break_state.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "messages/message_catalogue.h"
#include "platform/platform_win.h"
#include "platform/text_decoding.h"
#include "resources/resource_ids.h"
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
    if (g_bRunning) {
        StopSupervision(cause);
        return;
    }
    LoadSaveSettings(0);
    if (Ended())
        return;
    if (!IntervalAllowsStart(m_settings.interval, m_settings.otherTime)) {
        m_platform.ShowMessageBox(Hwnd(), Tr("You must specify an interval >= 1"), Tr("Kelvaro WARNING!!!"),
                                  MB_OK | MB_ICONINFORMATION);
        return;
    }
    // A box of a failed load waits until the timers run, so the time it stays open is counted by the idle rule.
    const CDeferredBoxes::Hold hold(m_fileBoxes);
    StartCountingActiveTime();
    m_rules.OnStart(MomentNow(true), TakeBreakChoices(m_settings));
    SetItemText(IDC_MAIN_START_STOP, Tr("Stop"));
    ShowSettings();
    ShowLocks();
    ArmTimers();
    // Shown from the first tick on, as the count is.
    m_quiet.SetWorkingHoursLine(m_rules.OutsideWorkingHoursLine(m_platform.Now()));
    RegisterShortcuts(ShortcutOccasion::Start);
}

void CTavrinDlg::StopSupervision(StopCause cause)
{
    KillTimers();
    m_quiet.OnStop(cause);
    m_rules.OnStop(cause, MomentNow(false));
    m_eyeBreaks.Close();
    m_quiet.SetWorkingHoursLine(std::nullopt);
    FollowRules();
    if (EffectsOfStop(cause).forgetsWaitingShutdown)
        g_shutdownSchedule.ForgetWaitingTime();
    // Written once the Stop has ended what it ends: a pause it ended never comes back after a crash.
    LoadSaveSettings(0);
    if (Ended())
        return;
    ShowLocks();
    SetItemText(IDC_MAIN_START_STOP, Tr("Start"));
    RefreshTooltip();
    LoadSaveActiveTime(0);
}

void CTavrinDlg::ArmTimers()
{
    m_nFrequence = m_settings.interval;
    const TimerChoices choices{m_settings.healthMsg, m_settings.timeBreakMsg, m_settings.sleepMsg, m_settings.shutdown};
    const auto timers = PlanTimers(m_nFrequence, LeadingNumber(m_settings.otherTime), choices);
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
