#pragma once
// The heads-up before a forced break and the user's two answers to it. The heads-up counts 30
// seconds down, then the break comes at the first pause in the user's typing, at most 30 seconds
// later; "Postpone 5 minutes" puts the whole break, heads-up included, 5 minutes later, at most
// twice for the same break; "Start now" opens it at once. Time comes in as the system's tick
// count in milliseconds, which wraps after some 49 days.

#include "language/translation.h"

#include <cstdint>
#include <string>

constexpr std::int32_t kHeadsUpMs = 30000;
constexpr std::int32_t kPostponeMs = 5 * 60000;
constexpr int kMostPostponements = 2;
// Once the heads-up's time is over, the break waits for this long without input (a sentence
// finished, not cut), but no longer than kLongestWaitForPauseMs.
constexpr std::int64_t kPauseInTypingMs = 2000;
constexpr std::int32_t kLongestWaitForPauseMs = 30000;
// The timer's period while counting down, and while watching for the pause in typing.
constexpr std::uint32_t kHeadsUpTickMs = 1000;
constexpr std::uint32_t kPauseWatchTickMs = 250;

inline constexpr const char* kPostponeCaption = TrLater("Postpone 5 minutes");
inline constexpr const char* kPostponedTwiceCaption = TrLater("Postponed twice");

// "A break starts in 30 seconds", ..., "A break starts in 1 second".
std::string HeadsUpText(int secondsLeft);

enum class HeadsUpEvent {
    None,
    // The heads-up's time is over and the user paused typing: the break comes if the moment
    // still allows it.
    BreakDue,
    // A postponement is over: the heads-up shows again, if the moment allows it.
    HeadsUpDue,
};

// What the heads-up window shows.
struct HeadsUpView {
    std::string text;
    std::string postponeCaption;
    bool canPostpone = false;
    bool operator==(const HeadsUpView&) const = default;
};

class BreakHeadsUp {
public:
    // A forced break falls due: true when its heads-up starts. A heads-up shown or a break put off
    // already stands for it, so nothing stacks.
    bool OnBreakDue(std::uint32_t tickMs);
    // The heads-up's timer while a heads-up is shown or a break is put off, with the time since
    // the user's last input.
    HeadsUpEvent OnTick(std::uint32_t tickMs, std::int64_t idleMs);
    // "Postpone 5 minutes": false, and nothing changes, when no heads-up is shown or the break
    // was put off twice already.
    bool Postpone(std::uint32_t tickMs);
    // "Start now": true when a heads-up was shown; it ends and the break comes without further question.
    bool StartNow();
    // The heads-up and a break put off end: the moment did not allow them, or supervision stopped.
    void End();

    bool Shown() const { return m_stage == Stage::Shown; }
    bool Postponed() const { return m_stage == Stage::Postponed; }
    // A heads-up shown or a break put off: the timer runs.
    bool Pending() const { return m_stage != Stage::Idle; }
    HeadsUpView View(std::uint32_t tickMs) const;
    // How often the timer ticks: faster once the break waits for a pause in typing, 0 when idle.
    std::uint32_t TimerPeriodMs() const;

private:
    enum class Stage { Idle, Shown, Postponed };

    // Whole seconds left until the stage's end, rounded to the nearest, so that a timer tick a
    // little early or late still counts its own second.
    int SecondsLeft(std::uint32_t tickMs) const;

    Stage m_stage = Stage::Idle;
    // The countdown ended; the break waits for the user to pause.
    bool m_bWaitingForPause = false;
    std::uint32_t m_nStageEndTick = 0;
    int m_nPostponements = 0;
};
