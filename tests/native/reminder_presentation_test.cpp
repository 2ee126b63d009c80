#include "messages/reminder_presentation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Which reminders go to the balloon, and with what title, is checked where the tray icon sends them.
TEST(ReminderPresentation, TheBalloonsTextIsTrimmedAndCutBetweenCharacters)
{
    const std::string e = "\xC3\xA9";            // one UTF-16 unit in two bytes
    const std::string note = "\xF0\x9F\x8E\xB5"; // two UTF-16 units in four bytes
    const std::string a254(254, 'a');
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"WARNING!!        You have now been\r\n\tactive ", "WARNING!! You have now been active"},
        {a254 + "ab", a254 + "a"},
        {a254 + " b", a254},
        {a254 + e + e, a254 + e},
        {a254 + note, a254},
        {std::string(253, 'a') + note + "b", std::string(253, 'a') + note},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BalloonText(c.text), c.shown) << "row " << &c - cases;
}

} // namespace
