#include "breaks/break_state.h"

bool g_bBreakRunning = false;
std::int32_t g_nBreakCountdown = 0;
