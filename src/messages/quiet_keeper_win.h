#pragma once
#include "messages/quiet_signals.h"
#include "messages/reminder_gate.h"

#include <windows.h>

#include <optional>
#include <string_view>

class Platform;

// When Kelvaro keeps quiet: it watches whether the user presents, is in a call or uses a
// full-screen program, keeps the tray's pause and tells whether a reminder that falls due is
// given, held or dropped. The main window carries out what it decides.
class CQuietKeeper {
public:
    explicit CQuietKeeper(Platform& platform) : m_platform(platform) {}

    // Supervision started or stopped: the system is watched only while it runs, on the owner's
    // quiet-check timer. The user's Stop ends the pause and lets go of what was held; a sleep keeps both.
    void OnStart(HWND owner);
    void OnStop(StopCause cause);

    // A reminder falls due now: the system is asked afresh.
    GateVerdict OnDue(ReminderKind kind);
    // The boxes telling of an empty message list are due: the system is asked afresh.
    GateVerdict OnEmptyListBoxesDue();

    // Every few seconds while supervising: what was held, to give now that the user is free again.
    HeldRelease OnQuietCheckTick();

    // Once a second, without reading the system's state: true when the user has just come back
    // from a break, so the time-break suggestions start their interval again.
    bool OnActivityTick();
    // How long the user was away before the break OnActivityTick last told of.
    std::int64_t LastBreakMs() const { return m_gate.LastBreakMs(); }

    // A forced break falls due: whether the user is told first, so the break comes a little later.
    // Only with the choices of keeping quiet on, so that with both off breaks come at once.
    bool WantsHeadsUp();

    // The user's moment as last read, without asking the system again.
    bool BusyAtLastReading() const { return m_state.Busy(); }
    bool Paused() { return PausedUntil().has_value(); }

    // A scheduled end of the session that falls due waits while the user presents, is in a call
    // or has a full-screen program in front: the system is asked afresh.
    bool ShutdownMustWait();

    // The tray menu's pause entries, as they stand now.
    void PrepareTrayMenu(HMENU menu, bool running);
    // A pause entry of the tray menu; false for any other command.
    bool OnTrayCommand(int command);
    // The pause's timer: true when the pause has ended, so the tooltip changes.
    bool OnPauseEndTick();
    // The tooltip for the count's tooltip: with the pause's line while it lasts. Allocates nothing.
    std::string_view Tooltip(std::string_view countTooltip);

private:
    // The moment with the system asked afresh (only while holding is chosen).
    Moment ReadMoment();
    Moment CurrentMoment() const;
    std::optional<std::int64_t> PausedUntil();
    void ArmPauseEndTimer(std::int64_t until);

    Platform& m_platform;
    HWND m_owner = nullptr;
    ReminderGate m_gate;
    // The system's answer at the last reading.
    QuietState m_state;
    std::optional<PauseChoice> m_pauseChoice;
    // The count's tooltip and the pause's line, within the 63 characters the tray shows.
    char m_tooltip[64] = {};
    char m_pauseLine[40] = {};
};
