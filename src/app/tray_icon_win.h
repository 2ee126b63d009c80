#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

class Platform;

// The program's icon in the notification area, with its tooltip.
class CTrayNot {
public:
    // Adds the icon (the first of the array) with a tooltip; the array must outlive this object.
    CTrayNot(Platform& platform, HWND notifyWindow, UINT callbackMessage, const std::string& tip, HICON* icons);
    // Removes the icon.
    ~CTrayNot();
    CTrayNot(const CTrayNot&) = delete;
    CTrayNot& operator=(const CTrayNot&) = delete;

    // Shows the icon at an index of the array; sends nothing when it is already shown.
    void SetIcon(int index);
    // Sets the tooltip, cut to the 63 characters the shell shows.
    void SetTip(const std::string& tip);
    // Adds the icon again as it is, for a taskbar that was restarted.
    void AddAgain();

private:
    void SetTipText(const std::string& tip);

    Platform& m_platform;
    NOTIFYICONDATAW m_nid{};
    HICON* m_pIcons;
};
