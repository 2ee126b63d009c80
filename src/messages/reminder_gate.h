#pragma once
// Whether a reminder that falls due is given now, held until the user is free again, or dropped.
// Held while the user presents, is in a call or uses a full-screen program; dropped while the
// user paused reminders or is away from the computer. A pause of five minutes away counts as a
// break of its own.

#include "activity/activity_monitor.h"
#include "activity/calendar.h"
#include "messages/message_scheduler.h"
#include "messages/quiet_signals.h"
#include "messages/reminder_pause.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The two choices of the Settings dialog; both on by default.
struct GateSettings {
    bool holdWhenBusy = true;  // HOLD_WHEN_BUSY
    bool naturalBreaks = true; // NATURAL_BREAKS
};

// The user's moment, as the shell reads it when something falls due.
struct Moment {
    std::int64_t now = 0;    // seconds since 1970-01-01 UTC
    std::int64_t idleMs = 0; // since the user's last keyboard or mouse input
    bool busy = false;       // presenting, in a call, full screen or Focus Assist
    GateSettings settings;
    std::uint32_t tick = 0;  // the system's tick count
    // What is on screen: a reminder's popup rolling at the taskbar's edge, the break dialog.
    bool reminderPopupUp = false;
    bool breakDialogShown = false;
    // A program asks Windows to keep the display on: a film or a slide show plays.
    bool displayRequired = false;
    // The active time's counted day, which the break record counts for, and its count so far.
    std::optional<CivilDate> countedDay = std::nullopt;
    std::int32_t activeMs = 0;
};

enum class GateVerdict { Give, Hold, Drop };

// No input for this long: the user is away, and reminders that fall due are dropped.
constexpr std::int64_t kAwayAfterMs = IDLE_LIMIT_MS;
// Away for this long: the time away counts as a break.
constexpr std::int64_t kNaturalBreakMs = std::int64_t{5} * 60000;

// Why supervision stops: the user's Stop, or the computer going to sleep.
enum class StopCause { User, Sleep };

// What comes once the user is free again: at most one held reminder, and the boxes telling of an
// empty message list if they were held.
struct HeldRelease {
    std::optional<ReminderKind> reminder;
    bool emptyListBoxes = false;
    bool operator==(const HeldRelease&) const = default;
};

class ReminderGate {
public:
    // The pause, which supervision's state keeps.
    explicit ReminderGate(ReminderPause& pause) : m_pause(pause) {}

    // A reminder of a kind falls due. Held are time-break suggestions, go-to-bed messages and the
    // warning; held health tips are never given. A reminder given lets go of a held one of its kind.
    GateVerdict OnDue(ReminderKind kind, const Moment& moment);
    // The boxes telling of an empty message list are due: they wait for the moment as reminders do.
    GateVerdict OnEmptyListBoxesDue(const Moment& moment);

    // Every few seconds. Once the user is free again after a busy spell, whichever reading saw
    // its end, gives the most recent held reminder whose own time window still fits (the warning
    // has none), and the held boxes. Nothing while paused or away; everything held is let go.
    HeldRelease OnQuietCheck(const Moment& moment);

    // A pause, or its end: either lets go of what was held, as the user chose the quiet.
    void Pause(std::int64_t until, std::optional<PauseChoice> choice);
    void Resume();
    void EndPause() { m_pause.End(); }
    // Nothing held comes any more, and a busy spell seen is forgotten.
    void LetGoOfHeld();
    // A held reminder of this kind no longer comes.
    void LetGoOfHeld(ReminderKind kind) { std::erase(m_held, kind); }

    // Every reading of the user's moment comes here (the calls above take theirs here too), so
    // the end of a busy spell is seen whichever path read it.
    void See(const Moment& moment);

private:
    bool Paused(std::int64_t now) const;
    bool Away(const Moment& moment) const;
    GateVerdict Verdict(const Moment& moment);
    void LetGo();

    ReminderPause& m_pause;
    // Held reminders, the most recent last; each kind at most once.
    std::vector<ReminderKind> m_held;
    bool m_bHeldEmptyListBoxes = false;
    bool m_bBusyAtLastReading = false;
    // A busy spell ended at a reading; what it held comes at the next quiet check.
    bool m_bSpellEnded = false;
};

// A scheduled shutdown never interrupts a presentation, a call or a full-screen program (a slide
// show may be reported as either); Focus Assist alone does not hold it.
bool ShutdownMustWait(const QuietState& state, const GateSettings& settings);

// A forced break is announced a little before it comes while Kelvaro keeps quiet in any way; with
// both choices off, breaks come at once.
bool HeadsUpBeforeBreak(const GateSettings& settings);
