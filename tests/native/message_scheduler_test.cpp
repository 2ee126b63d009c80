#include "activity/activity_monitor.h"
#include "activity/counter_state.h"
#include "messages/message_scheduler.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const MessageCatalogue kLists{{" tip"}, {" walk"}, {" bed"}};

// What a decision does, in one word per effect, for a readable table.
std::string Effects(const ReminderDecision& d)
{
    std::string effects;
    if (d.blinkLights)
        effects += "lights ";
    if (d.playMessageSound)
        effects += "sound ";
    if (d.startForcedBreak)
        effects += "break ";
    if (d.popupText)
        effects += "popup" + *d.popupText + " ";
    return effects.empty() ? "nothing" : effects.substr(0, effects.size() - 1);
}

TEST(MessageScheduler, EachKindHasItsHoursAndItsSettings)
{
    const ReminderSettings plain{};
    const ReminderSettings soundAndLights{true, false, true, false};
    const ReminderSettings onlySound{false, true, false, false};
    const ReminderSettings forced{true, false, true, true};
    struct Case {
        unsigned timer;
        int hour, minute;
        ReminderSettings settings;
        const char* effects;
    } cases[] = {
        {2, 4, 59, plain, "nothing"},
        {3, 4, 59, plain, "popup bed"},
        {2, 5, 0, plain, "popup walk"},
        {3, 5, 0, plain, "nothing"},
        {2, 21, 29, plain, "popup walk"},
        {3, 21, 30, plain, "popup bed"},
        {2, 22, 15, plain, "popup walk"},
        {3, 22, 15, plain, "nothing"},
        {2, 22, 45, plain, "nothing"},
        {3, 23, 30, plain, "popup bed"},
        {2, 23, 29, plain, "popup walk"},
        {1, 3, 0, plain, "popup tip"},
        {1, 14, 0, soundAndLights, "lights popup tip"}, // a health tip is never heard
        {2, 14, 0, soundAndLights, "lights sound popup walk"},
        {1, 14, 0, onlySound, "nothing"},
        {2, 14, 0, onlySound, "sound"},
        {3, 23, 45, onlySound, "sound"},
        {2, 14, 0, forced, "lights sound break"},
        {3, 1, 0, forced, "lights sound break"},
        {1, 14, 0, forced, "lights popup tip"}, // health tips never become breaks
        {3, 14, 0, forced, "nothing"},
        {4, 14, 0, plain, "nothing"},
    };
    for (const Case& c : cases) {
        const ReminderDecision decision = DecideReminder(c.timer, c.hour, c.minute, kLists, c.settings, 42);
        EXPECT_EQ(Effects(decision), c.effects) << "timer " << c.timer << " at " << c.hour << ":" << c.minute;
    }
}

TEST(MessageScheduler, EmptyListsAreToldOnEveryTickInTheirOrder)
{
    const MessageCatalogue noSleep{{" tip"}, {" walk"}, {}};
    EXPECT_EQ(EmptyLists(noSleep), std::vector<MessageKind>{MessageKind::Sleep});
    EXPECT_EQ(Effects(DecideReminder(1, 14, 0, noSleep, {}, 1)), "popup tip");
    EXPECT_EQ(Effects(DecideReminder(3, 23, 45, noSleep, {}, 1)), "nothing");
    EXPECT_EQ(EmptyLists(MessageCatalogue{}),
              (std::vector<MessageKind>{MessageKind::Health, MessageKind::TimeBreaks, MessageKind::Sleep}));
    EXPECT_EQ(EmptyListText(MessageKind::TimeBreaks), "ERROR: No TimeBreaks messages from file!");
}

TEST(MessageScheduler, TheDrawCoversTheListAndFollowsTheSeed)
{
    const MessageCatalogue lists{{" a", " b", " c"}, {" w"}, {" s"}};
    std::set<std::string> seen;
    for (std::uint32_t seed = 0; seed < 200; ++seed)
        seen.insert(*DecideReminder(1, 12, 0, lists, {}, seed).popupText);
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(DecideReminder(1, 12, 0, lists, {}, 7).popupText, DecideReminder(1, 12, 0, lists, {}, 7).popupText);
}

TEST(LongActivityWarning, ComesAtEachFourHoursOfTheDaysCount)
{
    constexpr std::int32_t kHour = 3600000;
    // Second by second, so that a warning a second late is told from one on time.
    auto warningsUpTo = [](std::int32_t fromMs, std::int32_t toMs) {
        std::vector<std::int32_t> at;
        for (std::int32_t ms = fromMs; ms <= toMs; ms += 1000) {
            if (LongActivityWarningDue(ms))
                at.push_back(ms);
        }
        return at;
    };
    RestartCount(0, 0);
    EXPECT_EQ(warningsUpTo(0, 13 * kHour), (std::vector<std::int32_t>{4 * kHour, 8 * kHour, 12 * kHour}));
    // A Start with five hours logged warns next at eight, whatever was warned before.
    RestartCount(0, 5 * kHour);
    EXPECT_EQ(warningsUpTo(5 * kHour, 13 * kHour), (std::vector<std::int32_t>{8 * kHour, 12 * kHour}));
    // The count of a new day starts the warnings again from four hours.
    RestartCount(0, 0);
    EXPECT_EQ(warningsUpTo(0, 5 * kHour), (std::vector<std::int32_t>{4 * kHour}));
    // Past 596 hours the next threshold, 600 hours, no longer fits in 32 bits: no overflow, and no
    // warning at every tick.
    RestartCount(0, 596 * kHour);
    EXPECT_EQ(warningsUpTo(596 * kHour, INT32_MAX - 1000), std::vector<std::int32_t>{});
    RestartCount(0, INT32_MAX);
    EXPECT_FALSE(LongActivityWarningDue(INT32_MAX));
}

TEST(LongActivityWarning, HowTheWarningIsGiven)
{
    struct Case {
        ReminderSettings settings;
        bool timeBreaks, sleep;
        bool lights, sound, popup;
    } cases[] = {
        {{}, true, false, false, false, true},
        {{}, false, false, false, false, false}, // only health tips chosen: no popup
        {{false, false, true, false, false}, false, true, false, false, true}, // lights only with the sound
        {{false, false, true, false, true}, false, true, true, true, true},
        {{false, true, false, false, true}, true, true, false, true, false},
        {{false, false, false, true, false}, true, true, false, false, false},
    };
    for (const Case& c : cases) {
        const WarningDecision decision = DecideLongActivityWarning(c.settings, c.timeBreaks, c.sleep);
        EXPECT_EQ(decision.blinkLights, c.lights);
        EXPECT_EQ(decision.playWarningSound, c.sound);
        EXPECT_EQ(decision.showPopup, c.popup);
    }
}

} // namespace
