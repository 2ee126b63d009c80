#include "messages/reminder_gate.h"

#include "activity/calendar.h"
#include "messages/message_scheduler.h"

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

bool Away(const Moment& moment)
{
    return moment.settings.naturalBreaks && !moment.busy && moment.idleMs >= kAwayAfterMs;
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
    char text[40];
    std::snprintf(text, sizeof text, "Reminders paused until %02d:%02d", end.hour, end.minute);
    return text;
}

GateVerdict ReminderGate::OnDue(ReminderKind kind, const Moment& moment)
{
    if (Paused(moment.now) || Away(moment))
        return GateVerdict::Drop;
    if (!moment.settings.holdWhenBusy || !moment.busy)
        return GateVerdict::Give;
    if (kind == ReminderKind::LongActivity)
        m_bHeldWarning = true;
    else if (kind != ReminderKind::HealthTip)
        m_heldMessage = kind;
    return GateVerdict::Hold;
}

std::optional<ReminderKind> ReminderGate::OnQuietCheck(bool wasBusy, const Moment& moment)
{
    if (!wasBusy || moment.busy)
        return std::nullopt;
    // A clock that can't be read gives -1, outside both windows.
    const TimeOfDay local = LocalTimeOfDay(moment.now).value_or(TimeOfDay{-1, -1, -1});
    std::optional<ReminderKind> given;
    if (!Paused(moment.now) && !Away(moment)) {
        if (m_heldMessage && InsideTimeWindow(*m_heldMessage, local.hour, local.minute))
            given = m_heldMessage;
        else if (m_bHeldWarning)
            given = ReminderKind::LongActivity;
    }
    LetGo();
    return given;
}

bool ReminderGate::OnActivity(std::int64_t idleMs, bool busy, const GateSettings& settings)
{
    const bool cameBack = idleMs < m_nPreviousIdleMs;
    const bool wasBreak = cameBack && m_nPreviousIdleMs >= kNaturalBreakMs && !m_bBusyWhileIdle;
    if (cameBack)
        m_bBusyWhileIdle = false;
    // A call listened to or a film watched without touching anything is not time away.
    if (busy && idleMs >= kAwayAfterMs)
        m_bBusyWhileIdle = true;
    m_nPreviousIdleMs = idleMs;
    return wasBreak && settings.naturalBreaks;
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

bool ReminderGate::Paused(std::int64_t now)
{
    return PausedUntil(now).has_value();
}

void ReminderGate::LetGo()
{
    m_heldMessage.reset();
    m_bHeldWarning = false;
}

bool ShutdownMustWait(bool presentingOrInCall, const GateSettings& settings)
{
    return settings.holdWhenBusy && presentingOrInCall;
}

bool HeadsUpBeforeBreak(const GateSettings& settings)
{
    return settings.holdWhenBusy || settings.naturalBreaks;
}
