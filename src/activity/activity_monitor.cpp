#include "activity/activity_monitor.h"

#include "activity/counter_state.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "messages/message_scheduler.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::int32_t kMsPerMinute = 60000;
constexpr std::int32_t kMsPerHour = 3600000;
constexpr std::int32_t kMsPerSecond = 1000;
constexpr int kLastPartialPicture = 7;
constexpr int kAllRedPicture = 8;
constexpr std::int32_t kAllRedFromHours = 9;
constexpr const char* kTooltipText = TrLater("Active time today: %s");

// Signed 32-bit sums that wrap instead of overflowing, as the tick count does.
std::int32_t Wrapped(std::uint32_t value)
{
    return static_cast<std::int32_t>(value);
}
} // namespace

void RestartCount(std::uint32_t nowTick, std::int32_t restoredMs)
{
    g_nRestoredTimeMs = restoredMs;
    g_nActiveTimeMs = restoredMs;
    g_dwStartTick = nowTick;
    g_dwPreviousTick = nowTick;
    g_nIdleTimeMs = 0;
    ResetWarningThreshold(restoredMs);
}

bool CountsAsActive(std::uint32_t nowTick, std::optional<std::uint32_t> lastInputTick)
{
    return !lastInputTick || Wrapped(nowTick - *lastInputTick) <= IDLE_LIMIT_MS;
}

ActiveTime CountActivity(std::uint32_t nowTick, std::optional<std::uint32_t> lastInputTick)
{
    if (lastInputTick && !CountsAsActive(nowTick, lastInputTick)) {
        // The whole time since the previous tick is taken off, as far as it lies past the pause's
        // first minute: a timer that fires a few milliseconds late each second, or a tick held up
        // for hours, must not count an idle night as active. The tick that begins a new day's
        // count has no time behind it and takes off nothing.
        const std::int32_t idleFor = Wrapped(nowTick - *lastInputTick);
        const std::uint32_t sincePreviousTick = nowTick - g_dwPreviousTick;
        const std::uint32_t takenOff = std::min(sincePreviousTick, static_cast<std::uint32_t>(idleFor - IDLE_LIMIT_MS));
        g_nIdleTimeMs = Wrapped(static_cast<std::uint32_t>(g_nIdleTimeMs) + takenOff);
    }
    g_dwPreviousTick = nowTick;
    g_nActiveTimeMs = Wrapped(static_cast<std::uint32_t>(g_nRestoredTimeMs) -
                              static_cast<std::uint32_t>(g_nIdleTimeMs) - g_dwStartTick + nowTick);
    return SplitForDisplay(g_nActiveTimeMs);
}

ActiveTime SplitForDisplay(std::int32_t activeMs)
{
    const std::int32_t wholeMinutes = activeMs / kMsPerMinute;
    ActiveTime time;
    time.hours = std::max(0, activeMs / kMsPerHour);
    time.minutes = std::max(0, wholeMinutes - 60 * (activeMs / kMsPerHour));
    time.msInMinute = std::max(0, activeMs - kMsPerMinute * wholeMinutes);
    return time;
}

std::optional<int> TrayPictureForHours(std::int32_t hours)
{
    if (hours <= 0)
        return std::nullopt;
    if (hours >= kAllRedFromHours)
        return kAllRedPicture;
    return std::min<int>(hours, kLastPartialPicture);
}

ActiveTimeTexts FormatActiveTimeTexts(const ActiveTime& time)
{
    ActiveTimeTexts texts{};
    char* out = texts.time;
    // The hours' digits, most significant first; a count of 32-bit milliseconds has at most three.
    char hourDigits[12];
    int hourDigitCount = 0;
    for (std::int32_t hours = time.hours; hours > 0 || hourDigitCount < 2; hours /= 10)
        hourDigits[hourDigitCount++] = static_cast<char>('0' + hours % 10);
    while (hourDigitCount > 0)
        *out++ = hourDigits[--hourDigitCount];
    const std::int32_t seconds = time.msInMinute / kMsPerSecond;
    for (const std::int32_t twoDigits : {time.minutes, seconds}) {
        *out++ = ':';
        *out++ = static_cast<char>('0' + twoDigits / 10);
        *out++ = static_cast<char>('0' + twoDigits % 10);
    }
    FillTextInto(texts.tooltip, sizeof texts.tooltip, Tr(kTooltipText),
                 {std::string_view(texts.time, static_cast<std::size_t>(out - texts.time))});
    return texts;
}
