#include "app/hotkey_text.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

constexpr unsigned kCtrlAlt = kShortcutCtrl | kShortcutAlt;

TEST(HotkeyText, RoundTrip)
{
    struct Case {
        Shortcut shortcut;
        std::string_view text;
    };
    const Case cases[] = {
        {{kCtrlAlt, 'P'}, "Ctrl+Alt+P"},
        {{kShortcutAlt | kShortcutShift, '0'}, "Alt+Shift+0"},
        {{kCtrlAlt | kShortcutShift, 0x87}, "Ctrl+Alt+Shift+F24"},
        {{kShortcutCtrl, 0x69}, "Ctrl+Num9"},
        {{kShortcutAlt, 0x21}, "Alt+PageUp"},
        {{kShortcutCtrl, 0x6B}, "Ctrl+NumPlus"},
        {{kShortcutCtrl, 0xDC}, "Ctrl+\\"},
        {{kShortcutCtrl, 0xE2}, "Ctrl+KeyE2"},
        // None, and what Kelvaro doesn't take, are written as none.
        {{}, ""},
        {{kShortcutShift, 'P'}, ""},
        {{kCtrlAlt, 0x11}, ""}, // Ctrl itself
        {{kCtrlAlt, 0x14}, ""}, // Caps Lock, whose light Kelvaro blinks
        {{kCtrlAlt, 0x01}, ""}, // a mouse button
        {{kCtrlAlt, 0x100 + 'P'}, ""},
        {{kCtrlAlt | 8, 'P'}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortcutText(c.shortcut), c.text) << c.shortcut.modifiers << " " << c.shortcut.key;
        EXPECT_EQ(ParseShortcut(c.text), c.text.empty() ? Shortcut{} : c.shortcut) << c.text;
    }
    // Every key Kelvaro names reads back as itself.
    for (unsigned key = 0; key <= 0x100; ++key) {
        const Shortcut shortcut{kShortcutCtrl, key};
        EXPECT_EQ(ParseShortcut(ShortcutText(shortcut)), IsUsableShortcut(shortcut) ? shortcut : Shortcut{}) << key;
    }
}

TEST(HotkeyText, ReadingAndDamagedValues)
{
    struct Case {
        std::string_view text;
        std::string_view read; // as written back
    };
    const Case cases[] = {
        {"alt+ctrl+p", "Ctrl+Alt+P"},       {" Shift + Ctrl + f12 ", "Ctrl+Shift+F12"},
        {"Ctrl+keye2", "Ctrl+KeyE2"},       {"Ctrl+Key41", "Ctrl+A"},
        {"P", ""},                          {"Ctrl+Ctrl+P", ""},
        {"Ctrl+Alt+", ""},                  {"Ctrl++P", ""},
        {"Ctrl+P+Alt", ""},                 {"Win+P", ""},
        {"Ctrl+F25", ""},                   {"Ctrl+F01", ""},
        {"Ctrl+Num10", ""},                 {"Ctrl+KeyXY", ""},
        {"Ctrl+Alt+\xC3\xA9", ""},          {std::string_view("Ctrl+\0P", 7), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortcutText(ParseShortcut(c.text)), c.read) << c.text;
}

} // namespace
