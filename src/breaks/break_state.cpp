#include "breaks/break_state.h"

#include "app/timer_plan.h"

#include <algorithm>
#include <cstdio>
#include <limits>

bool g_bBreakRunning = false;
std::int32_t g_nBreakCountdown = 0;

std::int32_t CountdownSeconds(std::string_view waitText)
{
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(LeadingNumber(waitText), std::numeric_limits<std::int32_t>::max()));
}

CountdownStep TickBreakCountdown(std::string_view waitText)
{
    g_bBreakRunning = true;
    --g_nBreakCountdown;
    CountdownStep step;
    if (g_nBreakCountdown > 0) {
        char caption[64];
        std::snprintf(caption, sizeof caption, "OK (Wait %d sec)", static_cast<int>(g_nBreakCountdown));
        step.caption = caption;
        return step;
    }
    step.caption = "OK";
    step.ended = true;
    g_nBreakCountdown = CountdownSeconds(waitText);
    g_bBreakRunning = false;
    return step;
}
