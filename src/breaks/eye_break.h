#pragma once
// Eye breaks: after so many minutes of work, twenty seconds of looking into the distance. The
// interval counts active time and starts again whenever the user rests their eyes on their own;
// the popup's countdown runs only while there is no input.

#include <cstdint>
#include <optional>

// A spell this long without input has rested the eyes already: the interval starts again.
constexpr std::int64_t kLookAwayMs = 20000;
// The countdown: this many seconds without input take the eye break.
constexpr int kEyeBreakSeconds = 20;
// "Done" stays this long before the popup goes.
constexpr std::uint32_t kEyeBreakDoneMs = 2000;
// A popup up this long goes at the next input: the user works on, and the eye break was missed.
constexpr std::uint32_t kEyeBreakMissedAfterMs = 120000;
// An eye break keeps this distance from the last other reminder.
constexpr std::uint32_t kEyeBreakDistanceMs = 120000;

// What became of an eye break, for anyone who counts them.
enum class EyeBreakEvent { Offered, Taken, Missed };

// The user's moment at one activity tick, as the shell knows it without asking the system.
struct EyeBreakMoment {
    std::uint32_t tick = 0;     // the system's tick count
    std::int64_t idleMs = 0;    // since the last keyboard or mouse input
    bool busy = false;          // presenting, in a call or full screen at the last reading
    bool paused = false;        // the tray's pause
    bool otherOnScreen = false; // a forced break, its heads-up or a reminder's popup
    bool displayRequired = false; // a program keeps the display on: a film is no look away
    std::optional<std::uint32_t> lastReminderTick = std::nullopt; // when another reminder was last given
};

// The popup after a tick, and what happened at it.
struct EyeBreakStep {
    bool shown = false;
    int secondsLeft = 0; // while shown: the countdown, 0 for "Done"
    std::optional<EyeBreakEvent> event;
};

class EyeBreakTimer {
public:
    // Supervision starts, with eye breaks after so many minutes of active time.
    void Start(std::uint32_t tick, int minutes);
    // Once a second while supervising. Never while busy or paused: the interval starts again
    // then; a spell without input while the display is kept on neither counts nor starts it
    // again. Due, an eye break waits for what else is on screen and for the distance from other
    // reminders.
    EyeBreakStep OnTick(const EyeBreakMoment& moment);

private:
    EyeBreakStep OnTickShown(const EyeBreakMoment& moment, std::uint32_t sincePreviousTick);
    EyeBreakStep Close(std::optional<EyeBreakEvent> event);

    std::int64_t m_nIntervalMs = 0;
    std::int64_t m_nActiveMs = 0;
    std::uint32_t m_nPreviousTick = 0;
    std::optional<std::uint32_t> m_nShownTick;
    std::optional<std::uint32_t> m_nDoneTick;
};
