#include "app/tavrin_app_win.h"

#include "app/main_window_win.h"
#include "resources/resource_ids.h"

#include <commctrl.h>

namespace {
// The bar turns red one eighth at a time; the resource numbers are not in bar order.
constexpr int kTrayIconResources[CTavrinApp::kTrayIconCount] = {
    IDI_TRAY_0, IDI_TRAY_1, IDI_TRAY_2, IDI_TRAY_3, IDI_TRAY_4, IDI_TRAY_5, IDI_TRAY_6, IDI_TRAY_7, IDI_TRAY_8};
} // namespace

CTavrinApp::CTavrinApp(Platform& platform) : m_platform(platform) {}

int CTavrinApp::InitInstance()
{
    for (int index = 0; index < kTrayIconCount; ++index)
        m_hTrayIcons[index] = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTrayIconResources[index]));

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    CTavrinDlg mainWindow(m_platform, m_hTrayIcons);
    mainWindow.DoModal(nullptr);
    return 0;
}
