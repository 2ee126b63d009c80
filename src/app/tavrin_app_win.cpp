#include "app/tavrin_app_win.h"

#include "app/main_window_win.h"
#include "language/program_language_win.h"

#include <commctrl.h>

CTavrinApp::CTavrinApp(Platform& platform) : m_platform(platform) {}

int CTavrinApp::InitInstance()
{
    // Every window is made in the user's language.
    StartProgramLanguage(m_platform);

    // The notification area draws small icons; picking that size here spares Windows from
    // shrinking the 32-pixel picture, which blurs the bar's eighths.
    LoadTrayIcons(m_hTrayIcons, GetSystemMetrics(SM_CXSMICON));

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    CTavrinDlg mainWindow(m_platform, m_hTrayIcons);
    mainWindow.DoModal(nullptr);
    return 0;
}
