#include "faked_clock.h"

#include "kelvaro_driver.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>

namespace {

// The file with the offset in seconds from the real time, named by the session.
constexpr char kClockFileVariable[] = "KELVARO_FAKED_CLOCK";
// With a cache of one second, libfaketime in each process reads the file again at the latest two
// seconds after its last reading, so every program has taken a new offset after this.
constexpr DWORD kClockSettleMs = 2500;
// The clock may be read this far from the real time plus the offset (the tick count and the clock
// drifting apart); a clock that libfaketime does not move is off by the whole offset.
constexpr std::int64_t kClockToleranceMs = 2000;
constexpr std::int64_t kFileTimeTo1970Ms = 11644473600000;

std::int64_t ClockMilliseconds()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULARGE_INTEGER value{{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<std::int64_t>(value.QuadPart / 10000) - kFileTimeTo1970Ms;
}

// The offset in force, written by this process alone, and from it the real time, which the tick
// count carries on because this process's own clock is faked as well.
struct Session {
    std::filesystem::path file;
    std::int64_t offsetSeconds = 0;
    std::int64_t realMsAtStart = 0;
    ULONGLONG tickAtStart = 0;

    std::int64_t RealMilliseconds() const
    {
        return realMsAtStart + static_cast<std::int64_t>(GetTickCount64() - tickAtStart);
    }
};

std::optional<Session>& TheSession()
{
    static std::optional<Session> session = []() -> std::optional<Session> {
        const char* path = std::getenv(kClockFileVariable);
        if (!path || !*path)
            return std::nullopt;
        Session found;
        found.file = ToWindowsPath(path);
        std::ifstream file(found.file);
        long long offset = 0;
        if (!(file >> offset))
            return std::nullopt;
        found.offsetSeconds = offset;
        found.tickAtStart = GetTickCount64();
        found.realMsAtStart = ClockMilliseconds() - offset * 1000;
        return found;
    }();
    return session;
}

Session* RequireSession()
{
    std::optional<Session>& session = TheSession();
    if (!session) {
        ADD_FAILURE() << "no faked clock: run this test through tests/e2e/run-with-faked-clock.sh";
        return nullptr;
    }
    return &*session;
}

// Sets the clock so that it reads `targetMs` at the moment every program has taken the new offset.
void SetClockMilliseconds(Session& session, std::int64_t targetMs)
{
    const std::int64_t offset =
        std::llround(static_cast<double>(targetMs - session.RealMilliseconds() - kClockSettleMs) / 1000.0);
    // A reader must never find the file half written: it would take the real time for a second.
    const std::filesystem::path written = session.file.wstring() + L".new";
    {
        std::ofstream file(written, std::ios::binary | std::ios::trunc);
        file << (offset >= 0 ? "+" : "") << offset << "\n";
        ASSERT_TRUE(file.good()) << "could not write " << written.string();
    }
    ASSERT_TRUE(MoveFileExW(written.c_str(), session.file.c_str(), MOVEFILE_REPLACE_EXISTING))
        << "could not replace " << session.file.string() << " (error " << GetLastError() << ")";
    session.offsetSeconds = offset;
    Sleep(kClockSettleMs);
    // On a busy machine the sleep may last longer, and the clock have gone on from the target.
    const std::int64_t readMs = ClockMilliseconds();
    const std::int64_t expectedMs = session.RealMilliseconds() + offset * 1000;
    EXPECT_LE(std::abs(readMs - expectedMs), kClockToleranceMs)
        << "the clock reads " << Describe(FakedClock::Local(readMs / 1000)) << " instead of "
        << Describe(FakedClock::Local(expectedMs / 1000)) << ": is libfaketime loaded?";
}

bool SameTime(const LocalTime& a, const LocalTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}

} // namespace

bool FakedClock::Available()
{
    return TheSession().has_value();
}

std::int64_t FakedClock::Seconds(const LocalTime& time)
{
    for (int daylightSaving : {1, 0}) {
        std::tm local{};
        local.tm_year = time.year - 1900;
        local.tm_mon = time.month - 1;
        local.tm_mday = time.day;
        local.tm_hour = time.hour;
        local.tm_min = time.minute;
        local.tm_sec = time.second;
        local.tm_isdst = daylightSaving;
        const std::time_t seconds = std::mktime(&local);
        if (seconds != static_cast<std::time_t>(-1) && SameTime(Local(seconds), time))
            return seconds;
    }
    ADD_FAILURE() << "the local clock never shows " << Describe(time);
    return 0;
}

LocalTime FakedClock::Local(std::int64_t seconds)
{
    const std::time_t moment = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_s(&local, &moment) != 0)
        return {};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

void FakedClock::Set(const LocalTime& time)
{
    if (Session* session = RequireSession())
        SetClockMilliseconds(*session, Seconds(time) * 1000);
}

void FakedClock::MoveBy(std::int64_t seconds)
{
    // From the clock as set, which this process's own reading may lag behind for a moment.
    if (Session* session = RequireSession())
        SetClockMilliseconds(*session, session->RealMilliseconds() + (session->offsetSeconds + seconds) * 1000);
}

std::int64_t FakedClock::Now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string DateText(const LocalTime& time)
{
    return std::to_string(time.year) + "-" + std::to_string(time.month) + "-" + std::to_string(time.day);
}

std::string Describe(const LocalTime& time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return text;
}
