#pragma once
#include <vector>

struct SettingsModel;

// The windows whose controls supervision locks.
enum class LockedWindow { Main, Settings, SetTime, WorkingHours };

struct LockedControl {
    LockedWindow window;
    int id;
};

// The choices locked while supervision runs, in the order Start disables them and Stop
// enables them again.
const std::vector<LockedControl>& ControlsLockedWhileRunning();

// Whether supervision locks a control of a window while it runs.
bool IsLockedWhileRunning(LockedWindow window, int id);

// The controls of a window whose enabling follows IsControlEnabled: its locked ones, and the
// fields that only one choice uses.
std::vector<int> ControlsEnabledByRules(LockedWindow window);

// Whether a control of a window takes input: a locked choice only while supervision is stopped,
// the "Other" minutes only with "Other" chosen and the break's seconds only with forced breaks.
// Every other control always.
bool IsControlEnabled(LockedWindow window, int id, const SettingsModel& model, bool running);
