#include "app/tavrin_app_win.h"

#include "app/main_window_win.h"

#include <commctrl.h>

CTavrinApp::CTavrinApp(Platform& platform) : m_platform(platform) {}

int CTavrinApp::InitInstance()
{
    // The notification area draws small icons; picking that size here spares Windows from
    // shrinking the 32-pixel picture, which blurs the bar's eighths.
    LoadTrayIcons(m_hTrayIcons, GetSystemMetrics(SM_CXSMICON));

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    CTavrinDlg mainWindow(m_platform, m_hTrayIcons);
    mainWindow.DoModal(nullptr);
    return 0;
}
