#include "framework/dpi_win.h"

#include "platform/system_function_win.h"

namespace {
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
// MDT_EFFECTIVE_DPI: the DPI the user's scaling gives the monitor.
constexpr int kEffectiveDpi = 0;

// Both are looked up once; user32 is always loaded, shcore stays loaded once asked for.
const auto getDpiForWindow = SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
const auto getSystemMetricsForDpi =
    SystemFunction<GetSystemMetricsForDpiFunction>(L"user32.dll", "GetSystemMetricsForDpi");

GetDpiForMonitorFunction GetDpiForMonitorEntry()
{
    static const auto entry = SystemFunction<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
    return entry;
}
} // namespace

int SystemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int DpiForWindow(HWND window)
{
    const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int DpiForMonitorAt(POINT point)
{
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (const auto getDpi = GetDpiForMonitorEntry();
        getDpi && SUCCEEDED(getDpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &dpiX, &dpiY)) &&
        dpiY > 0)
        return static_cast<int>(dpiY);
    return SystemDpi();
}

int SmallIconSize(int dpi)
{
    if (getSystemMetricsForDpi) {
        if (const int size = getSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi)); size > 0)
            return size;
    }
    return MulDiv(GetSystemMetrics(SM_CXSMICON), dpi, SystemDpi());
}
