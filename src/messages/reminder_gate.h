#pragma once
// Whether a reminder that falls due is given now, held until the user is free again, or dropped.
// Held while the user presents, is in a call or uses a full-screen program; dropped while the
// user paused reminders or is away from the computer. A pause of five minutes away counts as a
// break of its own.

#include "activity/activity_monitor.h"
#include "messages/message_scheduler.h"

#include <cstdint>
#include <optional>
#include <string>

// The two choices of the Settings dialog; both on by default.
struct GateSettings {
    bool holdWhenBusy = true;  // HOLD_WHEN_BUSY
    bool naturalBreaks = true; // NATURAL_BREAKS
};

// The user's moment, as the shell reads it when a reminder falls due.
struct Moment {
    std::int64_t now = 0;    // seconds since 1970-01-01 UTC
    std::int64_t idleMs = 0; // since the user's last keyboard or mouse input
    bool busy = false;       // presenting, in a call, full screen or Focus Assist
    GateSettings settings;
};

enum class GateVerdict { Give, Hold, Drop };

// No input for this long: the user is away, and reminders that fall due are dropped.
constexpr std::int64_t kAwayAfterMs = IDLE_LIMIT_MS;
// Away for this long: the time away counts as a break.
constexpr std::int64_t kNaturalBreakMs = std::int64_t{5} * 60000;

// The choices of the tray's "Pause reminders" menu.
enum class PauseChoice { ThirtyMinutes, OneHour, TwoHours, UntilMorning };

// When a pause chosen now ends: after its length, or at the next 06:00 local time.
std::int64_t PauseEnd(PauseChoice choice, std::int64_t now);

// The tooltip's line while reminders are paused: "Reminders paused until HH:MM" (local time).
std::string PausedUntilText(std::int64_t pauseEnd);

class ReminderGate {
public:
    // A reminder of a kind falls due. A held time-break suggestion or go-to-bed message replaces
    // the one held before; a held warning is kept; held health tips are never given.
    GateVerdict OnDue(ReminderKind kind, const Moment& moment);

    // Every few seconds, with whether the user was busy at the last look. Once the user is free
    // again, gives at most one held reminder: the time-break suggestion or the go-to-bed message
    // if it is still inside its time window now, or else the long-activity warning. Nothing while
    // paused or away; everything held is let go.
    std::optional<ReminderKind> OnQuietCheck(bool wasBusy, const Moment& moment);

    // Once a second with the time since the last input: true when the user has just come back
    // from a break of at least five minutes, spent away and not busy.
    bool OnActivity(std::int64_t idleMs, bool busy, const GateSettings& settings);

    void Pause(std::int64_t until);
    // Ends a pause, and lets go of what was held: the user chose the quiet. Also at Stop.
    void Resume();
    // The end of the running pause, ended first when its time has come.
    std::optional<std::int64_t> PausedUntil(std::int64_t now);

private:
    bool Paused(std::int64_t now);
    void LetGo();

    std::optional<std::int64_t> m_pauseEnd;
    std::optional<ReminderKind> m_heldMessage;
    bool m_bHeldWarning = false;
    std::int64_t m_nPreviousIdleMs = 0;
    // The user was busy at some moment of the present time without input: not a break.
    bool m_bBusyWhileIdle = false;
};

// A scheduled shutdown never interrupts a presentation or a call.
bool ShutdownMustWait(bool presentingOrInCall, const GateSettings& settings);

// The heads-up's text and how long before the break it comes.
inline constexpr char kBreakHeadsUpText[] = "A break starts in 30 seconds";
constexpr unsigned kBreakHeadsUpMs = 30000;

// A forced break is announced a little before it comes while Kelvaro keeps quiet in any way; with
// both choices off, breaks come at once.
bool HeadsUpBeforeBreak(const GateSettings& settings);
