#pragma once
// The rules between the break features. Each feature keeps its own rules in its unit (the gate
// decides whether the moment allows a reminder, the eye-break timer when the eyes need a rest, the
// heads-up how a forced break is announced and put off); this unit feeds them every event the
// shell sees and decides between them:
// - at most one of the reminder popup, the eye-break popup and the heads-up stands at the
//   taskbar's edge, and what falls due meanwhile waits for it to go (a forced break without a
//   heads-up waits only for an eye break);
// - what goes into the day's break record, on which day, and what counts as one break;
// - what a Stop, a sleep or a pause ends.
// The shell reports each event with the moment it read and carries out what comes back.

#include "app/supervision_state.h"
#include "breaks/break_heads_up.h"
#include "breaks/eye_break.h"
#include "history/break_history.h"
#include "messages/bedtime.h"
#include "messages/daily_limit.h"
#include "messages/reminder_gate.h"
#include "messages/working_hours.h"
#include "settings/settings_model.h"

#include <cstdint>
#include <functional>
#include <string>
#include <optional>
#include <vector>

// A sleep this long lets go of the reminders held for a better moment: the user was away.
constexpr std::int64_t kSleepLetsGoSeconds = std::int64_t{5} * 60;

// The daily limit's reminder keeps this distance from the last other reminder, and with a daily
// limit chosen the long-activity warning keeps it from the daily limit's.
constexpr std::uint32_t kDailyLimitDistanceMs = 120000;

// What a Stop ends. Supervision stopped by the user forgets the pause and everything that waited
// for a better moment; a sleep keeps the pause and, unless it lasts, the held reminders.
struct StopEffects {
    bool endsPause;
    bool letsGoOfHeld;           // held reminders and boxes
    bool forgetsWaitingShutdown; // a scheduled shutdown waiting for the user to be free
    bool endsIdleSpell;          // the time away goes on across a sleep
};
StopEffects EffectsOfStop(StopCause cause);

// What waking after a sleep of so many seconds lets go of, on top of what the sleep's Stop did.
struct WakeEffects {
    bool letsGoOfHeld;
};
WakeEffects EffectsOfWake(std::int64_t sleptSeconds);

// What the shell does with a reminder that falls due.
enum class ReminderRoute {
    Give,    // its lights and sound now, then its text, or the break dialog
    HeadsUp, // its lights and sound now, and the heads-up before its break
    Nothing, // held or dropped by the moment, waiting for the edge, or a break already announced
};

// The choices of the break features, taken at Start.
struct BreakChoices {
    std::optional<int> eyeBreakMinutes;   // eye breaks every so many minutes of work; none without
    std::optional<WorkWeek> workingHours; // tips, suggestions, breaks and eye breaks only in these
    std::optional<int> dailyLimitMinutes; // the daily limit's reminder; none without
    std::int32_t breakWaitSeconds = 0;    // the break dialog's countdown
    std::optional<int> bedtimeMinutes;    // the bedtime's reminder; none without
};

// The choices of the break features as Start takes them from the settings; the eye breaks'
// minutes are written back as they are taken.
BreakChoices TakeBreakChoices(SettingsModel& settings);

// Where working hours went at an activity tick.
enum class WorkingHoursChange { None, Began, Ended };

// The eye-break popup as it stands after an activity tick.
struct EyeBreakView {
    bool shown = false;
    int secondsLeft = 0; // the countdown, 0 for "Done"
};

struct ActivityOutcome {
    EyeBreakView eyeBreak;
    // The reminders that waited for the taskbar's edge, and the daily limit's and the long-activity
    // warning's when due, to be offered now (OnReminderDue) in this order.
    std::vector<ReminderKind> released;
    // The user came back from a break, or took one before its time: the time-break suggestions
    // count their interval from now.
    bool breakIntervalRestarts = false;
    // Working hours began (the tips and suggestions count their intervals from now) or ended.
    WorkingHoursChange workingHours = WorkingHoursChange::None;
};

// The windows the main window owns. Hiding the main window to the tray hides its own dialogs;
// the popups, the heads-up and the break dialog stay where the user can answer them.
enum class OwnedWindow { ChildDialog, ReminderPopup, EyeBreakPopup, HeadsUp, BreakDialog };
bool HidesWithMainWindow(OwnedWindow window);

// A forced break from the opening of its dialog on, in wall-clock seconds.
struct ForcedBreakSpan {
    std::int64_t openedAt = 0;
    // Stopped during its countdown, it is no break taken.
    bool counts = true;
    bool counted = false;
    // When the dialog was seen to have gone; none while it is shown.
    std::optional<std::int64_t> closedAt;
};

// The time without input, from the wall-clock time of the last input before it.
struct IdleSpell {
    std::optional<std::int64_t> startedAt;
    std::int64_t previousIdleMs = 0;
    // A call listened to or a film watched: screen time, not time away.
    bool screenTime = false;
};

class BreakCoordinator {
public:
    // What is counted goes into the record, which outlives this unit; the facts of supervision
    // (whether it runs, the countdown, the pause, the last reminder) are the state's.
    BreakCoordinator(CBreakHistory& record, SupervisionState& state)
        : m_record(record), m_state(state), m_gate(state.Pause())
    {
    }

    // Supervision starts with the choices of now, and the break dialog's countdown takes its
    // seconds. After a sleep of five minutes or more the reminders held since before it are let go.
    void OnStart(const Moment& moment, const BreakChoices& choices);
    // Supervision stops: the heads-up, a break put off, the eye break and whatever waited for the
    // edge end with it, and a break dialog still counting down no longer counts.
    void OnStop(StopCause cause, const Moment& moment);

    // A reminder falls due: a message timer's, the long-activity warning, the daily limit, one
    // held or waiting that comes back. forcedBreak: it opens the break dialog, and while the user
    // takes a break it is dropped. Outside working hours tips and suggestions are dropped; the
    // daily limit keeps two minutes from any other reminder, and the warning from the daily limit's.
    ReminderRoute OnReminderDue(ReminderKind kind, bool forcedBreak, const Moment& moment);
    // The boxes telling of an empty message list wait for the moment as reminders do.
    GateVerdict OnEmptyListBoxesDue(const Moment& moment) { return m_gate.OnEmptyListBoxesDue(moment); }
    // Every few seconds: what was held, to give now that the user is free again.
    HeldRelease OnQuietCheck(const Moment& moment) { return m_gate.OnQuietCheck(moment); }
    // Every reading of the user's moment that decides nothing else.
    void See(const Moment& moment) { m_gate.See(moment); }

    // Once a second while supervising. The daily limit's reminder, the long-activity warning and
    // the bedtime's are among the released when due, the daily limit, which the user chose, first;
    // each keeps two minutes from the one before it.
    ActivityOutcome OnActivityTick(const Moment& moment);
    // The active time the daily limit's last reminder tells of, in minutes.
    int DailyLimitMinutesReached() const { return m_nLimitMinutesReached; }
    // The bedtime the bedtime's reminder tells of.
    int BedtimeMinutes() const;
    // The tray tooltip's line while working hours are chosen and it is outside them.
    std::optional<std::string> OutsideWorkingHoursLine(std::int64_t now) const;

    // The heads-up's timer: true when the break dialog opens now. When the break or its heads-up
    // is due, the moment is read afresh, with the system asked.
    bool OnHeadsUpTick(const Moment& moment, const std::function<Moment()>& readAfresh);
    // "Postpone 5 minutes": false when the heads-up can't be put off (any more).
    bool OnPostpone(const Moment& moment);
    // "Start now", or the user asks for a break at once: true when the break dialog opens now. The
    // break interval starts again with it.
    bool OnStartNow(const Moment& moment);
    bool OnTakeBreakNow(const Moment& moment);
    // A second of the break dialog's countdown, with the seconds the next one counts; at its end
    // the break counts, when it ran out while supervising.
    CountdownStep OnBreakCountdownTick(const Moment& moment, std::int32_t nextSeconds);

    // Whether the break dialog last opened went on with a countdown still running in it.
    bool BreakGoesOn() const { return m_bBreakGoesOn; }

    // The tray's pause: nothing comes until its end, and what was announced, waiting or held ends
    // now. choice: the menu's entry, none for a pause read back after a restart.
    void Pause(std::int64_t until, std::optional<PauseChoice> choice);
    void Resume() { m_gate.Resume(); }
    const ReminderPause& Pause() const { return m_state.Pause(); }

    bool HeadsUpShown() const { return m_headsUp.Shown(); }
    HeadsUpView HeadsUpViewAt(std::uint32_t tick) const { return m_headsUp.View(tick); }
    // How often the heads-up's timer ticks, 0 when no heads-up is shown or break put off.
    std::uint32_t HeadsUpTimerMs() const { return m_headsUp.TimerPeriodMs(); }

private:
    bool EdgeTakenBy(const Moment& moment) const;
    void OpenBreakDialog(const Moment& moment);
    // The heads-up and a break put off end, and their postponements with them: the break never came.
    void DropAnnouncedBreak();
    void Count(BreakEvent event, const std::optional<CivilDate>& day);
    EyeBreakView FollowEyeBreak(const Moment& moment);
    bool FollowIdleSpell(const Moment& moment);
    bool SameAsForcedBreak(std::int64_t spellStart, std::int64_t returnedAt) const;
    bool OutsideWorkingHours(std::int64_t now) const;
    WorkingHoursChange FollowWorkingHours(const Moment& moment);
    // The daily limit's reminder when it is due and two minutes from the last other reminder.
    bool DailyLimitComes(const Moment& moment);
    // The long-activity warning when it is due; with a daily limit chosen, once that has come
    // and two minutes from it.
    bool WarningComes(const Moment& moment, bool limitComesNow);
    // The bedtime's reminder when it is due, once an evening, and two minutes from the last reminder.
    bool BedtimeComes(const Moment& moment, bool otherComesNow);
    bool TooCloseToLastReminder(std::uint32_t tick) const;
    // The day a break taken away from the computer counts for; none for the night.
    std::optional<CivilDate> DayOfBreak(std::int64_t spellStart, std::int64_t returnedAt,
                                        const std::optional<CivilDate>& countedDay) const;

    CBreakHistory& m_record;
    SupervisionState& m_state;
    ReminderGate m_gate;
    EyeBreakTimer m_eyes;
    BreakHeadsUp m_headsUp;
    bool m_bEyesOn = false;
    bool m_bEyeBreakShown = false;
    // The day an eye break on screen was offered on, which its taking counts for.
    std::optional<CivilDate> m_eyeBreakDay;
    ReminderKind m_headsUpKind = ReminderKind::TimeBreak;
    int m_nPostponements = 0;
    // Reminders waiting for the taskbar's edge, in the order they fell due; each kind once.
    std::vector<ReminderKind> m_waiting;
    std::optional<ForcedBreakSpan> m_forcedBreak;
    IdleSpell m_spell;
    std::optional<std::int64_t> m_sleptAt;
    std::optional<WorkWeek> m_workingHours;
    bool m_bOutsideWorkingHours = false;
    std::optional<DailyLimit> m_dailyLimit;
    std::optional<CivilDate> m_limitDay;
    bool m_bDailyLimitDue = false;
    int m_nLimitMinutesReached = 0;
    bool m_bWarningDue = false;
    std::optional<BedtimeWatch> m_bedtime;
    bool m_bBedtimeDue = false;
    // The user took a break before its time since the last activity tick: the break interval starts again.
    bool m_bBreakTakenEarly = false;
    bool m_bBreakGoesOn = false;
};
