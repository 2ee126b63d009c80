#pragma once
#include <cstdint>
#include <optional>

// A pause counts as active for its first minute; from then on every idle second is taken off.
constexpr std::int32_t IDLE_LIMIT_MS = 60000;

// Today's active time for the display.
struct ActiveTime {
    std::int32_t hours = 0;
    std::int32_t minutes = 0;    // 0 to 59
    std::int32_t msInMinute = 0; // 0 to 59999
};

// Begins counting at a tick from a restored count: at Start and at a change of day. The
// long-activity warning then comes at the next multiple of four hours.
void RestartCount(std::uint32_t nowTick, std::int32_t restoredMs);

// Whether the second of a tick counts as active: input within the last minute, or an unknown last input.
bool CountsAsActive(std::uint32_t nowTick, std::optional<std::uint32_t> lastInputTick);

// One activity tick: takes idle time off by the idle rule and recomputes g_nActiveTimeMs.
// A failed last-input query counts as active. Tick arithmetic wraps, so the tick count's
// wrap after 49.7 days changes nothing.
ActiveTime CountActivity(std::uint32_t nowTick, std::optional<std::uint32_t> lastInputTick);

// Splits a count for the display; a negative part shows as 0.
ActiveTime SplitForDisplay(std::int32_t activeMs);

// The tray picture for the hours of today's count: nothing (keep the shown one) before the
// first hour, then one eighth of the bar per hour, all red from nine hours on.
std::optional<int> TrayPictureForHours(std::int32_t hours);

// The texts every tick shows, held in place: the tick runs every second and allocates nothing.
struct ActiveTimeTexts {
    char time[24];    // "HH:MM:SS", two digits at least for each; hours are not reduced modulo 24
    char tooltip[128]; // the tray tooltip, "Active time today: " and the time
};
ActiveTimeTexts FormatActiveTimeTexts(const ActiveTime& time);
