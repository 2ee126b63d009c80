#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

// The main window's timers, told apart by their ids.
constexpr unsigned kHealthTipTimer = 1;
constexpr unsigned kTimeBreakTimer = 2;
constexpr unsigned kSleepMessageTimer = 3;
constexpr unsigned kShutdownCheckTimer = 4;
constexpr unsigned kHideToTrayTimer = 5;
constexpr unsigned kActivityTimer = 6;
constexpr unsigned kBreakCountdownTimer = 7;
// Saves today's log and the history while supervision runs, so a crash costs minutes, not the day.
constexpr unsigned kSaveTimeFilesTimer = 8;
// Asks the system every few seconds whether the user presents, is in a call or is full screen.
constexpr unsigned kQuietCheckTimer = 9;
// Counts the seconds of the heads-up before a forced break, and of a break put off.
constexpr unsigned kBreakHeadsUpTimer = 10;
// Ends a pause the user chose, also while supervision is stopped, so the tooltip follows it.
constexpr unsigned kPauseEndTimer = 11;

constexpr std::int32_t kOncePerSecondMs = 1000;
constexpr std::int32_t kHideToTrayDelayMs = 20;
constexpr std::int32_t kSaveTimeFilesPeriodMs = 5 * 60 * 1000;
constexpr std::int32_t kQuietCheckPeriodMs = 5000;

// The interval buttons of the main window; "Other" takes its minutes from an edit field.
constexpr int kInterval30Min = 1021;
constexpr int kInterval45Min = 1022;
constexpr int kInterval60Min = 1023;
constexpr int kIntervalOther = 1024;

struct MessagePeriods {
    std::int32_t healthTipMs;
    std::int32_t timeBreakMs;
    std::int32_t sleepMessageMs;
};

// Periods of timers 1 to 3 for the checked interval button (0 when none is checked). Large
// "Other" values are held at the longest period a timer takes instead of overflowing.
MessagePeriods PlanMessagePeriods(int checkedIntervalButton, std::int64_t otherMinutes);

// Which timers the check boxes ask for at Start.
struct TimerChoices {
    bool healthTips;
    bool timeBreaks;
    bool sleepMessages;
    bool shutdownService;
};

struct TimerArming {
    unsigned id;
    std::int32_t periodMs;
};

// The timers Start sets, in the order it sets them; the activity, saving and quiet-check timers always.
std::vector<TimerArming> PlanTimers(int checkedIntervalButton, std::int64_t otherMinutes, TimerChoices choices);

// The timers Stop removes, the heads-up's too; the hide and countdown timers live on their own.
std::vector<unsigned> TimersRemovedAtStop();

// The decimal value of a text's leading digits, 0 when there are none; a huge number is held at a ceiling.
std::int64_t LeadingNumber(std::string_view text);

// Start needs an interval: the minutes field may never be empty, and under "Other" it must hold at least 1.
bool IntervalAllowsStart(int checkedIntervalButton, std::string_view otherMinutesText);
