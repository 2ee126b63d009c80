#include "app/tray_icon_win.h"

#include "platform/text_win.h"

#include <cwchar>

namespace {
constexpr UINT kTrayIconId = 0;
}

CTrayNot::CTrayNot(HWND notifyWindow, UINT callbackMessage, const std::string& tip, HICON* icons) : m_pIcons(icons)
{
    m_nid.cbSize = sizeof m_nid;
    m_nid.hWnd = notifyWindow;
    m_nid.uID = kTrayIconId;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icons[0];
    std::wcsncpy(m_nid.szTip, Widen(tip).c_str(), std::size(m_nid.szTip) - 1);
    Shell_NotifyIconW(NIM_ADD, &m_nid);
}

CTrayNot::~CTrayNot()
{
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Shell_NotifyIconW(NIM_DELETE, &m_nid);
}

void CTrayNot::SetIcon(int index)
{
    if (m_pIcons[index] == m_nid.hIcon)
        return;
    m_nid.hIcon = m_pIcons[index];
    Shell_NotifyIconW(NIM_MODIFY, &m_nid);
}

void CTrayNot::SetTip(const std::string& tip)
{
    std::wmemset(m_nid.szTip, L'\0', std::size(m_nid.szTip));
    std::wcsncpy(m_nid.szTip, Widen(tip).c_str(), std::size(m_nid.szTip) - 1);
    Shell_NotifyIconW(NIM_MODIFY, &m_nid);
}
