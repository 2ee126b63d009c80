#include "messages/daily_limit.h"

#include "language/text_format.h"
#include "language/translation.h"
#include "platform/text_chars.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kMinutesPerHour = 60;
constexpr std::int64_t kMsPerMinute = 60000;
// Two digits a field: more can't name a limit below a day.
constexpr std::size_t kLongestField = 2;

std::optional<int> FieldNumber(std::string_view text)
{
    if (text.size() > kLongestField || !std::all_of(text.begin(), text.end(), IsDigit))
        return std::nullopt;
    int number = 0;
    for (char digit : text)
        number = number * 10 + (digit - '0');
    return number;
}

} // namespace

int DailyLimitMinutes(std::int64_t hours, std::int64_t minutes)
{
    if (hours < 0 || minutes < 0 || minutes >= kMinutesPerHour || hours > kLongestDailyLimitMinutes / kMinutesPerHour)
        return kDefaultDailyLimitMinutes;
    const int limit = static_cast<int>(hours * kMinutesPerHour + minutes);
    return limit == 0 ? kDefaultDailyLimitMinutes : limit;
}

int DailyLimitMinutesOfFields(std::string_view hours, std::string_view minutes)
{
    const std::optional<int> hourNumber = FieldNumber(hours);
    const std::optional<int> minuteNumber = FieldNumber(minutes);
    if (!hourNumber || !minuteNumber)
        return kDefaultDailyLimitMinutes;
    return DailyLimitMinutes(*hourNumber, *minuteNumber);
}

DailyLimit::DailyLimit(int limitMinutes)
    : m_nLimitMs(DailyLimitMinutes(limitMinutes / kMinutesPerHour, limitMinutes % kMinutesPerHour) * kMsPerMinute),
      m_nNextMs(m_nLimitMs)
{
}

void DailyLimit::Restart(std::int32_t countMs)
{
    if (countMs < m_nLimitMs) {
        m_nNextMs = m_nLimitMs;
        return;
    }
    const std::int64_t passed = (countMs - m_nLimitMs) / kDailyLimitRepeatMs;
    m_nNextMs = m_nLimitMs + (passed + 1) * kDailyLimitRepeatMs;
}

std::optional<int> DailyLimit::Due(std::int32_t activeMs)
{
    if (activeMs < m_nNextMs)
        return std::nullopt;
    // A count that leapt past several thresholds at once tells of the last of them, once.
    const std::int64_t reached = m_nLimitMs + (activeMs - m_nLimitMs) / kDailyLimitRepeatMs * kDailyLimitRepeatMs;
    m_nNextMs = reached + kDailyLimitRepeatMs;
    return static_cast<int>(reached / kMsPerMinute);
}

std::string DailyLimitText(int activeMinutes)
{
    const int hours = activeMinutes / kMinutesPerHour;
    const int minutes = activeMinutes % kMinutesPerHour;
    if (minutes == 0)
        return FillText(TrN("You have been active for %s hour today. Time to call it a day?",
                            "You have been active for %s hours today. Time to call it a day?",
                            static_cast<unsigned long>(hours)),
                        {std::to_string(hours)});
    if (hours == 0)
        return FillText(TrN("You have been active for %s minute today. Time to call it a day?",
                            "You have been active for %s minutes today. Time to call it a day?",
                            static_cast<unsigned long>(minutes)),
                        {std::to_string(minutes)});
    char time[16];
    std::snprintf(time, sizeof time, "%d:%02d", hours, minutes);
    return FillText(TrC("hours and minutes", "You have been active for %s hours today. Time to call it a day?"), {time});
}

ReminderDecision DecideDailyLimitReminder(const ReminderSettings& settings, int activeMinutes)
{
    return GivenAsMessages(settings, DailyLimitText(activeMinutes));
}
