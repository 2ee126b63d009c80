#include "breaks/break_state.h"

#include "app/timer_plan.h"
#include "language/text_format.h"
#include "language/translation.h"

#include <algorithm>
#include <limits>

std::int32_t CountdownSeconds(std::string_view waitText)
{
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(LeadingNumber(waitText), std::numeric_limits<std::int32_t>::max()));
}

std::string CountdownCaption(const CountdownStep& step)
{
    if (step.ended)
        return Tr("OK");
    return FillText(Tr("OK (Wait %s sec)"), {std::to_string(step.secondsLeft)});
}
