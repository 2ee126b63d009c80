#pragma once
#include "app/tray_icon_win.h"

#include <windows.h>

class Platform;

// The application object: loads the tray pictures and runs the main window for the life of the process.
class CTavrinApp {
public:
    explicit CTavrinApp(Platform& platform);
    // Runs the program; returns when the main window has ended.
    int InitInstance();

    // The tray pictures in bar order; they live as long as the process.
    HICON m_hTrayIcons[kTrayIconCount] = {};

private:
    Platform& m_platform;
};
