#pragma once
#include <windows.h>

#include <optional>

// Whether the user has turned a high-contrast scheme on. Every text of the program then takes the
// scheme's colours, so that it stays readable whichever scheme it is.
bool HighContrastOn();
// Stands in for the system's answer (Wine keeps no high-contrast state); nothing: the system's again.
void OverrideHighContrast(std::optional<bool> on);
// Whether a WM_SETTINGCHANGE, by its wParam, tells that high contrast was turned on or off.
bool IsHighContrastChange(WPARAM setting);

// Asks screen readers to announce a window's text at once, as they announce a message box, without
// the window taking the focus. The window must be shown already.
void AnnounceAlert(HWND window);
