#pragma once
// Local dates and times for the tests: Berlin's zone, whose clocks move twice a year, set for a
// test and put back after it, and local timestamps as the C library converts them.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// Central European time, spelled out so that no time-zone database is needed.
inline constexpr char kBerlin[] = "CET-1CEST,M3.5.0,M10.5.0/3";

class InBerlin : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* zone = std::getenv("TZ"))
            m_previousZone = zone;
        setenv("TZ", kBerlin, 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_previousZone)
            setenv("TZ", m_previousZone->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_previousZone;
};

inline std::int64_t LocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}
