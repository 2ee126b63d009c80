#include "app/timer_plan.h"

#include <algorithm>
#include <limits>

namespace {

// Health tips come about 2.33 times less often than the other messages; the odd milliseconds
// keep the timers from ticking in step.
constexpr MessagePeriods kPeriods30Min{4209000, 1830000, 1830000};
constexpr MessagePeriods kPeriods45Min{6219199, 2704000, 2704000};
constexpr MessagePeriods kPeriods60Min{8289268, 3604030, 3604070};
constexpr MessagePeriods kPeriodsNoneChecked{4146899, 1803000, 1804000};
constexpr std::int64_t kHealthTipMsPerOtherMinute = 139800;
constexpr std::int64_t kMessageMsPerOtherMinute = 60000;
constexpr std::int64_t kLongestPeriodMs = std::numeric_limits<std::int32_t>::max();

std::int32_t OtherPeriod(std::int64_t minutes, std::int64_t msPerMinute)
{
    if (minutes > kLongestPeriodMs / msPerMinute)
        return static_cast<std::int32_t>(kLongestPeriodMs);
    return static_cast<std::int32_t>(minutes * msPerMinute);
}

} // namespace

MessagePeriods PlanMessagePeriods(int checkedIntervalButton, std::int64_t otherMinutes)
{
    switch (checkedIntervalButton) {
    case kInterval30Min:
        return kPeriods30Min;
    case kInterval45Min:
        return kPeriods45Min;
    case kInterval60Min:
        return kPeriods60Min;
    case kIntervalOther:
        return {OtherPeriod(otherMinutes, kHealthTipMsPerOtherMinute),
                OtherPeriod(otherMinutes, kMessageMsPerOtherMinute),
                OtherPeriod(otherMinutes, kMessageMsPerOtherMinute)};
    default:
        return kPeriodsNoneChecked;
    }
}

std::vector<TimerArming> PlanTimers(int checkedIntervalButton, std::int64_t otherMinutes, TimerChoices choices)
{
    const MessagePeriods periods = PlanMessagePeriods(checkedIntervalButton, otherMinutes);
    std::vector<TimerArming> timers;
    if (choices.healthTips)
        timers.push_back({kHealthTipTimer, periods.healthTipMs});
    if (choices.timeBreaks)
        timers.push_back({kTimeBreakTimer, periods.timeBreakMs});
    if (choices.sleepMessages)
        timers.push_back({kSleepMessageTimer, periods.sleepMessageMs});
    if (choices.shutdownService)
        timers.push_back({kShutdownCheckTimer, kOncePerSecondMs});
    timers.push_back({kActivityTimer, kOncePerSecondMs});
    timers.push_back({kSaveTimeFilesTimer, kSaveTimeFilesPeriodMs});
    timers.push_back({kQuietCheckTimer, kQuietCheckPeriodMs});
    return timers;
}

std::vector<unsigned> TimersRemovedAtStop()
{
    return {kHealthTipTimer, kTimeBreakTimer,     kSleepMessageTimer, kShutdownCheckTimer,
            kActivityTimer,  kSaveTimeFilesTimer, kQuietCheckTimer,   kBreakHeadsUpTimer};
}

std::int64_t LeadingNumber(std::string_view text)
{
    // Past a ceiling that no interval reaches, further digits only keep the value there.
    constexpr std::int64_t kCeiling = std::numeric_limits<std::int64_t>::max() / 100;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value >= kCeiling ? kCeiling : value * 10 + (c - '0');
    }
    return value;
}

bool IntervalAllowsStart(int checkedIntervalButton, std::string_view otherMinutesText)
{
    if (otherMinutesText.empty())
        return false;
    return checkedIntervalButton != kIntervalOther || LeadingNumber(otherMinutesText) >= 1;
}
