#include "app/supervision_state.h"

SupervisionState g_supervision;
const bool& g_bRunning = g_supervision.RunningFlag();
const bool& g_bBreakRunning = g_supervision.BreakRunningFlag();
const std::int32_t& g_nBreakCountdown = g_supervision.BreakCountdownSeconds();

CountdownStep SupervisionState::TickBreakCountdown(std::int32_t nextSeconds)
{
    m_bBreakRunning = true;
    --m_nBreakCountdown;
    if (m_nBreakCountdown > 0)
        return {m_nBreakCountdown, false};
    m_nBreakCountdown = nextSeconds;
    m_bBreakRunning = false;
    return {0, true};
}

bool SupervisionState::ReminderWithin(std::uint32_t tick, std::uint32_t distanceMs) const
{
    return m_nLastReminderTick && tick - *m_nLastReminderTick < distanceMs;
}

void SupervisionState::ForgetRemindersBefore(std::uint32_t tick, std::uint32_t distanceMs)
{
    if (m_nLastReminderTick && !ReminderWithin(tick, distanceMs))
        m_nLastReminderTick.reset();
}
