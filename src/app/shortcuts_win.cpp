#include "app/shortcuts_win.h"

#include "language/text_format.h"
#include "language/translation.h"
#include "platform/platform_win.h"

#include <commctrl.h>

#include <cstdio>

namespace {

// The ids of RegisterHotKey, which WM_HOTKEY carries: the pause's, then the break's.
constexpr int kShortcutIds[kShortcutCount] = {1, 2};

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

void CShortcuts::Register(HWND window, const std::array<Shortcut, kShortcutCount>& chosen,
                          ShortcutOccasion occasion)
{
    if (window != m_window) {
        Unregister();
        m_window = window;
    }
    for (const ShortcutStep& step : m_held.Plan(chosen, occasion)) {
        const int id = kShortcutIds[step.slot];
        if (!step.take) {
            m_platform.UnregisterShortcut(m_window, id);
            m_held.Released(step.slot);
            continue;
        }
        const bool taken = m_platform.RegisterShortcut(m_window, id, step.shortcut);
        m_held.Tried(step.slot, taken);
        if (!taken) {
            m_platform.ShowMessageBox(m_window,
                                      FillText(Tr("The shortcut %s is used by another program."),
                                               {ShortcutText(step.shortcut)}),
                                      "Kelvaro", MB_OK | MB_ICONEXCLAMATION);
        }
    }
    // At a Start only the ones that failed were tried; the others keep waiting for their reading.
    if (occasion == ShortcutOccasion::Chosen)
        m_held.Remember(chosen);
}

void CShortcuts::Unregister()
{
    for (std::size_t slot = 0; slot < kShortcutCount; ++slot) {
        if (m_held.Held(slot))
            m_platform.UnregisterShortcut(m_window, kShortcutIds[slot]);
        m_held.Released(slot);
    }
    m_held.Remember({});
}

std::optional<Command> CShortcuts::OnHotKey(WPARAM id, bool paused) const
{
    if (id == static_cast<WPARAM>(kShortcutIds[kPauseShortcut]) && m_held.Held(kPauseShortcut))
        return PauseShortcutCommand(paused);
    if (id == static_cast<WPARAM>(kShortcutIds[kBreakShortcut]) && m_held.Held(kBreakShortcut))
        return Command::Break;
    return std::nullopt;
}
