#include "messages/daily_limit.h"

#include "activity/activity_monitor.h"
#include "activity/counter_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::int32_t kMinute = 60000;
constexpr std::int32_t kHour = 60 * kMinute;

TEST(DailyLimit, TheLimitOfTheFieldsAndItsReminder)
{
    const struct {
        const char* hours;
        const char* minutes;
        int limit;
    } fields[] = {
        {"8", "00", 480}, {"7", "30", 450}, {"0", "1", 1},    {"", "30", 30},  {"23", "59", 1439}, {"0", "0", 480},
        {"", "", 480},    {"24", "0", 480}, {"8", "60", 480}, {"x", "0", 480}, {"008", "0", 480},  {"8", "-5", 480},
    };
    for (const auto& f : fields)
        EXPECT_EQ(DailyLimitMinutesOfFields(f.hours, f.minutes), f.limit) << f.hours << ":" << f.minutes;

    const struct {
        int minutes;
        const char* text;
    } texts[] = {
        {480, "You have been active for 8 hours today. Time to call it a day?"},
        {510, "You have been active for 8:30 hours today. Time to call it a day?"},
        {60, "You have been active for 1 hour today. Time to call it a day?"},
        {90, "You have been active for 1:30 hours today. Time to call it a day?"},
        {605, "You have been active for 10:05 hours today. Time to call it a day?"},
        {45, "You have been active for 45 minutes today. Time to call it a day?"},
        {1, "You have been active for 1 minute today. Time to call it a day?"},
    };
    for (const auto& t : texts)
        EXPECT_EQ(DailyLimitText(t.minutes), t.text);
}

// What the user does, a second at a time: w works, a is away (no input), then the count is
// restored from the log at a Start (s), or the day changes (d).
struct Spell {
    int seconds;
    char doing;
};

// The count (as H:MM) and the time told at each reminder, a day of work counted by the program's
// own counter.
std::string RemindersOfADay(int limitMinutes, std::int32_t restoredMs, const std::vector<Spell>& spells)
{
    DailyLimit limit(limitMinutes);
    std::uint32_t tick = 1000;
    std::uint32_t lastInput = tick;
    RestartCount(tick, restoredMs);
    limit.Restart(restoredMs);
    std::string told;
    for (const Spell& spell : spells) {
        if (spell.doing == 's' || spell.doing == 'd') {
            const std::int32_t from = spell.doing == 's' ? g_nActiveTimeMs : 0;
            RestartCount(tick, from);
            limit.Restart(from);
            told += spell.doing == 's' ? "start " : "day ";
            continue;
        }
        for (int second = 0; second < spell.seconds; ++second) {
            tick += 1000;
            if (spell.doing == 'w')
                lastInput = tick;
            CountActivity(tick, lastInput);
            if (const std::optional<int> minutes = limit.Due(g_nActiveTimeMs)) {
                const std::int32_t count = g_nActiveTimeMs / kMinute;
                told += std::to_string(count / 60) + ":" + std::to_string(count % 60 / 10) +
                        std::to_string(count % 10) + "=" + std::to_string(*minutes) + " ";
            }
        }
    }
    return told;
}

TEST(DailyLimit, FirstAndLaterRemindersOverADayWithIdleSpellsAndARestart)
{
    constexpr int kHourS = 3600;
    const struct {
        const char* story;
        int limit;
        std::int32_t restored;
        std::vector<Spell> spells;
        const char* told;
    } cases[] = {
        {"at the limit, then every 30 minutes of work",
         480,
         0,
         {{10 * kHourS, 'w'}},
         "8:00=480 8:30=510 9:00=540 9:30=570 10:00=600 "},
        {"time away is not counted: 2:32 of count after 5:30",
         120,
         0,
         {{kHourS, 'w'}, {kHourS, 'a'}, {50 * 60, 'w'}, {2 * kHourS, 'a'}, {40 * 60, 'w'}},
         "2:00=120 2:30=150 "},
        {"a restart with the count in the log past the limit waits for the next half hour",
         480,
         0,
         {{8 * kHourS + 40 * 60, 'w'}, {0, 's'}, {kHourS, 'w'}},
         "8:00=480 8:30=510 start 9:00=540 9:30=570 "},
        {"a Start with a count from the log below the limit", 480, 7 * kHour, {{kHourS + 1, 'w'}}, "8:00=480 "},
        {"a Start exactly at the limit", 480, 8 * kHour, {{31 * 60, 'w'}}, "8:30=510 "},
        {"a new day starts from the limit again",
         60,
         0,
         {{65 * 60, 'w'}, {0, 'd'}, {61 * 60, 'w'}},
         "1:00=60 day 1:00=60 "},
        {"a limit of 0 hours is 8", 0, 7 * kHour + 59 * kMinute, {{2 * 60, 'w'}}, "8:00=480 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemindersOfADay(c.limit, c.restored, c.spells), c.told) << c.story;
}

TEST(DailyLimit, ACountThatLeapsTellsOnceOfTheLastTimePassed)
{
    DailyLimit limit(480);
    limit.Restart(0);
    EXPECT_EQ(limit.Due(10 * kHour + 5 * kMinute), 600);
    EXPECT_EQ(limit.Due(10 * kHour + 29 * kMinute), std::nullopt);
    EXPECT_EQ(limit.Due(10 * kHour + 30 * kMinute), 630);
    // The largest count the files hold.
    EXPECT_EQ(limit.Due(INT32_MAX), INT32_MAX / kMinute / 30 * 30);
    EXPECT_EQ(limit.Due(INT32_MAX), std::nullopt);
}

} // namespace
