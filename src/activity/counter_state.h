#pragma once
#include <cstdint>

// The count of the counted day, touched only on the user-interface thread.
extern std::int32_t g_nActiveTimeMs;
extern std::int32_t g_nRestoredTimeMs;
extern std::uint32_t g_dwStartTick;
extern std::int32_t g_nIdleTimeMs;
extern std::int64_t g_timeCountedDay;
