#include "app/supervision_locks.h"

#include "app/timer_plan.h"
#include "resources/resource_ids.h"
#include "settings/settings_model.h"

#include <algorithm>

namespace {
constexpr int kDialogOk = 1;
constexpr int kDialogCancel = 2;
} // namespace

const std::vector<LockedControl>& ControlsLockedWhileRunning()
{
    using enum LockedWindow;
    static const std::vector<LockedControl> controls{
        {Main, IDC_MAIN_HEALTH_TIPS},
        {Main, IDC_MAIN_SLEEP_MESSAGES},
        {Main, IDC_MAIN_TIME_BREAKS},
        {Settings, IDC_SETTINGS_SOUND_WARNING},
        {Settings, IDC_SETTINGS_SOUND_ON_MSG},
        {Settings, IDC_SETTINGS_EYE_BREAKS},
        {Settings, IDC_SETTINGS_EYE_BREAK_MINUTES},
        {Settings, IDC_SETTINGS_WORK_HOURS},
        {Settings, IDC_SETTINGS_WORK_HOURS_EDIT},
        {Settings, IDC_SETTINGS_DAILY_LIMIT},
        {Settings, IDC_SETTINGS_DAILY_LIMIT_HOURS},
        {Settings, IDC_SETTINGS_DAILY_LIMIT_MINUTES},
        {Main, IDC_MAIN_SHUTDOWN},
        {Main, IDC_MAIN_SET_TIME},
        {Main, IDC_MAIN_MORE_SETTINGS},
        {SetTime, kDialogOk},
        {SetTime, kDialogCancel},
        {SetTime, IDC_SETTIME_WARNING},
        {SetTime, IDC_SETTIME_PICKER},
        {Main, IDC_MAIN_OTHER_MINUTES},
        {SetTime, IDC_SETTIME_SHUTDOWN},
        {SetTime, IDC_SETTIME_LOG_OFF},
        {SetTime, IDC_SETTIME_REBOOT},
        {SetTime, IDC_SETTIME_POWER_OFF},
        {Main, IDC_MAIN_30_MIN},
        {Main, IDC_MAIN_45_MIN},
        {Main, IDC_MAIN_60_MIN},
        {Main, IDC_MAIN_OTHER},
        {Settings, IDC_SETTINGS_BEDTIME},
        {Settings, IDC_SETTINGS_BEDTIME_REMINDER},
        // Working hours taken in their dialog while supervision runs would never be in force.
        {WorkingHours, kDialogOk},
    };
    return controls;
}

bool IsLockedWhileRunning(LockedWindow window, int id)
{
    const auto& locked = ControlsLockedWhileRunning();
    return std::any_of(locked.begin(), locked.end(),
                       [&](const LockedControl& control) { return control.window == window && control.id == id; });
}

std::vector<int> ControlsEnabledByRules(LockedWindow window)
{
    std::vector<int> ids;
    for (const LockedControl& control : ControlsLockedWhileRunning()) {
        if (control.window == window)
            ids.push_back(control.id);
    }
    if (window == LockedWindow::Settings)
        ids.push_back(IDC_SETTINGS_WAIT_SECONDS);
    return ids;
}

bool IsControlEnabled(LockedWindow window, int id, const SettingsModel& model, bool running)
{
    if (window == LockedWindow::Settings && id == IDC_SETTINGS_WAIT_SECONDS)
        return model.forceBreak;
    if (!IsLockedWhileRunning(window, id))
        return true;
    if (running)
        return false;
    if (window == LockedWindow::Main && id == IDC_MAIN_OTHER_MINUTES)
        return model.interval == kIntervalOther;
    return true;
}
