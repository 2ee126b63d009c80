#pragma once
// When the scheduled end of the session is due, what to ask, what to request of the system,
// and when to ask again after a "No". The shell reads the clock and the controls and acts.

#include "activity/calendar.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The Set Time dialog's action buttons, which name the chosen action.
constexpr int kActionShutdown = 1021;
constexpr int kActionLogOff = 1022;
constexpr int kActionReboot = 1023;
constexpr int kActionPowerOff = 1024;

// The system's session-end flags (never the forcing one: a program may still refuse to close).
constexpr unsigned kEndSessionLogOff = 0;
constexpr unsigned kEndSessionShutdown = 1;
constexpr unsigned kEndSessionReboot = 2;
constexpr unsigned kEndSessionPowerOff = 8;
// The reason given with every request: "other", minor "reconfiguration".
constexpr unsigned kEndSessionReason = 4;

constexpr std::int64_t kPostponementSeconds = std::int64_t{5} * 60;

// Set while the service handles a due time, so that ticks arriving while its question is open do nothing.
extern bool g_bShutdownAsking;

// A tick's time: seconds since 1970 UTC, and the local time of day (each -1 when the clock can't be read).
struct ShutdownMoment {
    std::int64_t time = 0;
    TimeOfDay local;
};

// The chosen time is due from its second to the end of its minute.
bool IsShutdownDue(const TimeOfDay& now, const TimeOfDay& chosen);

struct SessionEndRequest {
    unsigned flags = kEndSessionShutdown;
    // Whether the process's shutdown privilege is enabled around the request.
    bool adjustPrivilege = false;
};

// The request for an action; logging off needs no privilege, and only Windows NT has privileges at all.
SessionEndRequest PlanSessionEnd(int action, bool windowsNT);
// The question asked before an action when the warning is on.
std::string ShutdownQuestion(int action);
// What the user is told when the system refuses the request.
std::string SessionEndRefusedMessage(int action);

enum class ShutdownStep { Nothing, Ask, Act };

// The service's memory between ticks. A "No" (or a refused request) postpones the next question
// without touching the time the user chose; the postponement ends when the action is carried out,
// when the user confirms a time, or when its minute has passed unanswered (a night asleep), and
// the chosen time applies again.
class ShutdownSchedule {
public:
    // What a tick finds to do; Ask and Act set g_bShutdownAsking until the outcome is told. A time
    // that falls due while the user must not be interrupted (a presentation, a call) waits, and is
    // asked for or acted on at the first tick after on the same day. Whether it must wait is asked
    // only of a time that is due, at that tick.
    ShutdownStep OnTick(const ShutdownMoment& now, const TimeOfDay& chosen, bool warningOn,
                        const std::function<bool()>& mustWait = {});
    // A "No", or a refused request: asks again five minutes after the time that was due, or
    // five minutes after the answer when that time has already passed.
    void Postpone(const ShutdownMoment& answered);
    // The system took the request: the chosen time applies again, after the minute acted in.
    void CarriedOut();
    // The user confirmed a time, which replaces any postponement.
    void ForgetPostponement() { m_postponedAt.reset(); }
    // Supervision stopped, by the user or a sleep: a time that waited for the user is not acted on
    // at the next Start.
    void ForgetWaitingTime() { m_waitingDueAt.reset(); }

    // The time the next question is postponed to, if any, in seconds since 1970 UTC.
    std::optional<std::int64_t> PostponedAt() const { return m_postponedAt; }

private:
    std::optional<std::int64_t> m_postponedAt;
    // The time that fell due while the user was not to be interrupted.
    std::optional<std::int64_t> m_waitingDueAt;
    // Before it, and after the moment the postponement was made, the postponed time is not yet due.
    std::int64_t m_nPostponedSince = 0;
    // The time that was due when the current question was asked.
    std::int64_t m_nDueAt = 0;
    // The minute an action was carried out in, during which the chosen time is not due again.
    std::int64_t m_nQuietFrom = 0;
    std::int64_t m_nQuietUntil = 0;
};

extern ShutdownSchedule g_shutdownSchedule;
