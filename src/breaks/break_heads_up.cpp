#include "breaks/break_heads_up.h"

#include "language/text_format.h"
#include "language/translation.h"

#include <algorithm>

namespace {
constexpr std::int32_t kHalfSecondMs = 500;
constexpr std::int32_t kSecondMs = 1000;
} // namespace

std::string HeadsUpText(int secondsLeft)
{
    return FillText(TrN("A break starts in %s second", "A break starts in %s seconds",
                        static_cast<unsigned long>(std::max(secondsLeft, 0))),
                    {std::to_string(secondsLeft)});
}

int BreakHeadsUp::SecondsLeft(std::uint32_t tickMs) const
{
    // The difference of two tick counts is right across the count's wrap.
    const auto left = static_cast<std::int32_t>(m_nStageEndTick - tickMs);
    return left < kHalfSecondMs ? 0 : (left + kHalfSecondMs) / kSecondMs;
}

bool BreakHeadsUp::OnBreakDue(std::uint32_t tickMs)
{
    if (Pending())
        return false;
    m_stage = Stage::Shown;
    m_nStageEndTick = tickMs + kHeadsUpMs;
    m_nPostponements = 0;
    m_bWaitingForPause = false;
    return true;
}

HeadsUpEvent BreakHeadsUp::OnTick(std::uint32_t tickMs, std::int64_t idleMs)
{
    if (!Pending() || SecondsLeft(tickMs) > 0)
        return HeadsUpEvent::None;
    if (m_stage == Stage::Shown) {
        const auto overdueMs = static_cast<std::int32_t>(tickMs - m_nStageEndTick);
        m_bWaitingForPause = idleMs < kPauseInTypingMs && overdueMs < kLongestWaitForPauseMs;
        if (m_bWaitingForPause)
            return HeadsUpEvent::None;
        m_stage = Stage::Idle;
        return HeadsUpEvent::BreakDue;
    }
    m_stage = Stage::Shown;
    m_nStageEndTick = tickMs + kHeadsUpMs;
    return HeadsUpEvent::HeadsUpDue;
}

std::uint32_t BreakHeadsUp::TimerPeriodMs() const
{
    if (!Pending())
        return 0;
    return Shown() && m_bWaitingForPause ? kPauseWatchTickMs : kHeadsUpTickMs;
}

bool BreakHeadsUp::Postpone(std::uint32_t tickMs)
{
    if (!Shown() || m_nPostponements >= kMostPostponements)
        return false;
    ++m_nPostponements;
    m_stage = Stage::Postponed;
    m_bWaitingForPause = false;
    m_nStageEndTick = tickMs + kPostponeMs;
    return true;
}

bool BreakHeadsUp::StartNow()
{
    if (!Shown())
        return false;
    m_stage = Stage::Idle;
    return true;
}

void BreakHeadsUp::End()
{
    m_stage = Stage::Idle;
    m_bWaitingForPause = false;
}

HeadsUpView BreakHeadsUp::View(std::uint32_t tickMs) const
{
    HeadsUpView view;
    // The break comes at the tick that finds no second left; until then the last second shows.
    view.text = HeadsUpText(Shown() ? std::max(1, SecondsLeft(tickMs)) : kHeadsUpMs / kSecondMs);
    view.canPostpone = m_nPostponements < kMostPostponements;
    view.postponeCaption = Tr(view.canPostpone ? kPostponeCaption : kPostponedTwiceCaption);
    return view;
}
