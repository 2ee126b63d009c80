#include "messages/bedtime.h"

#include "activity/activity_monitor.h"
#include "activity/use_history.h"
#include "language/text_format.h"
#include "language/translation.h"

std::string BedtimeText(int bedtimeMinutes)
{
    return FillText(Tr("It is %s, your bedtime."), {FormatClockTime(bedtimeMinutes)});
}

ReminderDecision DecideBedtimeReminder(const ReminderSettings& settings, int bedtimeMinutes)
{
    return GivenAsMessages(settings, BedtimeText(bedtimeMinutes));
}

bool BedtimeWatch::Due(std::int64_t now, std::int64_t idleMs)
{
    constexpr std::int32_t kSecondsPerMinute = 60;
    constexpr std::int32_t kSecondsPerHour = 3600;
    const std::optional<UseMoment> moment = UseMomentOf(now);
    if (!moment || idleMs >= IDLE_LIMIT_MS || moment->day == m_evening)
        return false;
    // The bedtime as the evening's seconds after its 05:00.
    const std::int32_t bedtime =
        (m_nBedtimeMinutes * kSecondsPerMinute - kUseDayBeginsHour * kSecondsPerHour + kUseDaySeconds) % kUseDaySeconds;
    if (moment->second < bedtime)
        return false;
    m_evening = moment->day;
    return true;
}
