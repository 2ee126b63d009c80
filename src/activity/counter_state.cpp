#include "activity/counter_state.h"

std::int32_t g_nActiveTimeMs = 0;
std::int32_t g_nRestoredTimeMs = 0;
std::uint32_t g_dwStartTick = 0;
std::int32_t g_nIdleTimeMs = 0;
std::int64_t g_timeCountedDay = 0;
std::uint32_t g_dwPreviousTick = 0;
bool g_bCountKnown = false;
