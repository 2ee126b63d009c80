#include "test_support_win.h"

#include "activity/active_time_store.h"
#include "activity/counter_state.h"
#include "activity/time_files.h"
#include "appearance/palette_win.h"
#include "app/main_window_win.h"
#include "breaks/break_state.h"
#include "breaks/forced_break_dialog_win.h"
#include "messages/message_catalogue.h"
#include "shutdown/shutdown_service.h"

#include <commctrl.h>

void ResetProgramState()
{
    g_supervision = SupervisionState{};
    g_bStoppedBySuspend = false;
    g_bWindowsNT = false;
    g_pForceBreakDlg = nullptr;
    g_nActiveTimeMs = 0;
    g_nRestoredTimeMs = 0;
    g_dwStartTick = 0;
    g_nIdleTimeMs = 0;
    g_timeCountedDay = 0;
    g_dwPreviousTick = 0;
    g_bCountKnown = false;
    g_dayHistory.clear();
    g_bHistoryLoaded = false;
    healthMessages.clear();
    timeBreakMessages.clear();
    sleepMessages.clear();
    g_bShutdownAsking = false;
    g_shutdownSchedule = {};
    ChooseLook(ThemeSetting::System, {});
}

namespace {
// The dialogs use the date-time picker, which needs the common controls loaded once.
const bool kCommonControlsReady = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
}();
} // namespace
