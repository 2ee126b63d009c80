#include "activity/calendar.h"

#include "platform/text_chars.h"

#include <cstdio>
#include <ctime>

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kOrdinaryDayMs = kMsPerSecond * 24 * 60 * 60;
constexpr int kTmBaseYear = 1900;

bool ToLocalTime(std::time_t time, std::tm& local)
{
#ifdef _WIN32
    return localtime_s(&local, &time) == 0;
#else
    return localtime_r(&time, &local) != nullptr;
#endif
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

} // namespace

std::optional<std::int64_t> LocalTimeAt(const CivilDate& date, int dayOffset, int hour)
{
    std::tm local{};
    local.tm_year = date.year - kTmBaseYear;
    local.tm_mon = date.month - 1;
    local.tm_mday = date.day + dayOffset;
    local.tm_hour = hour;
    local.tm_isdst = -1;
    const std::time_t time = std::mktime(&local);
    if (time == static_cast<std::time_t>(-1))
        return std::nullopt;
    return static_cast<std::int64_t>(time);
}

std::optional<CivilDate> LocalDate(std::int64_t time)
{
    std::tm local{};
    if (!ToLocalTime(static_cast<std::time_t>(time), local))
        return std::nullopt;
    return CivilDate{local.tm_year + kTmBaseYear, local.tm_mon + 1, local.tm_mday};
}

std::optional<TimeOfDay> LocalTimeOfDay(std::int64_t time)
{
    std::tm local{};
    if (!ToLocalTime(static_cast<std::time_t>(time), local))
        return std::nullopt;
    return TimeOfDay{local.tm_hour, local.tm_min, local.tm_sec};
}

bool IsValidDate(const CivilDate& date)
{
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= DaysInMonth(date.year, date.month);
}

std::int64_t LocalDayLengthMs(const CivilDate& date)
{
    if (!IsValidDate(date))
        return kOrdinaryDayMs;
    const std::optional<std::int64_t> start = LocalTimeAt(date, 0, 0);
    const std::optional<std::int64_t> end = LocalTimeAt(date, 1, 0);
    if (!start || !end || *end <= *start)
        return kOrdinaryDayMs;
    return (*end - *start) * kMsPerSecond;
}

std::optional<std::int64_t> LocalMoment(const CivilDate& date, const TimeOfDay& time)
{
    // Read once as standard time and once as summer time: a reading the clock really shows at its
    // moment is one of the two moments, and a time the clock skips shows on neither.
    std::optional<std::int64_t> shown;
    std::optional<std::int64_t> standard;
    for (const int summer : {0, 1}) {
        std::tm local{};
        local.tm_year = date.year - kTmBaseYear;
        local.tm_mon = date.month - 1;
        local.tm_mday = date.day;
        local.tm_hour = time.hour;
        local.tm_min = time.minute;
        local.tm_sec = time.second;
        local.tm_isdst = summer;
        const std::time_t moment = std::mktime(&local);
        if (moment == static_cast<std::time_t>(-1))
            continue;
        if (summer == 0)
            standard = static_cast<std::int64_t>(moment);
        std::tm back{};
        if (!ToLocalTime(moment, back))
            continue;
        const bool sameReading = back.tm_year + kTmBaseYear == date.year && back.tm_mon + 1 == date.month &&
                                 back.tm_mday == date.day && back.tm_hour == time.hour && back.tm_min == time.minute &&
                                 back.tm_sec == time.second;
        if (sameReading && (!shown || moment > *shown))
            shown = static_cast<std::int64_t>(moment);
    }
    return shown ? shown : standard;
}

std::string FormatClockTime(int minuteOfDay)
{
    constexpr int kMinutesPerHour = 60;
    constexpr int kHoursPerDay = 24;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minuteOfDay / kMinutesPerHour % kHoursPerDay,
                  minuteOfDay % kMinutesPerHour);
    return text;
}

std::optional<int> ParseClockTime(std::string_view text)
{
    constexpr int kMinutesPerHour = 60;
    constexpr int kLastHour = 23;
    constexpr int kLastMinute = 59;
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() != colon + 3)
        return std::nullopt;
    int hour = 0;
    for (char digit : text.substr(0, colon)) {
        if (!IsDigit(digit))
            return std::nullopt;
        hour = hour * 10 + (digit - '0');
    }
    const char tens = text[colon + 1];
    const char units = text[colon + 2];
    if (!IsDigit(tens) || !IsDigit(units))
        return std::nullopt;
    const int minute = (tens - '0') * 10 + (units - '0');
    if (hour > kLastHour || minute > kLastMinute)
        return std::nullopt;
    return hour * kMinutesPerHour + minute;
}
