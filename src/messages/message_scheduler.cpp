#include "messages/message_scheduler.h"

#include "app/timer_plan.h"
#include "language/translation.h"

#include <random>
#include <utility>

std::int64_t g_nWarnThresholdMs = LONG_ACTIVITY_MS;

namespace {

constexpr int kNightStartsHour = 21;
constexpr int kNightStartsMinute = 30;
constexpr int kDayStartsHour = 5;

// Draws an index for each list that has texts, in the lists' order.
struct DrawnTexts {
    std::optional<std::string> health, timeBreaks, sleep;
};

DrawnTexts DrawTexts(const MessageCatalogue& lists, std::uint32_t seed)
{
    std::mt19937 generator(seed);
    auto draw = [&](const MessageList& list) -> std::optional<std::string> {
        if (list.empty())
            return std::nullopt;
        std::uniform_int_distribution<std::size_t> index(0, list.size() - 1);
        return list[index(generator)];
    };
    DrawnTexts drawn;
    drawn.health = draw(lists.health);
    drawn.timeBreaks = draw(lists.timeBreaks);
    drawn.sleep = draw(lists.sleep);
    return drawn;
}

} // namespace

std::string EmptyListText(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Health:
        return Tr("ERROR: No Health messages from file!");
    case MessageKind::TimeBreaks:
        return Tr("ERROR: No TimeBreaks messages from file!");
    default:
        return Tr("ERROR: No Sleep messages from file!");
    }
}

ReminderKind KindOfMessageTimer(unsigned timerId)
{
    switch (timerId) {
    case kTimeBreakTimer:
        return ReminderKind::TimeBreak;
    case kSleepMessageTimer:
        return ReminderKind::GoToBed;
    default:
        return ReminderKind::HealthTip;
    }
}

unsigned MessageTimerOf(ReminderKind kind)
{
    switch (kind) {
    case ReminderKind::TimeBreak:
        return kTimeBreakTimer;
    case ReminderKind::GoToBed:
        return kSleepMessageTimer;
    default:
        return kHealthTipTimer;
    }
}

bool IsNightWindow(int hour, int minute)
{
    // The minute test applies to every hour from nine on, so each hour after it splits in halves.
    return (hour >= kNightStartsHour && minute >= kNightStartsMinute) || hour < kDayStartsHour;
}

std::vector<MessageKind> EmptyLists(const MessageCatalogue& lists)
{
    std::vector<MessageKind> kinds;
    if (lists.health.empty())
        kinds.push_back(MessageKind::Health);
    if (lists.timeBreaks.empty())
        kinds.push_back(MessageKind::TimeBreaks);
    if (lists.sleep.empty())
        kinds.push_back(MessageKind::Sleep);
    return kinds;
}

ReminderDecision DecideReminder(unsigned timerId, int hour, int minute, const MessageCatalogue& lists,
                                const ReminderSettings& settings, std::uint32_t seed)
{
    ReminderDecision decision;
    const DrawnTexts drawn = DrawTexts(lists, seed);

    if (timerId == kHealthTipTimer) {
        // Health tips have no sound: under sound-only they are not given at all.
        if (!drawn.health || settings.onlySound)
            return decision;
        decision.blinkLights = settings.keyboardLeds;
        decision.popupText = drawn.health;
        return decision;
    }
    const bool night = IsNightWindow(hour, minute);
    const std::optional<std::string>* text = nullptr;
    if (timerId == kTimeBreakTimer && !night)
        text = &drawn.timeBreaks;
    else if (timerId == kSleepMessageTimer && night)
        text = &drawn.sleep;
    if (!text || !*text)
        return decision;
    decision.blinkLights = settings.keyboardLeds;
    decision.playMessageSound = settings.soundOnMessages || settings.onlySound;
    if (settings.forceBreak)
        decision.startForcedBreak = true;
    else if (!settings.onlySound)
        decision.popupText = *text;
    return decision;
}

void ResetWarningThreshold(std::int32_t countMs)
{
    const std::int64_t passed = countMs < 0 ? 0 : countMs / LONG_ACTIVITY_MS;
    g_nWarnThresholdMs = (passed + 1) * std::int64_t{LONG_ACTIVITY_MS};
}

bool LongActivityWarningDue(std::int32_t activeMs)
{
    if (activeMs < g_nWarnThresholdMs)
        return false;
    ResetWarningThreshold(activeMs);
    return true;
}

WarningDecision DecideLongActivityWarning(const ReminderSettings& settings, bool timeBreaksChosen,
                                          bool sleepMessagesChosen)
{
    WarningDecision decision;
    decision.playWarningSound = settings.soundOnLongActivity;
    decision.blinkLights = settings.soundOnLongActivity && settings.keyboardLeds;
    decision.showPopup = (timeBreaksChosen || sleepMessagesChosen) && !settings.onlySound && !settings.forceBreak;
    return decision;
}

ReminderDecision GivenAsMessages(const ReminderSettings& settings, std::string text)
{
    ReminderDecision decision;
    decision.blinkLights = settings.keyboardLeds;
    decision.playMessageSound = settings.soundOnMessages;
    if (!settings.onlySound)
        decision.popupText = std::move(text);
    return decision;
}
