#include "breaks/forced_break_dialog_win.h"

#include "resources/resource_ids.h"

CforceBreak* g_pForceBreakDlg = nullptr;

CforceBreak::CforceBreak() : CDialog(IDD_FORCED_BREAK) {}
