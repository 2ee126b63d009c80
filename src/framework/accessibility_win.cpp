#include "framework/accessibility_win.h"

namespace {
std::optional<bool> g_highContrastOverride;
}

bool HighContrastOn()
{
    if (g_highContrastOverride)
        return *g_highContrastOverride;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void OverrideHighContrast(std::optional<bool> on)
{
    g_highContrastOverride = on;
}

bool IsHighContrastChange(WPARAM setting)
{
    return setting == SPI_SETHIGHCONTRAST;
}

void AnnounceAlert(HWND window)
{
    // The client object's name is the window's text, for a top-level window as for a static control.
    if (window)
        NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_CLIENT, CHILDID_SELF);
}
