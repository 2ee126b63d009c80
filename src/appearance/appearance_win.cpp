#include "appearance/appearance_win.h"

#include "appearance/palette_win.h"
#include "framework/dark_mode_win.h"
#include "platform/platform_win.h"
#include "settings/settings_model.h"

namespace {

BOOL CALLBACK Repaint(HWND window, LPARAM)
{
    DressWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

HBITMAP LoadPicture(int id)
{
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

} // namespace

CAppearance::CAppearance(Platform& platform, const SettingsModel& settings)
    : m_platform(platform), m_settings(settings), m_shown(ThemeInForce())
{
}

CAppearance::~CAppearance()
{
    for (const Picture& picture : m_pictures) {
        if (picture.light)
            DeleteObject(picture.light);
        if (picture.dark)
            DeleteObject(picture.dark);
    }
}

void CAppearance::AddPicture(HWND control, int lightBitmap, int darkBitmap)
{
    m_pictures.push_back({control, lightBitmap, darkBitmap});
}

void CAppearance::Follow()
{
    ChooseLook(m_settings.theme, m_platform.ReadSystemAppearance());
    const Theme now = ThemeInForce();
    if (now == m_shown)
        return;
    m_shown = now;
    FollowMenuLook();
    ShowPictures();
    EnumThreadWindows(GetCurrentThreadId(), Repaint, 0);
}

void CAppearance::ShowPictures()
{
    const bool dark = m_shown == Theme::Dark;
    for (Picture& picture : m_pictures) {
        HBITMAP& bitmap = dark ? picture.dark : picture.light;
        if (!bitmap)
            bitmap = LoadPicture(dark ? picture.darkBitmap : picture.lightBitmap);
        const auto previous = reinterpret_cast<HBITMAP>(
            SendMessageW(picture.control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
        // The template's own picture, which the control loaded, is no longer shown.
        if (previous && previous != picture.light && previous != picture.dark)
            DeleteObject(previous);
    }
}
