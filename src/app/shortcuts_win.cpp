#include "app/shortcuts_win.h"

#include "language/text_format.h"
#include "language/translation.h"
#include "platform/platform_win.h"

#include <commctrl.h>

#include <cstdio>

namespace {

// The ids of RegisterHotKey, which WM_HOTKEY carries: the pause's, then the break's.
constexpr int kShortcutIds[] = {1, 2};
constexpr int kPause = 0;
constexpr int kBreak = 1;

// The keys of the cursor block, whose value in the hot-key control carries the extended flag: without
// it the control names the number pad's key of the same code.
bool IsExtendedKey(unsigned key)
{
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_DIVIDE;
}

} // namespace

Shortcut ShortcutOfHotKeyValue(WORD value)
{
    const BYTE flags = HIBYTE(value);
    Shortcut shortcut;
    shortcut.key = LOBYTE(value);
    if ((flags & HOTKEYF_CONTROL) != 0)
        shortcut.modifiers |= kShortcutCtrl;
    if ((flags & HOTKEYF_ALT) != 0)
        shortcut.modifiers |= kShortcutAlt;
    if ((flags & HOTKEYF_SHIFT) != 0)
        shortcut.modifiers |= kShortcutShift;
    return IsUsableShortcut(shortcut) ? shortcut : Shortcut{};
}

WORD HotKeyValueOf(const Shortcut& shortcut)
{
    if (!IsUsableShortcut(shortcut))
        return 0;
    BYTE flags = IsExtendedKey(shortcut.key) ? HOTKEYF_EXT : 0;
    if ((shortcut.modifiers & kShortcutCtrl) != 0)
        flags |= HOTKEYF_CONTROL;
    if ((shortcut.modifiers & kShortcutAlt) != 0)
        flags |= HOTKEYF_ALT;
    if ((shortcut.modifiers & kShortcutShift) != 0)
        flags |= HOTKEYF_SHIFT;
    return MAKEWORD(static_cast<BYTE>(shortcut.key), flags);
}

void CShortcuts::Register(HWND window, const Shortcut& pause, const Shortcut& takeBreak)
{
    if (window != m_window) {
        Unregister();
        m_window = window;
    }
    Hold(kPause, pause);
    Hold(kBreak, takeBreak);
}

void CShortcuts::Hold(int index, const Shortcut& shortcut)
{
    Held& held = m_held[index];
    // One that another program holds is not tried again, and its box not shown again, until it changes.
    if (held.shortcut == shortcut)
        return;
    if (held.registered)
        m_platform.UnregisterShortcut(m_window, kShortcutIds[index]);
    held = {shortcut, false};
    if (!IsUsableShortcut(shortcut))
        return;
    held.registered = m_platform.RegisterShortcut(m_window, kShortcutIds[index], shortcut);
    if (!held.registered) {
        m_platform.ShowMessageBox(m_window,
                                  FillText(Tr("The shortcut %s is used by another program."), {ShortcutText(shortcut)}),
                                  "Kelvaro", MB_OK | MB_ICONEXCLAMATION);
    }
}

void CShortcuts::Unregister()
{
    for (int index : {kPause, kBreak}) {
        if (m_held[index].registered)
            m_platform.UnregisterShortcut(m_window, kShortcutIds[index]);
        m_held[index] = {};
    }
}

std::optional<Command> CShortcuts::OnHotKey(WPARAM id, bool paused) const
{
    if (id == static_cast<WPARAM>(kShortcutIds[kPause]) && m_held[kPause].registered)
        return PauseShortcutCommand(paused);
    if (id == static_cast<WPARAM>(kShortcutIds[kBreak]) && m_held[kBreak].registered)
        return Command::Break;
    return std::nullopt;
}
