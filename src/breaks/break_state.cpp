#include "breaks/break_state.h"

#include "app/timer_plan.h"
#include "language/text_format.h"
#include "language/translation.h"

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
        step.caption = FillText(Tr("OK (Wait %s sec)"), {std::to_string(g_nBreakCountdown)});
        return step;
    }
    step.caption = Tr("OK");
    step.ended = true;
    g_nBreakCountdown = CountdownSeconds(waitText);
    g_bBreakRunning = false;
    return step;
}
