#include "messages/reminder_presentation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ReminderPresentation, EachKindHasItsTitleAndTheBalloonOnlyWhereChosenAndPossible)
{
    struct Case {
        ReminderNotice notice;
        const char* title;
        unsigned stepMs;
    } cases[] = {
        {NoticeOf(ReminderKind::HealthTip), "Health tip", 5},
        {NoticeOf(ReminderKind::TimeBreak), "Time for a break", 5},
        {NoticeOf(ReminderKind::GoToBed), "Time for bed", 5},
        {NoticeOf(ReminderKind::LongActivity), "Long activity", 10},
        {ReminderNotice::BreakHeadsUp, "Time for a break", 5},
    };
    for (const Case& c : cases) {
        for (int setting = 0; setting < 2; ++setting) {
            for (int tray = 0; tray < 2; ++tray) {
                const ReminderPresentation shown = PresentReminder(c.notice, setting == 1, tray == 1);
                const std::string what =
                    std::string(c.title) + ", setting " + std::to_string(setting) + ", tray " + std::to_string(tray);
                const bool balloon = setting == 1 && tray == 1;
                EXPECT_EQ(shown.view, balloon ? ReminderView::Balloon : ReminderView::Popup) << what;
                EXPECT_EQ(shown.title, c.title) << what;
                EXPECT_EQ(shown.popupStepMs, c.stepMs) << what;
            }
        }
    }
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
        {"the longest", fits, fits},
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
