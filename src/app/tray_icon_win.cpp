#include "app/tray_icon_win.h"

#include "platform/platform_win.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cwchar>

namespace {
constexpr UINT kTrayIconId = 0;
constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
// The count alone fits in 63 characters; its second line and its translations need the 127 that
// the shell shows since Windows 2000.
constexpr std::size_t kLongestTip = 127;
// Kelvaro plays its own sounds. The program needs Windows 7, where a notification takes its
// picture from hBalloonIcon, at the large icon size.
constexpr DWORD kBalloonFlags = NIIF_USER | NIIF_LARGE_ICON | NIIF_NOSOUND;
// The resource numbers of a light taskbar's pictures are not in bar order.
constexpr int kLightTaskbarIcons[kTrayIconCount] = {IDI_TRAY_0, IDI_TRAY_1, IDI_TRAY_2, IDI_TRAY_3, IDI_TRAY_4,
                                                    IDI_TRAY_5, IDI_TRAY_6, IDI_TRAY_7, IDI_TRAY_8};
constexpr int kDarkTaskbarIcons[kTrayIconCount] = {IDI_TRAY_DARK_0, IDI_TRAY_DARK_1, IDI_TRAY_DARK_2,
                                                   IDI_TRAY_DARK_3, IDI_TRAY_DARK_4, IDI_TRAY_DARK_5,
                                                   IDI_TRAY_DARK_6, IDI_TRAY_DARK_7, IDI_TRAY_DARK_8};

int IconWidth(HICON icon)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    BITMAP picture{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof picture, &picture);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return picture.bmWidth;
}

// Copies a text into a fixed field, cut so that it never ends on the first half of a surrogate pair.
template <std::size_t N> void CopyCut(wchar_t (&field)[N], std::string_view text)
{
    std::wstring wide = Widen(text);
    if (wide.size() > N - 1) {
        wide.resize(N - 1);
        if (IS_HIGH_SURROGATE(wide.back()))
            wide.pop_back();
    }
    std::wmemset(field, L'\0', N);
    std::wmemcpy(field, wide.data(), wide.size());
}
} // namespace

void LoadTrayIcons(HICON* icons, int size, TaskbarTheme taskbar)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const int* resources = taskbar == TaskbarTheme::Dark ? kDarkTaskbarIcons : kLightTaskbarIcons;
    for (int index = 0; index < kTrayIconCount; ++index) {
        // Each icon holds a picture for every small-icon size, so none is stretched.
        if (auto* icon =
                static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(resources[index]), IMAGE_ICON, size, size, 0)))
            icons[index] = icon;
    }
}

CTrayNot::CTrayNot(Platform& platform, HWND notifyWindow, UINT callbackMessage, const std::string& tip, HICON* icons)
    : m_platform(platform), m_pIcons(icons), m_nIconSize(IconWidth(icons[0]))
{
    m_nid.cbSize = sizeof m_nid;
    m_nid.hWnd = notifyWindow;
    m_nid.uID = kTrayIconId;
    m_nid.uFlags = kTrayFlags;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icons[0];
    Reload(m_nIconSize, TaskbarThemeOf(platform.ReadSystemAppearance()));
    SetTipText(tip);
    m_bShown = Notify(NIM_ADD, kTrayFlags);
}

CTrayNot::~CTrayNot()
{
    Notify(NIM_DELETE, kTrayFlags);
}

void CTrayNot::SetIcon(int index)
{
    m_nIndex = index;
    if (m_pIcons[index] == m_nid.hIcon)
        return;
    m_nid.hIcon = m_pIcons[index];
    Notify(NIM_MODIFY, NIF_ICON);
}

void CTrayNot::SetTip(std::string_view tip)
{
    SetTipText(tip);
    // The tooltip changes every second; the picture, which the shell would copy again with it, doesn't.
    Notify(NIM_MODIFY, NIF_TIP);
}

void CTrayNot::AddAgain()
{
    // The taskbar also announces itself when only the scaling changed: the icon may still be there.
    m_bShown = Notify(NIM_ADD, kTrayFlags) || Notify(NIM_MODIFY, kTrayFlags);
}

bool CTrayNot::ShowBalloon(std::string_view title, std::string_view text, HICON picture)
{
    if (!m_bShown)
        return false;
    // A record of its own: the icon's record goes on being sent every second without the notification.
    NOTIFYICONDATAW balloon = m_nid;
    balloon.uFlags = NIF_INFO;
    CopyCut(balloon.szInfoTitle, title);
    CopyCut(balloon.szInfo, text);
    balloon.dwInfoFlags = kBalloonFlags;
    balloon.hBalloonIcon = picture;
    return m_platform.NotifyIcon(NIM_MODIFY, balloon);
}

bool CTrayNot::Notify(DWORD action, UINT flags)
{
    m_nid.uFlags = flags;
    return m_platform.NotifyIcon(action, m_nid);
}

void CTrayNot::SetIconSize(int size)
{
    if (size > 0 && Reload(size, m_taskbar))
        Notify(NIM_MODIFY, NIF_ICON);
}

void CTrayNot::FollowTaskbar()
{
    if (Reload(m_nIconSize, TaskbarThemeOf(m_platform.ReadSystemAppearance())))
        Notify(NIM_MODIFY, NIF_ICON);
}

bool CTrayNot::Reload(int size, TaskbarTheme taskbar)
{
    if (size == m_nIconSize && taskbar == m_taskbar)
        return false;
    HICON previous[kTrayIconCount];
    std::copy_n(m_pIcons, kTrayIconCount, previous);
    LoadTrayIcons(m_pIcons, size, taskbar);
    m_nIconSize = size;
    m_taskbar = taskbar;
    m_nid.hIcon = m_pIcons[m_nIndex];
    // The shell keeps its own copy of the picture it shows.
    for (int index = 0; index < kTrayIconCount; ++index) {
        if (previous[index] && previous[index] != m_pIcons[index])
            DestroyIcon(previous[index]);
    }
    return true;
}

void CTrayNot::SetTipText(std::string_view tip)
{
    std::wmemset(m_nid.szTip, L'\0', std::size(m_nid.szTip));
    // Every tick sets an ASCII tooltip: widened in place, it costs no allocation each second.
    const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (tip.size() <= kLongestTip && std::all_of(tip.begin(), tip.end(), isAscii)) {
        std::copy(tip.begin(), tip.end(), m_nid.szTip);
        return;
    }
    CopyCut(m_nid.szTip, tip);
}
