#pragma once
#include <vector>

// The windows whose controls supervision locks.
enum class LockedWindow { Main, Settings, SetTime };

struct LockedControl {
    LockedWindow window;
    int id;
};

// The choices locked while supervision runs, in the order Start disables them and Stop
// enables them again.
const std::vector<LockedControl>& ControlsLockedWhileRunning();

// Whether Stop enables a locked control again: the "Other" minutes field only while "Other" is chosen.
bool EnabledAfterStop(const LockedControl& control, int checkedIntervalButton);
