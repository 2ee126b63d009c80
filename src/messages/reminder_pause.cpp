#include "messages/reminder_pause.h"

#include "activity/calendar.h"
#include "language/text_format.h"
#include "language/translation.h"

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr int kMorningHour = 6;
constexpr int kMinutesPerHour = 60;

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
    return FillText(Tr("Reminders paused until %s"), {FormatClockTime(end.hour * kMinutesPerHour + end.minute)});
}

void ReminderPause::Start(std::int64_t until, std::optional<PauseChoice> choice)
{
    m_end = until;
    m_choice = choice;
}

void ReminderPause::End()
{
    m_end.reset();
    m_choice.reset();
}

std::optional<std::int64_t> ReminderPause::RunsUntil(std::int64_t now) const
{
    if (m_end && now < *m_end)
        return m_end;
    return std::nullopt;
}

std::optional<PauseChoice> ReminderPause::Choice(std::int64_t now) const
{
    return RunsUntil(now) ? m_choice : std::nullopt;
}
