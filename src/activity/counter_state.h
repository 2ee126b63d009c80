#pragma once
#include <cstdint>

// The count of the counted day, touched only on the user-interface thread.
extern std::int32_t g_nActiveTimeMs;
extern std::int32_t g_nRestoredTimeMs;
extern std::uint32_t g_dwStartTick;
extern std::int32_t g_nIdleTimeMs;
extern std::int64_t g_timeCountedDay;
// Tick count of the last activity tick (or of the Start or day change), to tell a late tick.
extern std::uint32_t g_dwPreviousTick;
// The count in memory is the counted day's: a Start has restored it in this run. Until then a
// save must not put the empty count of a fresh run over the day's stored time.
extern bool g_bCountKnown;
