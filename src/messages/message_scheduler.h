#pragma once
// What each reminder tick and the long-activity check ask the shell to do: which error boxes
// to show, whether to blink the lights, play a sound, force a break or pop up a text.

#include "language/translation.h"
#include "messages/message_catalogue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The reminder choices of the Settings dialog, as they stand at the tick.
struct ReminderSettings {
    bool soundOnMessages = false;     // SOUND_ON_MSG
    bool onlySound = false;           // ONLYSOUND
    bool keyboardLeds = false;        // KEYBOARD_LEDS
    bool forceBreak = false;          // FORCEBREAK
    bool soundOnLongActivity = false; // SOUND_LONGTIME_WARNING
};

enum class MessageKind { Health, TimeBreaks, Sleep };

// What a reminder is about: the three message timers' kinds, the long-activity warning, the daily
// limit and the bedtime.
enum class ReminderKind { HealthTip, TimeBreak, GoToBed, LongActivity, DailyLimit, Bedtime };

// The kind a message timer (1, 2 or 3) gives, and the timer of a message kind.
ReminderKind KindOfMessageTimer(unsigned timerId);
unsigned MessageTimerOf(ReminderKind kind);

// The box that tells of an empty list of a kind.
std::string EmptyListText(MessageKind kind);

// The kinds whose list is empty, in the order their boxes are told on every message tick.
std::vector<MessageKind> EmptyLists(const MessageCatalogue& lists);

// In the order the shell carries it out.
struct ReminderDecision {
    bool blinkLights = false;
    bool playMessageSound = false;
    bool startForcedBreak = false;
    std::optional<std::string> popupText;

    bool GivesAnything() const { return blinkLights || playMessageSound || startForcedBreak || popupText; }
};

// A reminder of the program's own (the daily limit, the bedtime) given as the messages are: its
// lights and sound as chosen, and its text unless only a sound is.
ReminderDecision GivenAsMessages(const ReminderSettings& settings, std::string text);

// Whether a minute of the day lies in the night window of the go-to-bed messages; every other
// minute belongs to the time-break suggestions.
bool IsNightWindow(int hour, int minute);

// One tick of message timer 1 (health tip), 2 (time-break suggestion) or 3 (go-to-bed message)
// at a local hour and minute. The text of each non-empty list is drawn from a generator seeded
// with the seed (the clock's seconds).
ReminderDecision DecideReminder(unsigned timerId, int hour, int minute, const MessageCatalogue& lists,
                                const ReminderSettings& settings, std::uint32_t seed);

// The long-activity warning comes each time the day's count passes a multiple of this.
constexpr std::int32_t LONG_ACTIVITY_MS = 14400000;
// The count at which the next warning comes; 64 bits, as the multiple of four hours above the
// largest count the files can hold does not fit in 32.
extern std::int64_t g_nWarnThresholdMs;

// A count restarted (at Start or at a change of day) warns next at the first multiple of four hours above it.
void ResetWarningThreshold(std::int32_t countMs);

// Once a tick: whether the count has passed the threshold, which then moves on past the count.
bool LongActivityWarningDue(std::int32_t activeMs);

struct WarningDecision {
    bool blinkLights = false;
    bool playWarningSound = false;
    bool showPopup = false;
};

// How a due warning is given; a popup needs time-break or go-to-bed messages chosen.
WarningDecision DecideLongActivityWarning(const ReminderSettings& settings, bool timeBreaksChosen,
                                          bool sleepMessagesChosen);

// The text of the long-activity popup.
inline constexpr const char* kLongActivityWarningText =
    TrLater("WARNING!!        You have now been active for a long period!");
