#pragma once
#include "messages/quiet_signals.h"
#include "messages/reminder_gate.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

class Platform;
class BreakCoordinator;

// When Kelvaro keeps quiet: it watches whether the user presents, is in a call or uses a
// full-screen program, and runs the tray's pause. What the moment allows is the rules' to decide.
class CQuietKeeper {
public:
    CQuietKeeper(Platform& platform, BreakCoordinator& rules) : m_platform(platform), m_rules(rules) {}

    // Supervision started or stopped: the system is watched only while it runs, on the owner's
    // quiet-check timer. The user's Stop ends the pause; a sleep keeps it.
    void OnStart(HWND owner);
    void OnStop(StopCause cause);

    // The user's moment with the system asked afresh (only while holding is chosen).
    Moment ReadMoment();
    // The user's moment with the system's state as last read: the clock and the input are read.
    Moment LastMoment() const;

    bool Paused() { return PausedUntil().has_value(); }
    // The end of the running pause, which ends first when its time has come.
    std::optional<std::int64_t> PausedUntil();

    // A scheduled end of the session that falls due waits while the user presents, is in a call
    // or has a full-screen program in front: the system is asked afresh.
    bool ShutdownMustWait();

    // The tray menu's pause entries, as they stand now.
    void PrepareTrayMenu(HMENU menu, bool running);
    // A pause entry of the tray menu; false for any other command.
    bool OnTrayCommand(int command);
    // The pause's timer: true when the pause has ended, so the tooltip changes.
    bool OnPauseEndTick();
    // A pause read back from settings.txt, still on after a restart of the computer until its end.
    void RestorePause(HWND owner, std::int64_t until);
    // The end of the running pause, for settings.txt; none without a pause.
    std::optional<std::int64_t> PauseToKeep() const;
    // The tooltip's line while working hours are chosen and it is outside them; none otherwise.
    void SetWorkingHoursLine(const std::optional<std::string>& line);
    // The tooltip for the count's tooltip: with the pause's line while it lasts, else the line of
    // working hours. Allocates nothing.
    std::string_view Tooltip(std::string_view countTooltip);

private:
    void StartPause(std::int64_t until);
    void ArmPauseEndTimer(std::int64_t until);

    Platform& m_platform;
    BreakCoordinator& m_rules;
    HWND m_owner = nullptr;
    // The system's answer at the last reading.
    QuietState m_state;
    // The tray menu's choice of the running pause; none for a pause read back after a restart.
    std::optional<PauseChoice> m_pauseChoice;
    bool m_bPauseRunning = false;
    // The count's tooltip and its second line, within the 127 characters the tray shows.
    char m_tooltip[128] = {};
    char m_pauseLine[64] = {};
    char m_workingHoursLine[64] = {};
};
