#pragma once
#include "app/command_line.h"
#include "app/hotkey_text.h"

#include <windows.h>

#include <optional>

class Platform;

// The value a hot-key control holds (HKM_GETHOTKEY, HKM_SETHOTKEY) as a shortcut and back; a
// value Kelvaro doesn't take is no shortcut.
Shortcut ShortcutOfHotKeyValue(WORD value);
WORD HotKeyValueOf(const Shortcut& shortcut);

// The keyboard shortcuts "Pause or resume reminders" and "Take a break now", registered for the
// whole system while Kelvaro runs.
class CShortcuts {
public:
    explicit CShortcuts(Platform& platform) : m_platform(platform) {}

    // Registers the shortcuts that changed, heard by the window; each one another program holds
    // gives one box, and the other still works.
    void Register(HWND window, const Shortcut& pause, const Shortcut& takeBreak);
    // Gives them back to the system.
    void Unregister();
    // A WM_HOTKEY: the command of the shortcut pressed; nothing for another.
    std::optional<Command> OnHotKey(WPARAM id, bool paused) const;

private:
    struct Held {
        Shortcut shortcut;
        bool registered = false;
    };
    void Hold(int index, const Shortcut& shortcut);

    Platform& m_platform;
    HWND m_window = nullptr;
    Held m_held[2];
};
