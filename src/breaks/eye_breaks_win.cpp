#include "breaks/eye_breaks_win.h"

#include "app/main_window_win.h"
#include "breaks/forced_break_dialog_win.h"
#include "history/break_history.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "settings/settings_file.h"

#include <string>
#include <utility>

void CEyeBreaks::OnStart(HWND owner)
{
    m_owner = owner;
    CSetting* settings = g_pSettingsDlg;
    m_bOn = settings && settings->IsChecked(IDC_SETTINGS_EYE_BREAKS);
    if (!m_bOn)
        return;
    const int minutes = EyeBreakMinutes(settings->ItemText(IDC_SETTINGS_EYE_BREAK_MINUTES));
    settings->SetItemText(IDC_SETTINGS_EYE_BREAK_MINUTES, std::to_string(minutes));
    m_timer.Start(m_platform.TickCount(), minutes);
}

void CEyeBreaks::OnStop()
{
    m_bOn = false;
    m_popup.Close();
}

std::vector<ReminderKind> CEyeBreaks::OnActivityTick(CQuietKeeper& quiet, bool headsUpShown, CBreakHistory& record)
{
    if (!m_bOn)
        return {};
    const std::uint32_t tick = m_platform.TickCount();
    const std::optional<std::uint32_t> lastInput = m_platform.LastInputTick();
    // A last input the system can't tell counts as work, as it does for the day's count.
    const std::int64_t idleMs = lastInput ? static_cast<std::int32_t>(tick - *lastInput) : 0;
    const bool breakOnScreen = (g_pForceBreakDlg && g_pForceBreakDlg->IsVisible()) || headsUpShown;
    EyeBreakStep step = m_timer.OnTick({tick, idleMs, quiet.BusyAtLastReading(), quiet.Paused(), breakOnScreen});
    if (step.event == EyeBreakEvent::Offered)
        record.Count(BreakEvent::EyeBreakOffered);
    else if (step.event == EyeBreakEvent::Taken)
        record.Count(BreakEvent::EyeBreakTaken);
    if (!step.shown)
        m_popup.Close();
    else if (!m_popup.Hwnd())
        m_popup.Show(m_owner, step.secondsLeft);
    else
        m_popup.ShowCount(step.secondsLeft);
    return std::move(step.released);
}

bool CEyeBreaks::Defer(ReminderKind kind)
{
    return m_bOn && m_timer.Defer(kind);
}

void CEyeBreaks::OnReminderGiven()
{
    if (m_bOn)
        m_timer.OnReminderGiven(m_platform.TickCount());
}
