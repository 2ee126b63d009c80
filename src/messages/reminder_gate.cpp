#include "messages/reminder_gate.h"

#include "activity/calendar.h"
#include "messages/message_scheduler.h"

#include <algorithm>

namespace {

// The warning and the daily limit tell of the count, which is right at any hour.
bool HasTimeWindow(ReminderKind kind)
{
    return kind != ReminderKind::LongActivity && kind != ReminderKind::DailyLimit && kind != ReminderKind::Bedtime;
}

bool InsideTimeWindow(ReminderKind kind, int hour, int minute)
{
    return IsNightWindow(hour, minute) == (kind == ReminderKind::GoToBed);
}

} // namespace

void ReminderGate::See(const Moment& moment)
{
    if (m_bBusyAtLastReading && !moment.busy)
        m_bSpellEnded = true;
    // Busy again before the quiet check came: the spell goes on.
    if (moment.busy)
        m_bSpellEnded = false;
    m_bBusyAtLastReading = moment.busy;
}

GateVerdict ReminderGate::Verdict(const Moment& moment)
{
    See(moment);
    if (Paused(moment.now) || Away(moment))
        return GateVerdict::Drop;
    if (!moment.settings.holdWhenBusy || !moment.busy)
        return GateVerdict::Give;
    return GateVerdict::Hold;
}

GateVerdict ReminderGate::OnDue(ReminderKind kind, const Moment& moment)
{
    const GateVerdict verdict = Verdict(moment);
    // Held again, a kind becomes the most recent; given, it makes the held one of its kind needless.
    if (verdict != GateVerdict::Drop)
        std::erase(m_held, kind);
    if (verdict == GateVerdict::Hold && kind != ReminderKind::HealthTip)
        m_held.push_back(kind);
    return verdict;
}

GateVerdict ReminderGate::OnEmptyListBoxesDue(const Moment& moment)
{
    const GateVerdict verdict = Verdict(moment);
    if (verdict != GateVerdict::Drop)
        m_bHeldEmptyListBoxes = verdict == GateVerdict::Hold;
    return verdict;
}

HeldRelease ReminderGate::OnQuietCheck(const Moment& moment)
{
    See(moment);
    if (!m_bSpellEnded)
        return {};
    m_bSpellEnded = false;
    HeldRelease release;
    if (!Paused(moment.now) && !Away(moment)) {
        // A clock that can't be read gives -1, outside both windows.
        const TimeOfDay local = LocalTimeOfDay(moment.now).value_or(TimeOfDay{-1, -1, -1});
        const auto fits = [&local](ReminderKind kind) {
            return !HasTimeWindow(kind) || InsideTimeWindow(kind, local.hour, local.minute);
        };
        const auto latest = std::find_if(m_held.rbegin(), m_held.rend(), fits);
        if (latest != m_held.rend())
            release.reminder = *latest;
        release.emptyListBoxes = m_bHeldEmptyListBoxes;
    }
    LetGo();
    return release;
}

void ReminderGate::Pause(std::int64_t until, std::optional<PauseChoice> choice)
{
    m_pause.Start(until, choice);
    // The user chose the quiet: nothing held back comes when the pause ends either.
    LetGo();
}

void ReminderGate::Resume()
{
    m_pause.End();
    LetGo();
}

void ReminderGate::LetGoOfHeld()
{
    LetGo();
    m_bBusyAtLastReading = false;
    m_bSpellEnded = false;
}

bool ReminderGate::Paused(std::int64_t now) const
{
    return m_pause.RunsUntil(now).has_value();
}

bool ReminderGate::Away(const Moment& moment) const
{
    return moment.settings.naturalBreaks && !moment.busy && moment.idleMs >= kAwayAfterMs;
}

void ReminderGate::LetGo()
{
    m_held.clear();
    m_bHeldEmptyListBoxes = false;
}

bool ShutdownMustWait(const QuietState& state, const GateSettings& settings)
{
    return settings.holdWhenBusy && (state.PresentingOrInCall() || state.fullScreen);
}

bool HeadsUpBeforeBreak(const GateSettings& settings)
{
    return settings.holdWhenBusy || settings.naturalBreaks;
}
