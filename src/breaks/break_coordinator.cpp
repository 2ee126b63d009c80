#include "breaks/break_coordinator.h"

#include "activity/use_history.h"
#include "breaks/break_state.h"

#include <algorithm>
#include <limits>
#include <utility>

StopEffects EffectsOfStop(StopCause cause)
{
    const bool byUser = cause == StopCause::User;
    // A shutdown that waited for the user is never carried out after a sleep: its moment has passed.
    return {byUser, byUser, true, byUser};
}

WakeEffects EffectsOfWake(std::int64_t sleptSeconds)
{
    // After a longer sleep the user was away, and nothing is saved for later.
    return {sleptSeconds >= kSleepLetsGoSeconds};
}

BreakChoices TakeBreakChoices(SettingsModel& settings)
{
    BreakChoices choices;
    if (settings.eyeBreaks) {
        const int minutes = EyeBreakMinutes(settings.eyeBreakMinutes);
        settings.eyeBreakMinutes = std::to_string(minutes);
        choices.eyeBreakMinutes = minutes;
    }
    choices.workingHours = WorkingHoursInForce(settings);
    choices.dailyLimitMinutes = DailyLimitInForce(settings);
    if (settings.bedtimeReminder)
        choices.bedtimeMinutes = settings.bedtimeMinutes;
    choices.breakWaitSeconds = CountdownSeconds(settings.forceBreakWait);
    return choices;
}

bool HidesWithMainWindow(OwnedWindow window)
{
    return window == OwnedWindow::ChildDialog;
}

namespace {

// Working hours keep these quiet; go-to-bed messages, the warning and the daily limit are about the evening.
bool RestsOutsideWorkingHours(ReminderKind kind)
{
    return kind == ReminderKind::HealthTip || kind == ReminderKind::TimeBreak;
}

} // namespace

void BreakCoordinator::OnStart(const Moment& moment, const BreakChoices& choices)
{
    if (m_sleptAt && EffectsOfWake(moment.now - *m_sleptAt).letsGoOfHeld)
        m_gate.LetGoOfHeld();
    m_sleptAt.reset();
    m_state.SetRunning(true);
    m_state.LoadBreakCountdown(choices.breakWaitSeconds);
    m_bEyesOn = choices.eyeBreakMinutes.has_value();
    if (m_bEyesOn)
        m_eyes.Start(moment.tick, *choices.eyeBreakMinutes);
    m_workingHours = choices.workingHours;
    m_bOutsideWorkingHours = OutsideWorkingHours(moment.now);
    m_bedtime.reset();
    if (choices.bedtimeMinutes)
        m_bedtime.emplace(*choices.bedtimeMinutes);
    m_dailyLimit.reset();
    if (choices.dailyLimitMinutes) {
        m_dailyLimit.emplace(*choices.dailyLimitMinutes);
        m_dailyLimit->Restart(moment.activeMs);
        m_limitDay = moment.countedDay;
    }
    m_gate.See(moment);
}

void BreakCoordinator::OnStop(StopCause cause, const Moment& moment)
{
    const StopEffects effects = EffectsOfStop(cause);
    if (effects.endsPause)
        m_gate.EndPause();
    if (effects.letsGoOfHeld)
        m_gate.LetGoOfHeld();
    DropAnnouncedBreak();
    m_waiting.clear();
    m_bDailyLimitDue = false;
    m_bEyesOn = false;
    m_bEyeBreakShown = false;
    m_eyeBreakDay.reset();
    m_bWarningDue = false;
    m_bBedtimeDue = false;
    m_bBreakTakenEarly = false;
    if (m_forcedBreak && m_state.BreakCountingDown())
        m_forcedBreak->counts = false;
    m_state.SetRunning(false);
    if (effects.endsIdleSpell) {
        m_spell = {};
        return;
    }
    // The computer sleeps: the time away runs from the last input before it, and the first input
    // after it ends the time away, whatever the tick counts say.
    if (!m_spell.startedAt)
        m_spell.startedAt = moment.now - moment.idleMs / 1000;
    m_spell.previousIdleMs = std::numeric_limits<std::int64_t>::max();
    m_sleptAt = moment.now;
}

ReminderRoute BreakCoordinator::OnReminderDue(ReminderKind kind, bool forcedBreak, const Moment& moment)
{
    // Outside working hours nothing of these is held for later either.
    if (RestsOutsideWorkingHours(kind) && OutsideWorkingHours(moment.now)) {
        std::erase(m_waiting, kind);
        return ReminderRoute::Nothing;
    }
    if (m_gate.OnDue(kind, moment) != GateVerdict::Give)
        return ReminderRoute::Nothing;
    if (kind == ReminderKind::DailyLimit && TooCloseToLastReminder(moment.tick)) {
        m_bDailyLimitDue = true;
        return ReminderRoute::Nothing;
    }
    if (kind == ReminderKind::LongActivity && m_dailyLimit && TooCloseToLastReminder(moment.tick)) {
        m_bWarningDue = true;
        return ReminderRoute::Nothing;
    }
    if (kind == ReminderKind::Bedtime && TooCloseToLastReminder(moment.tick)) {
        m_bBedtimeDue = true;
        return ReminderRoute::Nothing;
    }
    // The user is in a break: another one neither comes nor is announced.
    if (forcedBreak && moment.breakDialogShown && m_state.BreakCountingDown())
        return ReminderRoute::Nothing;
    const bool headsUp = forcedBreak && HeadsUpBeforeBreak(moment.settings);
    // A heads-up shown or a break put off stands for this break: nothing more comes, not even its sound.
    if (headsUp && m_headsUp.Pending())
        return ReminderRoute::Nothing;
    // Reminder popups may cover each other; the heads-up and the eye-break popup come alone, and a
    // break dialog without a heads-up waits only for the eyes' twenty seconds.
    const bool waits = headsUp       ? m_bEyeBreakShown || moment.reminderPopupUp
                       : forcedBreak ? m_bEyeBreakShown
                                     : m_bEyeBreakShown || m_headsUp.Shown();
    if (waits) {
        if (std::find(m_waiting.begin(), m_waiting.end(), kind) == m_waiting.end())
            m_waiting.push_back(kind);
        return ReminderRoute::Nothing;
    }
    m_state.ReminderGiven(moment.tick);
    if (headsUp) {
        m_headsUp.OnBreakDue(moment.tick);
        m_headsUpKind = kind;
        m_nPostponements = 0;
        return ReminderRoute::HeadsUp;
    }
    if (forcedBreak)
        OpenBreakDialog(moment);
    return ReminderRoute::Give;
}

ActivityOutcome BreakCoordinator::OnActivityTick(const Moment& moment)
{
    ActivityOutcome outcome;
    outcome.breakIntervalRestarts = FollowIdleSpell(moment) || std::exchange(m_bBreakTakenEarly, false);
    outcome.workingHours = FollowWorkingHours(moment);
    m_state.ForgetRemindersBefore(moment.tick, std::max(kDailyLimitDistanceMs, kEyeBreakDistanceMs));
    if (m_forcedBreak && !moment.breakDialogShown && !m_forcedBreak->closedAt)
        m_forcedBreak->closedAt = moment.now;
    outcome.eyeBreak = FollowEyeBreak(moment);
    if (!m_waiting.empty() && !m_bEyeBreakShown && !m_headsUp.Shown() && !moment.reminderPopupUp)
        outcome.released = std::exchange(m_waiting, {});
    const bool limitComes = DailyLimitComes(moment);
    if (limitComes)
        outcome.released.push_back(ReminderKind::DailyLimit);
    const bool warningComes = WarningComes(moment, limitComes);
    if (warningComes)
        outcome.released.push_back(ReminderKind::LongActivity);
    if (BedtimeComes(moment, limitComes || warningComes))
        outcome.released.push_back(ReminderKind::Bedtime);
    return outcome;
}

std::optional<std::string> BreakCoordinator::OutsideWorkingHoursLine(std::int64_t now) const
{
    if (!OutsideWorkingHours(now))
        return std::nullopt;
    return OutsideWorkingHoursText(NextWorkingSpellStart(*m_workingHours, now));
}

bool BreakCoordinator::OnHeadsUpTick(const Moment& moment, const std::function<Moment()>& readAfresh)
{
    // A break put off comes back once the taskbar's edge is free.
    if (m_headsUp.Postponed() && (m_bEyeBreakShown || moment.reminderPopupUp))
        return false;
    switch (m_headsUp.OnTick(moment.tick, moment.idleMs)) {
    case HeadsUpEvent::BreakDue: {
        // As before the heads-up, the user may meanwhile be busy, have paused reminders or be away.
        const Moment now = readAfresh();
        if (m_gate.OnDue(m_headsUpKind, now) == GateVerdict::Give) {
            OpenBreakDialog(now);
            return true;
        }
        // Held, the break comes after the busy moment, announced anew.
        DropAnnouncedBreak();
        return false;
    }
    case HeadsUpEvent::HeadsUpDue: {
        const Moment now = readAfresh();
        if (m_gate.OnDue(m_headsUpKind, now) == GateVerdict::Give)
            m_state.ReminderGiven(now.tick);
        else
            DropAnnouncedBreak();
        return false;
    }
    case HeadsUpEvent::None:
        break;
    }
    return false;
}

bool BreakCoordinator::OnPostpone(const Moment& moment)
{
    if (!m_headsUp.Postpone(moment.tick))
        return false;
    ++m_nPostponements;
    return true;
}

bool BreakCoordinator::OnStartNow(const Moment& moment)
{
    if (!m_headsUp.StartNow())
        return false;
    OpenBreakDialog(moment);
    m_bBreakTakenEarly = true;
    return true;
}

bool BreakCoordinator::OnTakeBreakNow(const Moment& moment)
{
    OpenBreakDialog(moment);
    m_bBreakTakenEarly = true;
    return true;
}

CountdownStep BreakCoordinator::OnBreakCountdownTick(const Moment& moment, std::int32_t nextSeconds)
{
    const CountdownStep step = m_state.TickBreakCountdown(nextSeconds);
    if (!step.ended || !m_forcedBreak || !m_forcedBreak->counts || !m_state.Running())
        return step;
    Count(BreakEvent::BreakTaken, moment.countedDay);
    m_forcedBreak->counted = true;
    return step;
}

void BreakCoordinator::Pause(std::int64_t until, std::optional<PauseChoice> choice)
{
    m_gate.Pause(until, choice);
    DropAnnouncedBreak();
    m_waiting.clear();
}

void BreakCoordinator::OpenBreakDialog(const Moment& moment)
{
    m_headsUp.End();
    // The break that was put off has come: its postponements count now, on the day it came.
    for (; m_nPostponements > 0; --m_nPostponements)
        Count(BreakEvent::Postponed, moment.countedDay);
    // A break while the last one still counts down goes on in the same dialog.
    m_bBreakGoesOn = m_forcedBreak && m_state.BreakCountingDown() && moment.breakDialogShown;
    if (m_bBreakGoesOn)
        return;
    m_forcedBreak.emplace();
    m_forcedBreak->openedAt = moment.now;
    m_state.BeginBreakCountdown();
}

void BreakCoordinator::DropAnnouncedBreak()
{
    m_headsUp.End();
    m_nPostponements = 0;
}

void BreakCoordinator::Count(BreakEvent event, const std::optional<CivilDate>& day)
{
    if (day)
        m_record.Count(event, *day);
}

EyeBreakView BreakCoordinator::FollowEyeBreak(const Moment& moment)
{
    if (!m_bEyesOn)
        return {};
    const bool otherOnScreen = m_headsUp.Shown() || moment.breakDialogShown || moment.reminderPopupUp ||
                               !m_waiting.empty();
    // Outside working hours the eyes rest as in a pause: the interval starts again when work begins.
    const bool paused = m_state.Pause().RunsUntil(moment.now).has_value() || m_bOutsideWorkingHours;
    const EyeBreakStep step = m_eyes.OnTick({moment.tick, moment.idleMs, moment.busy, paused, otherOnScreen,
                                             moment.displayRequired, m_state.LastReminderTick()});
    if (step.event == EyeBreakEvent::Offered) {
        m_eyeBreakDay = moment.countedDay;
        Count(BreakEvent::EyeBreakOffered, m_eyeBreakDay);
    } else if (step.event == EyeBreakEvent::Taken) {
        // Taken after midnight, it counts for the day it was offered on.
        Count(BreakEvent::EyeBreakTaken, m_eyeBreakDay);
    }
    m_bEyeBreakShown = step.shown;
    return {step.shown, step.secondsLeft};
}

bool BreakCoordinator::FollowIdleSpell(const Moment& moment)
{
    bool breakTaken = false;
    const bool cameBack = moment.idleMs < m_spell.previousIdleMs;
    if (cameBack && m_spell.startedAt) {
        const std::int64_t returnedAt = moment.now - moment.idleMs / 1000;
        const bool longEnough = (returnedAt - *m_spell.startedAt) * 1000 >= kNaturalBreakMs;
        breakTaken = longEnough && !m_spell.screenTime && moment.settings.naturalBreaks;
        // A forced break the user spent away is one break, not two.
        if (breakTaken && !SameAsForcedBreak(*m_spell.startedAt, returnedAt))
            Count(BreakEvent::BreakTaken, DayOfBreak(*m_spell.startedAt, returnedAt, moment.countedDay));
    }
    if (cameBack)
        m_spell = {};
    if (moment.idleMs >= kAwayAfterMs) {
        if (!m_spell.startedAt)
            m_spell.startedAt = moment.now - moment.idleMs / 1000;
        // A call listened to or a film watched without touching anything is not time away.
        if (moment.busy || moment.displayRequired)
            m_spell.screenTime = true;
    }
    m_spell.previousIdleMs = moment.idleMs;
    return breakTaken;
}

std::optional<CivilDate> BreakCoordinator::DayOfBreak(std::int64_t spellStart, std::int64_t returnedAt,
                                                      const std::optional<CivilDate>& countedDay) const
{
    const std::optional<CivilDate> began = LocalDate(spellStart);
    if (!began || !countedDay || *began > *countedDay)
        return std::nullopt;
    // A break counts for the day on which it began; the night away before the first input of the
    // morning, the first five o'clock after it began, is nobody's.
    std::optional<std::int64_t> morning = LocalTimeAt(*began, 0, kUseDayBeginsHour);
    if (morning && *morning <= spellStart)
        morning = LocalTimeAt(*began, 1, kUseDayBeginsHour);
    if (!morning || returnedAt >= *morning)
        return std::nullopt;
    return began;
}

bool BreakCoordinator::SameAsForcedBreak(std::int64_t spellStart, std::int64_t returnedAt) const
{
    if (!m_forcedBreak || !m_forcedBreak->counted)
        return false;
    return m_forcedBreak->openedAt <= returnedAt && (!m_forcedBreak->closedAt || *m_forcedBreak->closedAt >= spellStart);
}

bool BreakCoordinator::OutsideWorkingHours(std::int64_t now) const
{
    return m_workingHours && !IsWorkingTime(*m_workingHours, now);
}

WorkingHoursChange BreakCoordinator::FollowWorkingHours(const Moment& moment)
{
    // The state, not the clock's path, decides: a clock set back into working hours begins them again.
    const bool outside = OutsideWorkingHours(moment.now);
    if (outside == m_bOutsideWorkingHours)
        return WorkingHoursChange::None;
    m_bOutsideWorkingHours = outside;
    if (!outside)
        return WorkingHoursChange::Began;
    if (RestsOutsideWorkingHours(m_headsUpKind))
        DropAnnouncedBreak();
    for (ReminderKind kind : {ReminderKind::HealthTip, ReminderKind::TimeBreak}) {
        std::erase(m_waiting, kind);
        m_gate.LetGoOfHeld(kind);
    }
    return WorkingHoursChange::Ended;
}

bool BreakCoordinator::DailyLimitComes(const Moment& moment)
{
    if (!m_dailyLimit)
        return false;
    // A new day counts from its own first second.
    if (moment.countedDay != m_limitDay) {
        m_limitDay = moment.countedDay;
        m_dailyLimit->Restart(moment.activeMs);
        m_bDailyLimitDue = false;
    }
    if (const std::optional<int> reached = m_dailyLimit->Due(moment.activeMs)) {
        m_nLimitMinutesReached = *reached;
        m_bDailyLimitDue = true;
    }
    if (!m_bDailyLimitDue || TooCloseToLastReminder(moment.tick))
        return false;
    m_bDailyLimitDue = false;
    return true;
}

bool BreakCoordinator::WarningComes(const Moment& moment, bool limitComesNow)
{
    if (LongActivityWarningDue(moment.activeMs))
        m_bWarningDue = true;
    if (!m_bWarningDue)
        return false;
    if (m_dailyLimit && (limitComesNow || m_bDailyLimitDue || TooCloseToLastReminder(moment.tick)))
        return false;
    m_bWarningDue = false;
    return true;
}

bool BreakCoordinator::BedtimeComes(const Moment& moment, bool otherComesNow)
{
    if (m_bedtime && m_bedtime->Due(moment.now, moment.idleMs))
        m_bBedtimeDue = true;
    if (!m_bBedtimeDue || otherComesNow || TooCloseToLastReminder(moment.tick))
        return false;
    m_bBedtimeDue = false;
    return true;
}

int BreakCoordinator::BedtimeMinutes() const
{
    return m_bedtime ? m_bedtime->BedtimeMinutes() : 0;
}

bool BreakCoordinator::TooCloseToLastReminder(std::uint32_t tick) const
{
    return m_state.ReminderWithin(tick, kDailyLimitDistanceMs);
}
