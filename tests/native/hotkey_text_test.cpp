#include "app/hotkey_text.h"

#include <gtest/gtest.h>

#include <string>
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
        {{kShortcutCtrl, '0'}, "Ctrl+0"},
        {{kShortcutAlt | kShortcutShift, 'Z'}, "Alt+Shift+Z"},
        {{kCtrlAlt | kShortcutShift, 0x70}, "Ctrl+Alt+Shift+F1"},
        {{kShortcutCtrl, 0x87}, "Ctrl+F24"},
        {{kShortcutCtrl, 0x60}, "Ctrl+Num0"},
        {{kShortcutCtrl, 0x69}, "Ctrl+Num9"},
        {{kShortcutAlt, 0x20}, "Alt+Space"},
        {{kShortcutAlt, 0x21}, "Alt+PageUp"},
        {{kShortcutCtrl, 0x2E}, "Ctrl+Delete"},
        {{kShortcutCtrl, 0x6B}, "Ctrl+NumPlus"},
        {{kShortcutCtrl, 0xBB}, "Ctrl+="},
        {{kShortcutCtrl, 0xBD}, "Ctrl+-"},
        {{kShortcutCtrl, 0xDC}, "Ctrl+\\"},
        {{kShortcutCtrl, 0xE2}, "Ctrl+KeyE2"},
        {{kShortcutCtrl, 0xB3}, "Ctrl+KeyB3"},
        // None, and what Kelvaro doesn't take, are written as none.
        {{}, ""},
        {{0, 'P'}, ""},
        {{kShortcutShift, 'P'}, ""},
        {{kCtrlAlt, 0}, ""},
        {{kCtrlAlt, 0x11}, ""},  // Ctrl itself
        {{kCtrlAlt, 0x14}, ""},  // Caps Lock
        {{kCtrlAlt, 0x90}, ""},  // Num Lock
        {{kCtrlAlt, 0x01}, ""},  // a mouse button
        {{kCtrlAlt, 0xFF}, ""},
        {{kCtrlAlt, 0x100 + 'P'}, ""},
        {{kCtrlAlt | 8, 'P'}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortcutText(c.shortcut), c.text) << c.shortcut.modifiers << " " << c.shortcut.key;
        EXPECT_EQ(IsUsableShortcut(c.shortcut), !c.text.empty()) << c.text;
        const Shortcut read = ParseShortcut(c.text);
        EXPECT_EQ(read, c.text.empty() ? Shortcut{} : c.shortcut) << c.text;
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
        {"Ctrl+Alt+P", "Ctrl+Alt+P"},
        {"alt+ctrl+p", "Ctrl+Alt+P"},
        {" Shift + Ctrl + f12 ", "Ctrl+Shift+F12"},
        {"CTRL+ALT+NUM5", "Ctrl+Alt+Num5"},
        {"Ctrl+pageup", "Ctrl+PageUp"},
        {"Ctrl+keye2", "Ctrl+KeyE2"},
        {"Ctrl+Key41", "Ctrl+A"},
        // Damaged: read as none.
        {"", ""},
        {"P", ""},
        {"Shift+P", ""},
        {"Ctrl+Ctrl+P", ""},
        {"Ctrl+Alt+", ""},
        {"+P", ""},
        {"Ctrl++P", ""},
        {"Ctrl+P+Alt", ""},
        {"Win+P", ""},
        {"Control+P", ""},
        {"Ctrl+Alt+PP", ""},
        {"Ctrl+F0", ""},
        {"Ctrl+F25", ""},
        {"Ctrl+F01", ""},
        {"Ctrl+Num10", ""},
        {"Ctrl+Key4", ""},
        {"Ctrl+KeyXY", ""},
        {"Ctrl+Key14", ""},
        {"Ctrl+Alt+\xC3\xA9", ""},
        {std::string_view("Ctrl+\0P", 7), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortcutText(ParseShortcut(c.text)), c.read) << c.text;
}

} // namespace
