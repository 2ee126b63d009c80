#pragma once
#include "breaks/eye_break.h"
#include "breaks/eye_break_popup_win.h"

#include <windows.h>

#include <vector>

class Platform;
class CQuietKeeper;
class CBreakHistory;

// Eye breaks as the main window runs them: taken at Start from the Settings dialog, timed by the
// activity tick, shown in their own popup. While the popup is up, the reminders that fall due wait
// for it. With eye breaks off it reads nothing and shows nothing.
class CEyeBreaks {
public:
    explicit CEyeBreaks(Platform& platform) : m_platform(platform) {}

    // Supervision starts: eye breaks come when the Settings dialog's box is checked, after its
    // minutes of active time. The field then shows the minutes taken.
    void OnStart(HWND owner);
    // Supervision stops: the popup goes, and the reminders that waited for it with it.
    void OnStop();
    // Once a second while supervising, with the user's moment as the quiet keeper last read it: the
    // reminders that waited for the popup, to give now that it has gone. The eye breaks offered and
    // taken go into the day's record.
    // headsUpShown: the heads-up before a forced break is on screen.
    std::vector<ReminderKind> OnActivityTick(CQuietKeeper& quiet, bool headsUpShown, CBreakHistory& record);
    // A reminder falls due: true when it waits for the popup to go.
    bool Defer(ReminderKind kind);
    // Another reminder was given now: the next eye break keeps its distance.
    void OnReminderGiven();

private:
    Platform& m_platform;
    HWND m_owner = nullptr;
    bool m_bOn = false;
    EyeBreakTimer m_timer;
    CEyeBreakPopup m_popup;
};
