// Work of the main window that belongs to parts of the program still to come; each keeps
// its place in the start-up, Start/Stop and timer sequences so that they run in order.
#include "app/main_window_win.h"

void CTavrinDlg::OnBreakCountdownTick() {}

void CTavrinDlg::CheckShutdownTime() {}

void CTavrinDlg::OnMessageTick(UINT_PTR, int, int) {}
