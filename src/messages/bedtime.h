#pragma once
// The bedtime reminder: one word, once an evening, to the user who is still at the computer at
// their bedtime. An evening runs until five the next morning, so a bedtime after midnight belongs
// to the evening before it.

#include "activity/calendar.h"
#include "messages/message_scheduler.h"

#include <cstdint>
#include <optional>
#include <string>

// "It is 23:00, your bedtime."
std::string BedtimeText(int bedtimeMinutes);

// How the reminder is given: as the messages are, with its lights and sound as chosen, and its
// text unless only a sound is.
ReminderDecision DecideBedtimeReminder(const ReminderSettings& settings, int bedtimeMinutes);

class BedtimeWatch {
public:
    explicit BedtimeWatch(int bedtimeMinutes) : m_nBedtimeMinutes(bedtimeMinutes) {}

    // Once a tick: true the first time in an evening that the user is active at or after the bedtime.
    bool Due(std::int64_t now, std::int64_t idleMs);
    int BedtimeMinutes() const { return m_nBedtimeMinutes; }

private:
    int m_nBedtimeMinutes;
    // The evening the reminder was due in.
    std::optional<CivilDate> m_evening;
};
