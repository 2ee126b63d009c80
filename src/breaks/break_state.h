#pragma once
#include <cstdint>

// A forced-break countdown is running: Quit asks first, and hiding the main window brings the break back.
extern bool g_bBreakRunning;
// Seconds left in the countdown; reloaded from the Settings dialog at Start and at every countdown end.
extern std::int32_t g_nBreakCountdown;
