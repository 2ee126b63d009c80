#include "breaks/break_state.h"

#include "app/timer_plan.h"

#include <algorithm>
#include <limits>

bool g_bBreakRunning = false;
std::int32_t g_nBreakCountdown = 0;

std::int32_t CountdownSeconds(std::string_view waitText)
{
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(LeadingNumber(waitText), std::numeric_limits<std::int32_t>::max()));
}
