#pragma once
#include "appearance/theme_choice.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

class Platform;

// The tray's pictures: a heart above a bar that turns red one eighth at a time.
constexpr int kTrayIconCount = 9;

// Loads the tray's pictures for a light taskbar, or those for a dark one, in bar order at a size
// in pixels; a picture that can't be loaded is left as it was in the array. The pictures are the
// caller's to destroy.
void LoadTrayIcons(HICON* icons, int size, TaskbarTheme taskbar = TaskbarTheme::Light);

// The program's icon in the notification area, with its tooltip, in the pictures for the
// taskbar's light or dark look.
class CTrayNot {
public:
    // Adds the icon (the first of the array, loaded again first if the taskbar is dark) with a
    // tooltip; the array must outlive this object.
    CTrayNot(Platform& platform, HWND notifyWindow, UINT callbackMessage, const std::string& tip, HICON* icons);
    // Removes the icon.
    ~CTrayNot();
    CTrayNot(const CTrayNot&) = delete;
    CTrayNot& operator=(const CTrayNot&) = delete;

    // Shows the icon at an index of the array; sends nothing when it is already shown.
    void SetIcon(int index);
    // Sets the tooltip, cut to the 127 characters the shell shows.
    void SetTip(std::string_view tip);
    // Adds the icon again as it is, for a taskbar that was restarted.
    void AddAgain();
    // Whether the icon is in the notification area: the last time it was added, the shell took it.
    bool IsShown() const { return m_bShown; }
    // Shows a notification from the icon, without a sound, with a large picture; false when the
    // shell refused it. The title is cut to 63 characters, the text to 255.
    bool ShowBalloon(std::string_view title, std::string_view text, HICON picture);
    // Reloads the array's pictures at another size (after a change of DPI) and shows the same
    // step again; nothing happens when they already have that size.
    void SetIconSize(int size);
    // Takes the pictures for the taskbar's look again, showing the same step, when Windows' look
    // changed (WM_SETTINGCHANGE); nothing happens when the array already has them.
    void FollowTaskbar();

private:
    // Loads the array's pictures again at a size for a taskbar's look, freeing the ones it held;
    // false when it already holds those.
    bool Reload(int size, TaskbarTheme taskbar);
    void SetTipText(std::string_view tip);
    // Sends the record with the flags that say which of its fields the request carries; false when refused.
    bool Notify(DWORD action, UINT flags);

    Platform& m_platform;
    NOTIFYICONDATAW m_nid{};
    HICON* m_pIcons;
    // The bar step shown, and the size of the array's pictures (0 when not known).
    int m_nIndex = 0;
    int m_nIconSize;
    // The look whose pictures the array holds: the application loads the light taskbar's.
    TaskbarTheme m_taskbar = TaskbarTheme::Light;
    bool m_bShown = false;
};
