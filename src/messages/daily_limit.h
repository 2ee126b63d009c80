#pragma once
// The daily limit: a reminder once today's active time reaches a number of hours, and again after
// every further 30 minutes of active time.

#include "messages/message_scheduler.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr int kDefaultDailyLimitMinutes = 8 * 60;
constexpr int kLongestDailyLimitMinutes = 23 * 60 + 59;
// After the limit, the reminder comes again each time the count grows by this much.
constexpr std::int64_t kDailyLimitRepeatMs = std::int64_t{30} * 60000;

// The limit of a number of hours and minutes: from 0:01 to 23:59; anything else, 0 among it, means 8 hours.
int DailyLimitMinutes(std::int64_t hours, std::int64_t minutes);
// The limit of the Settings dialog's two fields, each of digits only (an empty one counts as 0);
// anything else means 8 hours.
int DailyLimitMinutesOfFields(std::string_view hours, std::string_view minutes);

// When the daily limit's reminder is due, from today's count in milliseconds.
class DailyLimit {
public:
    explicit DailyLimit(int limitMinutes = kDefaultDailyLimitMinutes);

    // The count restarted, at Start with the count restored from the log and at a change of day
    // from 0: as for the long-activity warning, the next reminder comes at the first of the limit,
    // the limit and 30 minutes, the limit and an hour, ... that lies above the count.
    void Restart(std::int32_t countMs);
    // Once a tick with today's count: when a reminder is due, the active time it tells of in
    // minutes (the limit, then 30 minutes more each time); the next one comes 30 minutes later.
    std::optional<int> Due(std::int32_t activeMs);

private:
    std::int64_t m_nLimitMs;
    std::int64_t m_nNextMs;
};

// The reminder: "You have been active for 8 hours today. Time to call it a day?", with "1 hour",
// "7:30 hours" or "45 minutes" as the time asks.
std::string DailyLimitText(int activeMinutes);

// How the reminder for so many minutes of active time is given: as the messages are, with its
// lights and sound as chosen, and its text unless only a sound is.
ReminderDecision DecideDailyLimitReminder(const ReminderSettings& settings, int activeMinutes);
