#include "app/tray_icon_win.h"

#include "platform/platform_win.h"
#include "platform/text_win.h"

#include <cwchar>

namespace {
constexpr UINT kTrayIconId = 0;
constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr std::size_t kLongestTip = 63;
} // namespace

CTrayNot::CTrayNot(Platform& platform, HWND notifyWindow, UINT callbackMessage, const std::string& tip, HICON* icons)
    : m_platform(platform), m_pIcons(icons)
{
    m_nid.cbSize = sizeof m_nid;
    m_nid.hWnd = notifyWindow;
    m_nid.uID = kTrayIconId;
    m_nid.uFlags = kTrayFlags;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icons[0];
    SetTipText(tip);
    m_platform.NotifyIcon(NIM_ADD, m_nid);
}

CTrayNot::~CTrayNot()
{
    m_nid.uFlags = kTrayFlags;
    m_platform.NotifyIcon(NIM_DELETE, m_nid);
}

void CTrayNot::SetIcon(int index)
{
    if (m_pIcons[index] == m_nid.hIcon)
        return;
    m_nid.hIcon = m_pIcons[index];
    m_platform.NotifyIcon(NIM_MODIFY, m_nid);
}

void CTrayNot::SetTip(const std::string& tip)
{
    SetTipText(tip);
    m_platform.NotifyIcon(NIM_MODIFY, m_nid);
}

void CTrayNot::AddAgain()
{
    m_platform.NotifyIcon(NIM_ADD, m_nid);
}

void CTrayNot::SetTipText(const std::string& tip)
{
    const std::wstring wide = Widen(tip).substr(0, kLongestTip);
    std::wmemset(m_nid.szTip, L'\0', std::size(m_nid.szTip));
    std::wmemcpy(m_nid.szTip, wide.data(), wide.size());
}
