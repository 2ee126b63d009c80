#pragma once
// The facts of supervision, each kept here once: whether it runs, the break dialog's countdown,
// the tray's pause, when the last reminder was given, and the shortcuts Kelvaro holds. The rules
// change them; the windows and the other features only ask.

#include "app/held_shortcuts.h"
#include "messages/reminder_pause.h"

#include <cstdint>
#include <optional>

// One second of the break dialog's countdown, as its OK button shows it.
struct CountdownStep {
    std::int32_t secondsLeft = 0;
    bool ended = false; // the OK button is enabled and the countdown timer stops
};

class SupervisionState {
public:
    bool Running() const { return m_bRunning; }
    void SetRunning(bool running) { m_bRunning = running; }

    // The break dialog's countdown runs from the dialog's opening until its OK is enabled.
    bool BreakCountingDown() const { return m_bBreakRunning; }
    std::int32_t BreakSecondsLeft() const { return m_nBreakCountdown; }
    // The seconds the next countdown counts: taken at Start and at the end of every countdown.
    void LoadBreakCountdown(std::int32_t seconds) { m_nBreakCountdown = seconds; }
    void BeginBreakCountdown() { m_bBreakRunning = true; }
    // Counts a second off; at the end the countdown stops and loads the seconds of the next one.
    CountdownStep TickBreakCountdown(std::int32_t nextSeconds);

    ReminderPause& Pause() { return m_pause; }
    const ReminderPause& Pause() const { return m_pause; }

    // When a reminder was last given, for every rule that keeps a distance from it.
    void ReminderGiven(std::uint32_t tick) { m_nLastReminderTick = tick; }
    // Whether the last reminder was given less than so long before the tick.
    bool ReminderWithin(std::uint32_t tick, std::uint32_t distanceMs) const;
    std::optional<std::uint32_t> LastReminderTick() const { return m_nLastReminderTick; }
    // Forgets a last reminder further back than the longest distance, so that the tick count's
    // wrap can't bring it back.
    void ForgetRemindersBefore(std::uint32_t tick, std::uint32_t distanceMs);

    HeldShortcuts& Shortcuts() { return m_shortcuts; }
    const HeldShortcuts& Shortcuts() const { return m_shortcuts; }

    // The names the program has always given these facts, to read them by.
    const bool& RunningFlag() const noexcept { return m_bRunning; }
    const bool& BreakRunningFlag() const noexcept { return m_bBreakRunning; }
    const std::int32_t& BreakCountdownSeconds() const noexcept { return m_nBreakCountdown; }

private:
    bool m_bRunning = false;
    bool m_bBreakRunning = false;
    std::int32_t m_nBreakCountdown = 0;
    ReminderPause m_pause;
    std::optional<std::uint32_t> m_nLastReminderTick;
    HeldShortcuts m_shortcuts;
};

// The program's one state of supervision.
extern SupervisionState g_supervision;
// Supervision runs.
extern const bool& g_bRunning;
// A forced-break countdown is running: Quit asks first, and hiding the main window brings the break back.
extern const bool& g_bBreakRunning;
// Seconds left in the countdown, or the seconds of the next one.
extern const std::int32_t& g_nBreakCountdown;
