#include "messages/daily_limit.h"

#include "activity/activity_monitor.h"
#include "activity/counter_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(DailyLimit, TheLimitOfTheFieldsAndItsText)
{
    const struct {
        const char* hours;
        const char* minutes;
        int limit;
    } fields[] = {{"7", "30", 450}, {"", "30", 30},   {"23", "59", 1439}, {"0", "0", 480},
                  {"24", "0", 480}, {"8", "60", 480}, {"x", "0", 480},    {"008", "0", 480}};
    for (const auto& f : fields)
        EXPECT_EQ(DailyLimitMinutesOfFields(f.hours, f.minutes), f.limit) << f.hours << ":" << f.minutes;
    const char* const kTail = " today. Time to call it a day?";
    EXPECT_EQ(DailyLimitText(480), std::string("You have been active for 8 hours") + kTail);
    EXPECT_EQ(DailyLimitText(605), std::string("You have been active for 10:05 hours") + kTail);
    EXPECT_EQ(DailyLimitText(60), std::string("You have been active for 1 hour") + kTail);
    EXPECT_EQ(DailyLimitText(45), std::string("You have been active for 45 minutes") + kTail);
    EXPECT_EQ(DailyLimitText(1), std::string("You have been active for 1 minute") + kTail);
}

// Given as the messages are: lights and sound as chosen, the text unless only a sound is.
TEST(DailyLimit, ItsReminderIsGivenAsTheMessagesAre)
{
    const struct {
        ReminderSettings settings;
        bool lights;
        bool sound;
        bool text;
    } rows[] = {
        {{}, false, false, true},
        {{true, false, true, false, false}, true, true, true},
        {{true, true, false, false, false}, false, true, false},
        {{false, false, false, true, true}, false, false, true},
    };
    for (const auto& row : rows) {
        const ReminderDecision decision = DecideDailyLimitReminder(row.settings, 480);
        EXPECT_EQ(decision.blinkLights, row.lights);
        EXPECT_EQ(decision.playMessageSound, row.sound);
        EXPECT_EQ(decision.popupText == DailyLimitText(480), row.text);
    }
}

// A day counted by the program's own counter, a second at a time: w works, a is away; s works on
// after a restart of the count from itself, as a Start from the log, d after one from 0, a new day.
struct Spell {
    int seconds;
    char doing;
};

// The count (hours:minutes) at each reminder and the time it tells of, in minutes.
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
            told += spell.doing;
            told += ' ';
        }
        for (int second = 0; second < spell.seconds; ++second) {
            tick += 1000;
            if (spell.doing != 'a')
                lastInput = tick;
            CountActivity(tick, lastInput);
            if (const std::optional<int> minutes = limit.Due(g_nActiveTimeMs)) {
                const std::int32_t count = g_nActiveTimeMs / 60000;
                told += std::to_string(count / 60) + ":" + std::to_string(count % 60) + "=" + std::to_string(*minutes) +
                        " ";
            }
        }
    }
    return told;
}

TEST(DailyLimit, FirstAndLaterRemindersOverADayWithIdleSpellsAndARestart)
{
    constexpr int kHour = 3600;
    constexpr std::int32_t kHourMs = 3600000;
    const struct {
        const char* story;
        int limit;
        std::int32_t restored;
        std::vector<Spell> spells;
        const char* told;
    } cases[] = {
        {"every 30 minutes after the limit", 480, 0, {{9 * kHour, 'w'}}, "8:0=480 8:30=510 9:0=540 "},
        {"time away is not counted: 2:32 after 5:30",
         120,
         0,
         {{kHour, 'w'}, {kHour, 'a'}, {50 * 60, 'w'}, {2 * kHour, 'a'}, {40 * 60, 'w'}},
         "2:0=120 2:30=150 "},
        {"a restart past the limit waits for the next half hour",
         480,
         0,
         {{8 * kHour + 40 * 60, 'w'}, {kHour, 's'}},
         "8:0=480 8:30=510 s 9:0=540 9:30=570 "},
        {"a Start below the limit", 480, 7 * kHourMs, {{kHour + 1, 'w'}}, "8:0=480 "},
        {"a Start exactly at the limit", 480, 8 * kHourMs, {{31 * 60, 'w'}}, "8:30=510 "},
        {"a new day starts from the limit", 60, 0, {{65 * 60, 'w'}, {61 * 60, 'd'}}, "1:0=60 d 1:0=60 "},
        {"a limit of 0 is 8 hours", 0, 8 * kHourMs - 60000, {{2 * 60, 'w'}}, "8:0=480 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemindersOfADay(c.limit, c.restored, c.spells), c.told) << c.story;

    // A count that leaps tells once of the last time it passed, up to the largest count there is.
    DailyLimit limit(480);
    EXPECT_EQ(limit.Due(10 * kHourMs + 5 * 60000), 600);
    EXPECT_EQ(limit.Due(10 * kHourMs + 29 * 60000), std::nullopt);
    EXPECT_EQ(limit.Due(INT32_MAX), INT32_MAX / 60000 / 30 * 30);
    EXPECT_EQ(limit.Due(INT32_MAX), std::nullopt);
}

} // namespace
