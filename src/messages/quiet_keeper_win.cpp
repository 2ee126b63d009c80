#include "messages/quiet_keeper_win.h"

#include "app/main_window_win.h"
#include "app/timer_plan.h"
#include "breaks/break_coordinator.h"
#include "breaks/eye_break.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// The tray's pause entries, in the order of the choices.
constexpr int kPauseCommands[] = {ID_TRAY_PAUSE_30_MINUTES, ID_TRAY_PAUSE_1_HOUR, ID_TRAY_PAUSE_2_HOURS,
                                  ID_TRAY_PAUSE_UNTIL_MORNING};
constexpr PauseChoice kPauseChoices[] = {PauseChoice::ThirtyMinutes, PauseChoice::OneHour, PauseChoice::TwoHours,
                                         PauseChoice::UntilMorning};
// The position of "Pause reminders" in the tray menu.
constexpr UINT kPauseSubmenuPosition = 2;
// A window timer's longest period (USER_TIMER_MAXIMUM), some 24 days.
constexpr std::int64_t kLongestTimerMs = 0x7FFFFFFF;

// The choices live in the Settings dialog's check boxes, read when they are needed.
GateSettings CurrentGateSettings()
{
    GateSettings settings;
    if (const CSetting* dialog = g_pSettingsDlg) {
        settings.holdWhenBusy = dialog->IsChecked(IDC_SETTINGS_HOLD_WHEN_BUSY);
        settings.naturalBreaks = dialog->IsChecked(IDC_SETTINGS_NATURAL_BREAKS);
    }
    return settings;
}

} // namespace

void CQuietKeeper::OnStart(HWND owner)
{
    m_owner = owner;
}

Moment CQuietKeeper::ReadMoment()
{
    // The system is asked only while it matters; the choice may change at any moment.
    m_state = CurrentGateSettings().holdWhenBusy ? m_platform.ReadQuietState() : QuietState{};
    return LastMoment();
}

void CQuietKeeper::OnStop(StopCause cause)
{
    if (EffectsOfStop(cause).endsPause) {
        m_pauseChoice.reset();
        m_bPauseRunning = false;
        m_platform.KillWindowTimer(m_owner, kPauseEndTimer);
    }
}

Moment CQuietKeeper::LastMoment() const
{
    Moment moment;
    moment.now = m_platform.Now();
    moment.tick = m_platform.TickCount();
    if (const std::optional<std::uint32_t> lastInput = m_platform.LastInputTick())
        moment.idleMs = static_cast<std::int32_t>(moment.tick - *lastInput);
    moment.busy = m_state.Busy();
    moment.settings = CurrentGateSettings();
    // Asked only of a spell long enough to matter, so that work costs no call.
    moment.displayRequired = moment.idleMs >= kLookAwayMs && m_platform.DisplayRequired();
    return moment;
}

bool CQuietKeeper::ShutdownMustWait()
{
    const Moment moment = ReadMoment();
    m_rules.See(moment);
    return ::ShutdownMustWait(m_state, moment.settings);
}

std::optional<std::int64_t> CQuietKeeper::PausedUntil()
{
    const std::optional<std::int64_t> until = m_rules.PausedUntil(m_platform.Now());
    if (!until && m_bPauseRunning) {
        m_pauseChoice.reset();
        m_bPauseRunning = false;
        m_platform.KillWindowTimer(m_owner, kPauseEndTimer);
    }
    return until;
}

void CQuietKeeper::ArmPauseEndTimer(std::int64_t until)
{
    // A second late rather than early: the timer's ticks and the clock's seconds don't line up.
    const std::int64_t ms = std::clamp<std::int64_t>((until - m_platform.Now() + 1) * 1000, 1000, kLongestTimerMs);
    m_platform.SetWindowTimer(m_owner, kPauseEndTimer, static_cast<UINT>(ms));
}

bool CQuietKeeper::OnPauseEndTick()
{
    // Left running, a timer that fires early (the clock was set, the computer slept) ends the pause on time.
    if (const std::optional<std::int64_t> until = PausedUntil()) {
        ArmPauseEndTimer(*until);
        return false;
    }
    return true;
}

void CQuietKeeper::PrepareTrayMenu(HMENU menu, bool running)
{
    EnableMenuItem(menu, kPauseSubmenuPosition, MF_BYPOSITION | (running ? MF_ENABLED : MF_GRAYED));
    if (!PausedUntil()) {
        DeleteMenu(menu, ID_TRAY_RESUME, MF_BYCOMMAND);
    } else if (m_pauseChoice) {
        const auto chosen = std::find(std::begin(kPauseChoices), std::end(kPauseChoices), *m_pauseChoice);
        CheckMenuRadioItem(menu, kPauseCommands[0], kPauseCommands[std::size(kPauseCommands) - 1],
                           kPauseCommands[chosen - std::begin(kPauseChoices)], MF_BYCOMMAND);
    }
}

bool CQuietKeeper::OnTrayCommand(int command)
{
    if (command == ID_TRAY_RESUME) {
        m_pauseChoice.reset();
        m_bPauseRunning = false;
        m_rules.Resume();
        m_platform.KillWindowTimer(m_owner, kPauseEndTimer);
        return true;
    }
    const auto found = std::find(std::begin(kPauseCommands), std::end(kPauseCommands), command);
    if (found == std::end(kPauseCommands))
        return false;
    m_pauseChoice = kPauseChoices[found - std::begin(kPauseCommands)];
    StartPause(PauseEnd(*m_pauseChoice, m_platform.Now()));
    return true;
}

void CQuietKeeper::RestorePause(HWND owner, std::int64_t until)
{
    if (until <= m_platform.Now())
        return;
    m_owner = owner;
    m_pauseChoice.reset();
    StartPause(until);
}

void CQuietKeeper::StartPause(std::int64_t until)
{
    m_rules.Pause(until);
    m_bPauseRunning = true;
    ArmPauseEndTimer(until);
    const std::string line = PausedUntilText(until);
    std::snprintf(m_pauseLine, sizeof m_pauseLine, "%s", line.c_str());
}

std::optional<std::int64_t> CQuietKeeper::PauseToKeep() const
{
    return m_rules.PauseRunsUntil(m_platform.Now());
}

void CQuietKeeper::SetWorkingHoursLine(const std::optional<std::string>& line)
{
    std::snprintf(m_workingHoursLine, sizeof m_workingHoursLine, "%s", line ? line->c_str() : "");
}

std::string_view CQuietKeeper::Tooltip(std::string_view countTooltip)
{
    const char* line = PausedUntil() ? m_pauseLine : m_workingHoursLine;
    if (*line == '\0')
        return countTooltip;
    std::snprintf(m_tooltip, sizeof m_tooltip, "%.*s\n%s", static_cast<int>(countTooltip.size()), countTooltip.data(),
                  line);
    return m_tooltip;
}
