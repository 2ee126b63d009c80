#include "messages/reminder_presentation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The titles, one per kind, are checked where the tray icon sends them.
TEST(ReminderPresentation, TheBalloonOnlyWhereChosenAndPossibleAndTheWarningRollsSlower)
{
    for (const bool chosen : {false, true}) {
        for (const bool trayCan : {false, true}) {
            const bool balloon = chosen && trayCan;
            EXPECT_EQ(PresentReminder(ReminderNotice::HealthTip, chosen, trayCan).view,
                      balloon ? ReminderView::Balloon : ReminderView::Popup)
                << chosen << trayCan;
        }
    }
    EXPECT_EQ(PresentReminder(ReminderNotice::BreakHeadsUp, false, false).popupStepMs, 5u);
    EXPECT_EQ(PresentReminder(NoticeOf(ReminderKind::LongActivity), false, false).popupStepMs, 10u);
}

TEST(ReminderPresentation, TheBalloonsTextIsTrimmedAndCutBetweenCharacters)
{
    const std::string fits(255, 'a');
    const std::string e = "\xC3\xA9";            // one UTF-16 unit in two bytes
    const std::string note = "\xF0\x9F\x8E\xB5"; // two UTF-16 units in four bytes
    struct Case {
        const char* what;
        std::string text;
        std::string shown;
    } cases[] = {
        {"a catalogue text", " Stand up and stretch.", "Stand up and stretch."},
        {"the warning's run of blanks", "WARNING!!        You have now been active for a long period!",
         "WARNING!! You have now been active for a long period!"},
        {"line ends and tabs", "\r\n\tDrink\r\n water \t", "Drink water"},
        {"one too many", fits + "b", fits},
        {"a blank at the limit", std::string(254, 'a') + " b", std::string(254, 'a')},
        {"a two-byte character at the limit", std::string(254, 'a') + e + e, std::string(254, 'a') + e},
        {"a pair that doesn't fit whole", std::string(254, 'a') + note, std::string(254, 'a')},
        {"a pair that fits", std::string(253, 'a') + note + "b", std::string(253, 'a') + note},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BalloonText(c.text), c.shown) << c.what;
}

} // namespace
