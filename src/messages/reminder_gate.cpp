#include "messages/reminder_gate.h"

#include "activity/calendar.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "messages/message_scheduler.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr int kMorningHour = 6;

std::int64_t PauseSeconds(PauseChoice choice)
{
    switch (choice) {
    case PauseChoice::ThirtyMinutes:
        return 30 * kSecondsPerMinute;
    case PauseChoice::OneHour:
        return 60 * kSecondsPerMinute;
    default:
        return 120 * kSecondsPerMinute;
    }
}

// The warning and the daily limit tell of the count, which is right at any hour.
bool HasTimeWindow(ReminderKind kind)
{
    return kind != ReminderKind::LongActivity && kind != ReminderKind::DailyLimit;
}

bool InsideTimeWindow(ReminderKind kind, int hour, int minute)
{
    return IsNightWindow(hour, minute) == (kind == ReminderKind::GoToBed);
}

} // namespace

std::int64_t PauseEnd(PauseChoice choice, std::int64_t now)
{
    if (choice != PauseChoice::UntilMorning)
        return now + PauseSeconds(choice);
    const std::optional<CivilDate> today = LocalDate(now);
    if (!today)
        return now + PauseSeconds(PauseChoice::TwoHours);
    // A morning the system can't convert gives -1: a pause already over.
    const std::int64_t thisMorning = LocalTimeAt(*today, 0, kMorningHour).value_or(-1);
    return now < thisMorning ? thisMorning : LocalTimeAt(*today, 1, kMorningHour).value_or(-1);
}

std::string PausedUntilText(std::int64_t pauseEnd)
{
    const TimeOfDay end = LocalTimeOfDay(pauseEnd).value_or(TimeOfDay{});
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", end.hour, end.minute);
    return FillText(Tr("Reminders paused until %s"), {time});
}

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

void ReminderGate::Pause(std::int64_t until)
{
    m_pauseEnd = until;
}

void ReminderGate::Resume()
{
    m_pauseEnd.reset();
    LetGo();
}

std::optional<std::int64_t> ReminderGate::PausedUntil(std::int64_t now)
{
    if (m_pauseEnd && now >= *m_pauseEnd)
        Resume();
    return m_pauseEnd;
}

std::optional<std::int64_t> ReminderGate::PauseRunsUntil(std::int64_t now) const
{
    if (m_pauseEnd && now < *m_pauseEnd)
        return m_pauseEnd;
    return std::nullopt;
}

void ReminderGate::LetGoOfHeld()
{
    LetGo();
    m_bBusyAtLastReading = false;
    m_bSpellEnded = false;
}

bool ReminderGate::Paused(std::int64_t now)
{
    return PausedUntil(now).has_value();
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
