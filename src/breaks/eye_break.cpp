#include "breaks/eye_break.h"

#include <algorithm>

namespace {
constexpr std::int64_t kMsPerMinute = 60000;
constexpr std::int64_t kMsPerSecond = 1000;
} // namespace

void EyeBreakTimer::Start(std::uint32_t tick, int minutes)
{
    *this = EyeBreakTimer{};
    m_nIntervalMs = minutes * kMsPerMinute;
    m_nPreviousTick = tick;
}

EyeBreakStep EyeBreakTimer::OnTick(const EyeBreakMoment& moment)
{
    const std::uint32_t sincePreviousTick = moment.tick - m_nPreviousTick;
    m_nPreviousTick = moment.tick;
    if (m_nShownTick)
        return OnTickShown(moment, sincePreviousTick);
    // Screen time without input: the eyes did not rest, and did no work either.
    if (moment.displayRequired && moment.idleMs >= kLookAwayMs && !moment.busy && !moment.paused)
        return {};
    if (moment.busy || moment.paused || moment.idleMs >= kLookAwayMs) {
        m_nActiveMs = 0;
        return {};
    }
    // A tick held up for longer than a look-away can't vouch that the time between was work.
    m_nActiveMs += std::min<std::int64_t>(sincePreviousTick, kLookAwayMs);
    const bool nearReminder = moment.lastReminderTick && moment.tick - *moment.lastReminderTick < kEyeBreakDistanceMs;
    if (m_nActiveMs < m_nIntervalMs || moment.otherOnScreen || nearReminder)
        return {};
    m_nShownTick = moment.tick;
    return {true, kEyeBreakSeconds, EyeBreakEvent::Offered};
}

EyeBreakStep EyeBreakTimer::OnTickShown(const EyeBreakMoment& moment, std::uint32_t sincePreviousTick)
{
    if (m_nDoneTick) {
        if (moment.tick - *m_nDoneTick >= kEyeBreakDoneMs)
            return Close(std::nullopt);
        return {true, 0, std::nullopt};
    }
    if (moment.busy || moment.paused)
        return Close(EyeBreakEvent::Missed);
    const std::uint32_t onScreen = moment.tick - *m_nShownTick;
    // Stillness from before the popup came doesn't count: the countdown starts when it is seen.
    const std::int64_t stillMs = std::clamp<std::int64_t>(moment.idleMs, 0, onScreen);
    if (stillMs >= kEyeBreakSeconds * kMsPerSecond) {
        m_nDoneTick = moment.tick;
        return {true, 0, EyeBreakEvent::Taken};
    }
    if (onScreen >= kEyeBreakMissedAfterMs && moment.idleMs < sincePreviousTick)
        return Close(EyeBreakEvent::Missed);
    return {true, kEyeBreakSeconds - static_cast<int>(stillMs / kMsPerSecond), std::nullopt};
}

EyeBreakStep EyeBreakTimer::Close(std::optional<EyeBreakEvent> event)
{
    m_nShownTick.reset();
    m_nDoneTick.reset();
    m_nActiveMs = 0;
    return {false, 0, event};
}
