#pragma once
// Local times for the tests, as the C library converts them; the day may run past the month's end.

#include <chrono>
#include <cstdint>
#include <ctime>

inline std::tm LocalTm(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return local;
}

inline std::int64_t LocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    std::tm local = LocalTm(year, month, day, hour, minute, second);
    return static_cast<std::int64_t>(std::mktime(&local));
}

// A moment given in UTC, for the nights the local clock shows an hour twice or skips one.
inline std::int64_t UtcTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    using namespace std::chrono;
    const sys_days date{std::chrono::year{year} / month / day};
    return duration_cast<seconds>((date + hours{hour} + minutes{minute} + seconds{second}).time_since_epoch()).count();
}
