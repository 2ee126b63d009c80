#pragma once
// The keyboard shortcuts Kelvaro holds for the whole system, and how it comes to hold the ones the
// user chose: its own are let go before any is taken again, so that swapping the two never meets
// itself; the same keys are never taken for both; one another program held is tried again at the
// next change or Start.

#include "app/hotkey_text.h"

#include <array>
#include <cstddef>
#include <vector>

// The two shortcuts: "Pause or resume reminders" and "Take a break now".
constexpr std::size_t kPauseShortcut = 0;
constexpr std::size_t kBreakShortcut = 1;
constexpr std::size_t kShortcutCount = 2;

// Whether two shortcuts are the same keys; no shortcut clashes with nothing.
bool ShortcutsClash(const Shortcut& a, const Shortcut& b);

// Letting go of a shortcut held, or taking one.
struct ShortcutStep {
    bool take = false;
    std::size_t slot = kPauseShortcut;
    Shortcut shortcut;
    bool operator==(const ShortcutStep&) const = default;
};

// Why the shortcuts are looked at again: the user chose them (or they were read at start-up), or
// supervision starts.
enum class ShortcutOccasion { Chosen, Start };

class HeldShortcuts {
public:
    // The steps that make the held shortcuts the chosen ones, every letting go first. Chosen, a
    // changed shortcut is taken and, when anything changed, one that failed is tried again; at
    // Start only the ones that failed are tried again.
    std::vector<ShortcutStep> Plan(const std::array<Shortcut, kShortcutCount>& chosen, ShortcutOccasion occasion) const;
    // What became of the steps, then the shortcuts chosen, held or not.
    void Released(std::size_t slot) { m_slots[slot].held = false; }
    void Tried(std::size_t slot, bool taken) { m_slots[slot].held = taken; }
    void Remember(const std::array<Shortcut, kShortcutCount>& chosen);
    // Whether a shortcut is held, and the one chosen for a slot (held, or failed).
    bool Held(std::size_t slot) const { return m_slots[slot].held; }
    const Shortcut& ShortcutOf(std::size_t slot) const { return m_slots[slot].shortcut; }

private:
    struct Slot {
        Shortcut shortcut; // as last chosen, whether taken or not
        bool held = false;
    };
    std::array<Slot, kShortcutCount> m_slots{};
};
