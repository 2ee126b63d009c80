#pragma once
#include "messages/quiet_signals.h"
#include "messages/reminder_gate.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class Platform;
class BreakCoordinator;
struct SettingsModel;

// When Kelvaro keeps quiet: it watches whether the user presents, is in a call or uses a
// full-screen program, and runs the tray's pause. What the moment allows is the rules' to decide.
// The tray shows 127 characters of a tooltip, each up to three bytes in UTF-8.
constexpr std::size_t kTooltipBytes = 3 * 128;

class CQuietKeeper {
public:
    CQuietKeeper(Platform& platform, BreakCoordinator& rules, const SettingsModel& settings)
        : m_platform(platform), m_rules(rules), m_settings(settings)
    {
    }

    // The window whose timer ends the pause.
    void SetOwner(HWND owner) { m_owner = owner; }
    // Supervision stopped: the user's Stop ends the pause (the rules have ended it); a sleep keeps it.
    void OnStop(StopCause cause);

    // The user's moment with the system asked afresh (only while holding is chosen).
    Moment ReadMoment();
    // The user's moment with the system's state as last read: the clock and the input are read.
    Moment LastMoment() const;

    // The end of the pause running now; none without one.
    std::optional<std::int64_t> PausedUntil() const;
    bool Paused() const { return PausedUntil().has_value(); }

    // A scheduled end of the session that falls due waits while the user presents, is in a call
    // or has a full-screen program in front: the system is asked afresh.
    bool ShutdownMustWait();

    // The tray menu's pause entries, as they stand now.
    void PrepareTrayMenu(HMENU menu, bool running) const;
    // A pause entry of the tray menu, or "Resume reminders"; false for any other command.
    bool OnTrayCommand(int command);
    // The pause's timer: true when the pause has ended, so the tooltip changes.
    bool OnPauseEndTick();
    // A pause read back from settings.txt, still on after a restart of the computer until its end.
    void RestorePause(std::int64_t until);
    // The tooltip's line while working hours are chosen and it is outside them; none otherwise.
    void SetWorkingHoursLine(const std::optional<std::string>& line);
    // The tooltip for the count's tooltip: with the pause's line while it lasts, else the line of
    // working hours. Allocates nothing.
    std::string_view Tooltip(std::string_view countTooltip);

private:
    void StartPause(std::int64_t until, std::optional<PauseChoice> choice);
    void ArmPauseEndTimer(std::int64_t until);

    Platform& m_platform;
    BreakCoordinator& m_rules;
    const SettingsModel& m_settings;
    HWND m_owner = nullptr;
    // The system's answer at the last reading.
    QuietState m_state;
    // The count's tooltip and its second line in UTF-8, room for the 127 characters the tray shows
    // of any language, each cut between characters.
    char m_tooltip[kTooltipBytes] = {};
    char m_pauseLine[kTooltipBytes / 2] = {};
    char m_workingHoursLine[kTooltipBytes / 2] = {};
};
