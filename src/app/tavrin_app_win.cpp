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
    // The notification area draws small icons; picking that size here spares Windows from
    // shrinking the 32-pixel picture, which blurs the bar's eighths.
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int index = 0; index < kTrayIconCount; ++index) {
        const auto* resource = MAKEINTRESOURCEW(kTrayIconResources[index]);
        m_hTrayIcons[index] = static_cast<HICON>(LoadImageW(instance, resource, IMAGE_ICON, width, height, 0));
        if (!m_hTrayIcons[index])
            m_hTrayIcons[index] = LoadIconW(instance, resource);
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    CTavrinDlg mainWindow(m_platform, m_hTrayIcons);
    mainWindow.DoModal(nullptr);
    return 0;
}
