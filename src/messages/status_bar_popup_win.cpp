#include "messages/status_bar_popup_win.h"

#include "appearance/palette_win.h"
#include "framework/accessibility_win.h"
#include "framework/dpi_win.h"
#include "language/translation.h"
#include "platform/text_win.h"

namespace {
constexpr const char* kClickText = TrLater("Think about it!");
constexpr char kAppName[] = "Kelvaro";
constexpr wchar_t kFontFace[] = L"Arial";
constexpr int kFontTenthsOfPoint = 100;
constexpr int kTenthsOfPointPerInch = 720;
constexpr DWORD kHoverTimeMs = 1;
constexpr DWORD kExtendedStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_CLIENTEDGE;
// A popup-style window gets no caption (an overlapped one is always given one) and a dialog
// frame rather than a sizing border: only the roll sizes the popup.
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME;

} // namespace

ScreenRect PopupWorkArea()
{
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return {area.left, area.top, area.right, area.bottom};
}

HFONT CStatusBarMsgWnd::CreateMessageFont(bool underline, int dpi)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(kFontTenthsOfPoint, dpi, kTenthsOfPointPerInch);
    font.lfWeight = FW_BOLD;
    font.lfUnderline = underline;
    lstrcpynW(font.lfFaceName, kFontFace, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

CStatusBarMsgWnd::CStatusBarMsgWnd(Platform& platform, const std::string& text, int width, int height,
                                   unsigned showTimeMs, unsigned stepTimeMs, const RECT& textRect, HWND owner)
    : m_platform(platform), m_nWidth(width), m_nHeight(height), m_nShowTime(showTimeMs), m_nStepTime(stepTimeMs),
      m_roll(height, showTimeMs, stepTimeMs), m_strMessage(text), m_pOwner(owner), m_rcText(textRect)
{
    ++s_nLive;
}

CStatusBarMsgWnd::~CStatusBarMsgWnd()
{
    if (m_dcFace) {
        SelectObject(m_dcFace, m_bmFacePrevious);
        DeleteDC(m_dcFace);
    }
    if (m_bmFace)
        DeleteObject(m_bmFace);
    if (m_fontHover)
        DeleteObject(m_fontHover);
    if (m_fontNormal)
        DeleteObject(m_fontNormal);
    if (m_pbFreed)
        *m_pbFreed = true;
    --s_nLive;
}

void CStatusBarMsgWnd::PopUp()
{
    const ScreenRect workArea = PopupWorkArea();
    m_nTaskbarEdge = FindTaskbarEdge(workArea, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const ScreenPoint corner = RollOutCorner(m_nTaskbarEdge, workArea);
    m_nDpi = DpiForMonitorAt({corner.x, corner.y});
    m_nWidth = ScaleToDpi(m_nWidth, m_nDpi);
    m_nHeight = ScaleToDpi(m_nHeight, m_nDpi);
    const ScreenRect text = ScaleToDpi(ScreenRect{m_rcText.left, m_rcText.top, m_rcText.right, m_rcText.bottom}, m_nDpi);
    m_rcText = {text.left, text.top, text.right, text.bottom};
    m_roll = PopupRoll(m_nHeight, m_nShowTime, m_nStepTime);
    if (!RegisterOwnedWindowClass<CStatusBarMsgWnd>(CStatusBarMsgWnd::kWindowClass, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) {
        delete this;
        return;
    }
    bool freed = false;
    m_pbFreed = &freed;
    // Not visible yet: a window created visible is activated. Each roll step shows it without activation.
    // The text is the window's too, which screen readers take for its name; no caption shows it.
    HWND window = CreateWindowExW(kExtendedStyle, kWindowClass, Widen(m_strMessage).c_str(), kStyle, 0, 0, 0, 0,
                                  m_pOwner, nullptr, GetModuleHandleW(nullptr), this);
    if (freed)
        return;
    m_pbFreed = nullptr;
    if (!window) {
        delete this;
        return;
    }
    m_rcFinal = FinalPopupRect(m_nTaskbarEdge, workArea, m_nWidth, m_nHeight);
    Apply(m_roll.Start());
}

bool CStatusBarMsgWnd::OnMessage(UINT message, WPARAM wParam, LRESULT& result)
{
    switch (message) {
    case WM_NCDESTROY:
        // The window's last message, however it ended: the popup's life ends with it.
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        delete this;
        return false;
    case WM_CREATE:
        OnCreate();
        return true;
    case WM_TIMER:
        OnTimer(wParam);
        return true;
    case WM_ERASEBKGND:
        // The face's picture holds the background too: the paint that follows copies both.
        result = m_bmFacePrevious != nullptr;
        return m_bmFacePrevious != nullptr;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(m_hWnd, &paint)) {
            const RECT& r = paint.rcPaint;
            BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, m_dcFace, r.left, r.top, SRCCOPY);
            EndPaint(m_hWnd, &paint);
        }
        return true;
    }
    case WM_SYSCOLORCHANGE:
        DrawFace(m_bHover);
        ShowFaceNow();
        return true;
    case WM_SETTINGCHANGE:
        if (IsHighContrastChange(wParam)) {
            DrawFace(m_bHover);
            ShowFaceNow();
        }
        return false;
    case WM_MOUSEMOVE:
        OnMouseMove();
        return true;
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
        OnHoverChange(message == WM_MOUSEHOVER);
        return true;
    case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATE;
        return true;
    case WM_LBUTTONDOWN:
        OnClick();
        return true;
    default:
        return false;
    }
}

void CStatusBarMsgWnd::OnCreate()
{
    m_fontHover = CreateMessageFont(true, m_nDpi);
    m_fontNormal = CreateMessageFont(false, m_nDpi);
    // The client area is never larger than the whole window at its full height.
    if (HDC screen = GetDC(m_hWnd)) {
        m_dcFace = CreateCompatibleDC(screen);
        m_bmFace = CreateCompatibleBitmap(screen, m_nWidth, m_nHeight);
        ReleaseDC(m_hWnd, screen);
    }
    if (m_dcFace && m_bmFace) {
        m_bmFacePrevious = SelectObject(m_dcFace, m_bmFace);
        DrawFace(false);
    }
}

void CStatusBarMsgWnd::OnTimer(UINT_PTR id)
{
    Apply(m_roll.Tick(static_cast<unsigned>(id)));
}

void CStatusBarMsgWnd::Apply(const RollAction& action)
{
    if (action.killTimer)
        m_platform.KillWindowTimer(m_hWnd, action.killTimer);
    if (action.startTimer)
        m_platform.SetWindowTimer(m_hWnd, action.startTimer, action.periodMs);
    if (action.placeHeight > 0)
        Place(action.placeHeight);
    if (action.destroy)
        DestroyWindow(m_hWnd); // frees the popup
}

void CStatusBarMsgWnd::Place(int height)
{
    const PopupPlacement place = PlacePopup(m_nTaskbarEdge, m_rcFinal, m_nWidth, height, m_nDpi);
    // Every step keeps the popup above every other window of the topmost band and shown. Raising
    // a window that already heads the z-order or showing a shown one changes nothing the user
    // sees, yet costs a round of the window manager's work 300 times a roll.
    UINT flags = SWP_NOACTIVATE;
    const bool firstShown = !IsWindowVisible(m_hWnd);
    if (firstShown)
        flags |= SWP_SHOWWINDOW;
    if (!GetWindow(m_hWnd, GW_HWNDPREV))
        flags |= SWP_NOZORDER;
    SetWindowPos(m_hWnd, HWND_TOPMOST, place.x, place.y, place.width, place.height, flags);
    // Each step shows its picture at once, as a paint within the step rather than one queued.
    UpdateWindow(m_hWnd);
    // Heard as it starts to roll out, since it never takes the focus that would have it read.
    if (firstShown)
        AnnounceAlert(m_hWnd);
}

void CStatusBarMsgWnd::OnMouseMove()
{
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = m_hWnd;
    track.dwHoverTime = kHoverTimeMs;
    TrackMouseEvent(&track);
}

void CStatusBarMsgWnd::OnHoverChange(bool hover)
{
    if (m_bHover == hover)
        return;
    DrawFace(hover);
    ShowFaceNow();
    m_bHover = hover;
}

void CStatusBarMsgWnd::OnClick()
{
    // The box's message loop keeps the roll going, so the popup may have freed itself by the
    // time the box returns: everything the call needs is taken first.
    Platform& platform = m_platform;
    HWND owner = m_pOwner ? m_pOwner : m_hWnd;
    platform.ShowMessageBox(owner, Tr(kClickText), kAppName, MB_OK | MB_ICONEXCLAMATION);
}

void CStatusBarMsgWnd::DrawFace(bool hover)
{
    if (!m_bmFacePrevious)
        return;
    const RECT face{0, 0, m_nWidth, m_nHeight};
    const Palette& palette = PaletteInForce();
    FillRect(m_dcFace, &face, PaletteBrush(palette.popupFace));
    SetTextColor(m_dcFace, ToColorRef(palette.popupText));
    SetBkColor(m_dcFace, ToColorRef(palette.popupTextBackground));
    HFONT font = hover ? m_fontHover : m_fontNormal;
    HGDIOBJ previous = font ? SelectObject(m_dcFace, font) : nullptr;
    const std::wstring text = Widen(m_strMessage);
    RECT rect = m_rcText;
    DrawTextW(m_dcFace, text.c_str(), static_cast<int>(text.size()), &rect, DT_CENTER | DT_WORDBREAK);
    if (previous)
        SelectObject(m_dcFace, previous);
}

void CStatusBarMsgWnd::ShowFaceNow()
{
    if (HDC dc = GetDC(m_hWnd)) {
        BitBlt(dc, 0, 0, m_nWidth, m_nHeight, m_dcFace, 0, 0, SRCCOPY);
        ReleaseDC(m_hWnd, dc);
    }
}
