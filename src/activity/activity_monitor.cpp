#include "activity/activity_monitor.h"

#include "activity/counter_state.h"
#include "messages/message_scheduler.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr std::int32_t kMsPerMinute = 60000;
constexpr std::int32_t kMsPerHour = 3600000;
constexpr std::int32_t kMsPerSecond = 1000;
constexpr int kLastPartialPicture = 7;
constexpr int kAllRedPicture = 8;
constexpr std::int32_t kAllRedFromHours = 9;

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

ActiveTime CountActivity(std::uint32_t nowTick, std::optional<std::uint32_t> lastInputTick)
{
    if (lastInputTick) {
        const std::int32_t idleFor = Wrapped(nowTick - *lastInputTick);
        if (idleFor > IDLE_LIMIT_MS) {
            const std::uint32_t sincePreviousTick = nowTick - g_dwPreviousTick;
            std::uint32_t takenOff = static_cast<std::uint32_t>(kIdleStepMs);
            // A late tick takes off the whole part of its gap that lies beyond the pause's first minute.
            if (sincePreviousTick > kLateTickMs)
                takenOff = std::min(sincePreviousTick, static_cast<std::uint32_t>(idleFor - IDLE_LIMIT_MS));
            // Never more than the time the tick counted: the tick that begins a new day's count
            // counts nothing, and would otherwise start the day a second below zero.
            takenOff = std::min(takenOff, sincePreviousTick);
            g_nIdleTimeMs = Wrapped(static_cast<std::uint32_t>(g_nIdleTimeMs) + takenOff);
        }
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

std::string FormatActiveTimeText(const ActiveTime& time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(time.hours), static_cast<int>(time.minutes),
                  static_cast<int>(time.msInMinute / kMsPerSecond));
    return text;
}

std::optional<int> TrayPictureForHours(std::int32_t hours)
{
    if (hours <= 0)
        return std::nullopt;
    if (hours >= kAllRedFromHours)
        return kAllRedPicture;
    return std::min<int>(hours, kLastPartialPicture);
}

std::string ActiveTimeTooltip(const std::string& formattedTime)
{
    return "Active time today: " + formattedTime;
}
