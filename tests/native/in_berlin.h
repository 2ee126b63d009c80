#pragma once
// Berlin's zone, whose clocks move twice a year, set for a test and put back after it.

#include "../local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

// Central European time, spelled out so that no time-zone database is needed.
inline constexpr char kBerlin[] = "CET-1CEST,M3.5.0,M10.5.0/3";

class InBerlin : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A test that sets itself up again must still put back the zone from before the first time.
        if (const char* zone = std::getenv("TZ"); zone && !m_bZoneSet)
            m_previousZone = zone;
        m_bZoneSet = true;
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
    bool m_bZoneSet = false;
};
