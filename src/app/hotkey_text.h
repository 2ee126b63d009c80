#pragma once
// A keyboard shortcut and its text in settings.txt and in messages, "Ctrl+Alt+P".

#include <string>
#include <string_view>

// The modifiers of a shortcut; Windows' hot-key control offers these three.
constexpr unsigned kShortcutCtrl = 1;
constexpr unsigned kShortcutAlt = 2;
constexpr unsigned kShortcutShift = 4;

struct Shortcut {
    unsigned modifiers = 0; // kShortcut... flags
    unsigned key = 0;       // the Windows virtual-key code; 0 for no shortcut
    bool operator==(const Shortcut&) const = default;
};

// A shortcut Kelvaro takes: a key it can name, with Ctrl or Alt, so that typing never sets it off.
bool IsUsableShortcut(const Shortcut& shortcut);

// "Ctrl+Alt+P", the modifiers in that order; empty for no shortcut and for one that isn't usable.
std::string ShortcutText(const Shortcut& shortcut);

// Reads a shortcut's text: modifiers in any order and case, blanks around the parts; anything
// damaged, or a shortcut that isn't usable, reads as no shortcut.
Shortcut ParseShortcut(std::string_view text);
