#pragma once
// The dark look of the program's windows, for every dialog at once: the colours the colour
// messages can give, the system's dark themes for the controls that have one, the controls the
// system would draw light drawn by the program, the title bar, and the popup menus where Windows
// lets a program choose. In the light look and under high contrast a window that was never dark is
// left untouched, so it is exactly as Windows draws it.
#include <windows.h>

// Dresses a top-level window, its title bar and its controls, in the look in force; a window dressed
// dark before is given back to the system's look. The controls the program draws follow the look
// at every paint.
void DressWindow(HWND window);
// Answers a WM_CTLCOLOR... message in the dark look with the palette's colours; false in any
// other look, where the system's colours stand.
bool AnswerColourMessage(UINT message, WPARAM deviceContext, LPARAM control, LRESULT& brush);
// Asks Windows for popup menus, the tray menu among them, in the look in force, where its version
// has the undocumented means for it; elsewhere the menus stay light and nothing fails.
void FollowMenuLook();
