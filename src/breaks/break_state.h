#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// A forced-break countdown is running: Quit asks first, and hiding the main window brings the break back.
extern bool g_bBreakRunning;
// Seconds left in the countdown; reloaded from the Settings dialog at Start and at every countdown end.
extern std::int32_t g_nBreakCountdown;

// The seconds of a countdown from the Settings dialog's field: its leading digits, 0 when there
// are none, held at the largest count a 32-bit counter takes.
std::int32_t CountdownSeconds(std::string_view waitText);

// One second of a break's countdown, as its OK button shows it.
struct CountdownStep {
    std::string caption; // "OK (Wait n sec)" while counting, "OK" at the end
    bool ended = false;  // the OK button is enabled and the countdown timer stops
};

// Counts a second off g_nBreakCountdown, with g_bBreakRunning set while it counts. At the end the
// countdown is reloaded from the Settings dialog's seconds field for the next break.
CountdownStep TickBreakCountdown(std::string_view waitText);
