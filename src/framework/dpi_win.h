#pragma once
#include <windows.h>

// Dots per inch for the per-monitor DPI awareness the manifest declares. The functions that tell
// a window's or a monitor's own DPI arrived after Windows 7: they are looked up when first needed,
// and without them every window and monitor has the system DPI.

// The DPI the system had when the program started (96 at 100 %).
int SystemDpi();
// The DPI of the monitor a window is on.
int DpiForWindow(HWND window);
// The DPI of the monitor holding a point of the screen, or of the nearest monitor.
int DpiForMonitorAt(POINT point);
// The width (and height) in pixels of a small icon, as the notification area draws it, at a DPI.
int SmallIconSize(int dpi);
