#include "messages/quiet_keeper_win.h"

#include "app/timer_plan.h"
#include "breaks/break_coordinator.h"
#include "breaks/eye_break.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"
#include "language/text_format.h"
#include "settings/settings_model.h"

#include <algorithm>
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

} // namespace

Moment CQuietKeeper::ReadMoment()
{
    // The system is asked only while it matters; the choice may change at any moment.
    m_state = m_settings.holdWhenBusy ? m_platform.ReadQuietState() : QuietState{};
    return LastMoment();
}

void CQuietKeeper::OnStop(StopCause cause)
{
    if (EffectsOfStop(cause).endsPause)
        m_platform.KillWindowTimer(m_owner, kPauseEndTimer);
}

Moment CQuietKeeper::LastMoment() const
{
    Moment moment;
    moment.now = m_platform.Now();
    moment.tick = m_platform.TickCount();
    if (const std::optional<std::uint32_t> lastInput = m_platform.LastInputTick())
        moment.idleMs = static_cast<std::int32_t>(moment.tick - *lastInput);
    moment.busy = m_state.Busy();
    moment.settings = {m_settings.holdWhenBusy, m_settings.naturalBreaks};
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

std::optional<std::int64_t> CQuietKeeper::PausedUntil() const
{
    return m_rules.Pause().RunsUntil(m_platform.Now());
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
    m_platform.KillWindowTimer(m_owner, kPauseEndTimer);
    return true;
}

void CQuietKeeper::PrepareTrayMenu(HMENU menu, bool running) const
{
    EnableMenuItem(menu, kPauseSubmenuPosition, MF_BYPOSITION | (running ? MF_ENABLED : MF_GRAYED));
    if (!PausedUntil()) {
        DeleteMenu(menu, ID_TRAY_RESUME, MF_BYCOMMAND);
    } else if (const std::optional<PauseChoice> choice = m_rules.Pause().Choice(m_platform.Now())) {
        const auto chosen = std::find(std::begin(kPauseChoices), std::end(kPauseChoices), *choice);
        CheckMenuRadioItem(menu, kPauseCommands[0], kPauseCommands[std::size(kPauseCommands) - 1],
                           kPauseCommands[chosen - std::begin(kPauseChoices)], MF_BYCOMMAND);
    }
}

bool CQuietKeeper::OnTrayCommand(int command)
{
    if (command == ID_TRAY_RESUME) {
        m_rules.Resume();
        m_platform.KillWindowTimer(m_owner, kPauseEndTimer);
        return true;
    }
    const auto found = std::find(std::begin(kPauseCommands), std::end(kPauseCommands), command);
    if (found == std::end(kPauseCommands))
        return false;
    const PauseChoice choice = kPauseChoices[found - std::begin(kPauseCommands)];
    StartPause(PauseEnd(choice, m_platform.Now()), choice);
    return true;
}

void CQuietKeeper::RestorePause(std::int64_t until)
{
    if (until > m_platform.Now())
        StartPause(until, std::nullopt);
}

void CQuietKeeper::StartPause(std::int64_t until, std::optional<PauseChoice> choice)
{
    m_rules.Pause(until, choice);
    ArmPauseEndTimer(until);
    FillTextInto(m_pauseLine, sizeof m_pauseLine, "%s", {PausedUntilText(until)});
}

void CQuietKeeper::SetWorkingHoursLine(const std::optional<std::string>& line)
{
    FillTextInto(m_workingHoursLine, sizeof m_workingHoursLine, "%s", {line.value_or(std::string())});
}

std::string_view CQuietKeeper::Tooltip(std::string_view countTooltip)
{
    const char* line = PausedUntil() ? m_pauseLine : m_workingHoursLine;
    if (*line == '\0')
        return countTooltip;
    FillTextInto(m_tooltip, sizeof m_tooltip, "%s\n%s", {countTooltip, line});
    return m_tooltip;
}
