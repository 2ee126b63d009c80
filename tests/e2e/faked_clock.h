#pragma once
#include <cstdint>
#include <string>

// A local date and time of day.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The wall clock of the Wine session that tests/e2e/run-with-faked-clock.sh sets up, read by every
// program of that session, the program under test included. Moving it changes what their clocks
// say at once, while tick counts, timers and the last-input time go on undisturbed.
namespace FakedClock {

// Whether this process runs in such a session; every operation below fails the test otherwise.
bool Available();

// Seconds since 1970-01-01 UTC of a local time; an hour the clock shows twice at the end of
// daylight saving is taken in its first, daylight-saving reading. A time the clock skips fails.
std::int64_t Seconds(const LocalTime& time);
// The local time of such seconds.
LocalTime Local(std::int64_t seconds);

// Sets the clock to this local time and returns once every program of the session reads the new
// time, which on a busy machine may have gone on from it by then.
void Set(const LocalTime& time);
// Moves the clock on (or back) by so many seconds, the same way.
void MoveBy(std::int64_t seconds);
// The clock's seconds since 1970-01-01 UTC now.
std::int64_t Now();

} // namespace FakedClock

// "2026-12-8" (the way the program writes dates) and "2026-12-08 23:59:50" (for messages).
std::string DateText(const LocalTime& time);
std::string Describe(const LocalTime& time);
