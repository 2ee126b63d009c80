#include "app/held_shortcuts.h"

bool ShortcutsClash(const Shortcut& a, const Shortcut& b)
{
    return IsUsableShortcut(a) && a == b;
}

std::vector<ShortcutStep> HeldShortcuts::Plan(const std::array<Shortcut, kShortcutCount>& chosen,
                                              ShortcutOccasion occasion) const
{
    bool changed = false;
    for (std::size_t slot = 0; slot < kShortcutCount; ++slot)
        changed = changed || chosen[slot] != m_slots[slot].shortcut;
    std::vector<ShortcutStep> releases;
    std::vector<ShortcutStep> takes;
    for (std::size_t slot = 0; slot < kShortcutCount; ++slot) {
        const Slot& held = m_slots[slot];
        const Shortcut& wanted = chosen[slot];
        const bool failed = !held.held && wanted == held.shortcut;
        const bool look = occasion == ShortcutOccasion::Start ? failed : wanted != held.shortcut || (failed && changed);
        if (!look)
            continue;
        if (held.held)
            releases.push_back({false, slot, held.shortcut});
        // The second of two equal shortcuts is never taken: the first one does its work.
        const bool clashes = slot > 0 && ShortcutsClash(wanted, chosen[0]);
        if (IsUsableShortcut(wanted) && !clashes)
            takes.push_back({true, slot, wanted});
    }
    releases.insert(releases.end(), takes.begin(), takes.end());
    return releases;
}

void HeldShortcuts::Remember(const std::array<Shortcut, kShortcutCount>& chosen)
{
    for (std::size_t slot = 0; slot < kShortcutCount; ++slot)
        m_slots[slot].shortcut = chosen[slot];
}
