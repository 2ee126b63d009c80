#pragma once
#include "app/command_line.h"
#include "app/held_shortcuts.h"
#include "app/hotkey_text.h"

#include <windows.h>

#include <optional>

class Platform;

// The value a hot-key control holds (HKM_GETHOTKEY, HKM_SETHOTKEY) as a shortcut and back; a
// value Kelvaro doesn't take is no shortcut.
Shortcut ShortcutOfHotKeyValue(WORD value);
WORD HotKeyValueOf(const Shortcut& shortcut);

// The keyboard shortcuts "Pause or resume reminders" and "Take a break now", registered for the
// whole system while Kelvaro runs, as the held shortcuts' plan says.
class CShortcuts {
public:
    CShortcuts(Platform& platform, HeldShortcuts& held) : m_platform(platform), m_held(held) {}

    // Makes the held shortcuts the chosen ones, heard by the window; each one another program
    // holds gives one box, and the other still works.
    void Register(HWND window, const std::array<Shortcut, kShortcutCount>& chosen, ShortcutOccasion occasion);
    // Gives them back to the system.
    void Unregister();
    // A WM_HOTKEY: the command of the shortcut pressed; nothing for another.
    std::optional<Command> OnHotKey(WPARAM id, bool paused) const;

private:
    Platform& m_platform;
    HeldShortcuts& m_held;
    HWND m_window = nullptr;
};
