#pragma once
// The tray's pause of reminders: nothing comes until its end.

#include <cstdint>
#include <optional>
#include <string>

// The choices of the tray's "Pause reminders" menu.
enum class PauseChoice { ThirtyMinutes, OneHour, TwoHours, UntilMorning };

// When a pause chosen now ends: after its length, or at the next 06:00 local time.
std::int64_t PauseEnd(PauseChoice choice, std::int64_t now);

// The tooltip's line while reminders are paused: "Reminders paused until HH:MM" (local time).
std::string PausedUntilText(std::int64_t pauseEnd);

class ReminderPause {
public:
    // A pause until a moment; the menu's entry that chose it, none for one read back after a restart.
    void Start(std::int64_t until, std::optional<PauseChoice> choice);
    void End();
    // The end of the pause running at this moment: none without one, and none once its end has come.
    std::optional<std::int64_t> RunsUntil(std::int64_t now) const;
    // The menu's entry of the pause running at this moment.
    std::optional<PauseChoice> Choice(std::int64_t now) const;

private:
    std::optional<std::int64_t> m_end;
    std::optional<PauseChoice> m_choice;
};
