#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

// The program's icon in the notification area, with its tooltip.
class CTrayNot {
public:
    // Adds the icon (the first of the array) with a tooltip; the array must outlive this object.
    CTrayNot(HWND notifyWindow, UINT callbackMessage, const std::string& tip, HICON* icons);
    ~CTrayNot();
    CTrayNot(const CTrayNot&) = delete;
    CTrayNot& operator=(const CTrayNot&) = delete;

    // Shows the icon at an index of the array; sends nothing when it is already shown.
    void SetIcon(int index);
    void SetTip(const std::string& tip);

private:
    NOTIFYICONDATAW m_nid{};
    HICON* m_pIcons;
};
