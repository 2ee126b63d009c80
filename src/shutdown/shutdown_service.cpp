#include "shutdown/shutdown_service.h"

#include "activity/calendar.h"
#include "language/translation.h"

bool g_bShutdownAsking = false;
ShutdownSchedule g_shutdownSchedule;

namespace {

constexpr std::int64_t kMinuteSeconds = 60;

// Time zones differ from UTC by whole minutes, so a local minute ends where the UTC minute does.
std::int64_t EndOfMinute(std::int64_t time)
{
    const std::int64_t intoMinute = ((time % kMinuteSeconds) + kMinuteSeconds) % kMinuteSeconds;
    return time - intoMinute + kMinuteSeconds;
}

} // namespace

bool IsShutdownDue(const TimeOfDay& now, const TimeOfDay& chosen)
{
    return now.hour >= 0 && now.hour == chosen.hour && now.minute == chosen.minute && now.second >= chosen.second;
}

SessionEndRequest PlanSessionEnd(int action, bool windowsNT)
{
    switch (action) {
    case kActionLogOff:
        return {kEndSessionLogOff, false};
    case kActionReboot:
        return {kEndSessionReboot, windowsNT};
    case kActionPowerOff:
        return {kEndSessionPowerOff, windowsNT};
    default:
        return {kEndSessionShutdown, windowsNT};
    }
}

std::string ShutdownQuestion(int action)
{
    // A whole sentence for each action: other languages put the verb elsewhere.
    const char* question = nullptr;
    switch (action) {
    case kActionLogOff:
        question = Tr("Do you want to Log Off your system?\n\nThis warning will be repeated every 5 minutes");
        break;
    case kActionReboot:
        question = Tr("Do you want to Reboot your system?\n\nThis warning will be repeated every 5 minutes");
        break;
    case kActionPowerOff:
        question = Tr("Do you want to Power off your system?\n\nThis warning will be repeated every 5 minutes");
        break;
    default:
        question = Tr("Do you want to Shutdown your system?\n\nThis warning will be repeated every 5 minutes");
        break;
    }
    // A box's lines end in CR LF.
    std::string text;
    for (const char* c = question; *c != '\0'; ++c) {
        if (*c == '\n')
            text += '\r';
        text += *c;
    }
    return text;
}

std::string SessionEndRefusedMessage(int action)
{
    switch (action) {
    case kActionLogOff:
        return Tr("Kelvaro could not log off.");
    case kActionReboot:
        return Tr("Kelvaro could not restart the computer.");
    case kActionPowerOff:
        return Tr("Kelvaro could not power off the computer.");
    default:
        return Tr("Kelvaro could not shut down the computer.");
    }
}

ShutdownStep ShutdownSchedule::OnTick(const ShutdownMoment& now, const TimeOfDay& chosen, bool warningOn,
                                      const std::function<bool()>& mustWait)
{
    if (g_bShutdownAsking)
        return ShutdownStep::Nothing;
    std::optional<std::int64_t> dueAt;
    if (m_postponedAt) {
        const std::int64_t minuteEnd = EndOfMinute(*m_postponedAt);
        if (now.time >= *m_postponedAt && now.time < minuteEnd)
            dueAt = *m_postponedAt;
        // Missed while asleep, or the clock was set back past the answer: the chosen time rules again.
        else if (now.time >= minuteEnd || now.time < m_nPostponedSince)
            m_postponedAt.reset();
    }
    const bool quiet = now.time >= m_nQuietFrom && now.time < m_nQuietUntil;
    if (!m_postponedAt && !quiet && IsShutdownDue(now.local, chosen))
        dueAt = now.time - (now.local.second - chosen.second);
    // A time that waited for the user belongs to its day: the next morning it is not carried out.
    if (m_waitingDueAt && LocalDate(*m_waitingDueAt) != LocalDate(now.time))
        m_waitingDueAt.reset();
    if (!dueAt)
        dueAt = m_waitingDueAt;
    if (!dueAt)
        return ShutdownStep::Nothing;
    if (mustWait && mustWait()) {
        m_waitingDueAt = dueAt;
        return ShutdownStep::Nothing;
    }
    m_waitingDueAt.reset();
    m_nDueAt = *dueAt;
    g_bShutdownAsking = true;
    return warningOn ? ShutdownStep::Ask : ShutdownStep::Act;
}

void ShutdownSchedule::Postpone(const ShutdownMoment& answered)
{
    const std::int64_t fromDue = m_nDueAt + kPostponementSeconds;
    m_postponedAt = answered.time < fromDue ? fromDue : answered.time + kPostponementSeconds;
    m_nPostponedSince = answered.time;
    g_bShutdownAsking = false;
}

void ShutdownSchedule::CarriedOut()
{
    m_postponedAt.reset();
    // Until the due minute ends the chosen time is still due; once is enough.
    m_nQuietFrom = m_nDueAt;
    m_nQuietUntil = EndOfMinute(m_nDueAt);
    g_bShutdownAsking = false;
}
