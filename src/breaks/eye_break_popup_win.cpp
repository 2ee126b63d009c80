#include "breaks/eye_break_popup_win.h"

#include "appearance/palette_win.h"
#include "framework/accessibility_win.h"
#include "framework/dpi_win.h"
#include "language/translation.h"
#include "messages/popup_geometry.h"
#include "messages/status_bar_popup_win.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"

#include <string>

namespace {
constexpr const char* kEyeBreakText = TrLater("Rest your eyes: look at something far away");
constexpr const char* kDoneText = TrLater("Done");
// The popup at 96 DPI: the text's two lines above the countdown's one.
constexpr int kWidth = 200;
constexpr int kHeight = 100;
constexpr int kInnerMargin = 8;
constexpr int kTextTop = 10;
constexpr int kTextBottom = 48;
constexpr int kCountBottom = 90;
constexpr int kCountTenthsOfPoint = 200;
constexpr int kTenthsOfPointPerInch = 720;
constexpr wchar_t kCountFontFace[] = L"Arial";
constexpr DWORD kExtendedStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
constexpr DWORD kStyle = WS_POPUP | WS_BORDER;

HFONT CreateCountFont(int dpi)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(kCountTenthsOfPoint, dpi, kTenthsOfPointPerInch);
    font.lfWeight = FW_BOLD;
    lstrcpynW(font.lfFaceName, kCountFontFace, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

} // namespace

CEyeBreakPopup::~CEyeBreakPopup()
{
    Close();
}

bool CEyeBreakPopup::Show(HWND owner, int secondsLeft)
{
    Close();
    if (!RegisterOwnedWindowClass<CEyeBreakPopup>(CEyeBreakPopup::kWindowClass))
        return false;
    const ScreenRect workArea = PopupWorkArea();
    const int edge = FindTaskbarEdge(workArea, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const ScreenPoint corner = RollOutCorner(edge, workArea);
    const int dpi = DpiForMonitorAt({corner.x, corner.y});
    const int width = ScaleToDpi(kWidth, dpi);
    const int height = ScaleToDpi(kHeight, dpi);
    const PopupPlacement place = PlacePopup(edge, FinalPopupRect(edge, workArea, width, height), width, height, dpi);
    // Created hidden, as a window created visible is activated; the text is the name screen readers say.
    if (!CreateWindowExW(kExtendedStyle, kWindowClass, Widen(Tr(kEyeBreakText)).c_str(), kStyle, place.x, place.y,
                         place.width, place.height, owner, nullptr, GetModuleHandleW(nullptr), this))
        return false;
    CreateControls(dpi);
    ShowCount(secondsLeft);
    SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // Heard as it comes, since it never takes the focus that would have it read.
    AnnounceAlert(m_hWnd);
    return true;
}

void CEyeBreakPopup::CreateControls(int dpi)
{
    m_fontText = CStatusBarMsgWnd::CreateMessageFont(false, dpi);
    m_fontCount = CreateCountFont(dpi);
    RefreshColours();
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int margin = ScaleToDpi(kInnerMargin, dpi);
    const struct {
        int id;
        const char* text;
        int top;
        int bottom;
        HFONT font;
        DWORD style;
    } controls[] = {
        {IDC_EYE_BREAK_TEXT, Tr(kEyeBreakText), kTextTop, kTextBottom, m_fontText, SS_CENTER},
        {IDC_EYE_BREAK_COUNT, "", kTextBottom, kCountBottom, m_fontCount, SS_CENTER | SS_CENTERIMAGE},
    };
    for (const auto& control : controls) {
        const int top = ScaleToDpi(control.top, dpi);
        HWND child = CreateWindowExW(0, L"STATIC", Widen(control.text).c_str(), WS_CHILD | WS_VISIBLE | control.style,
                                     margin, top, client.right - 2 * margin, ScaleToDpi(control.bottom, dpi) - top,
                                     m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                     GetModuleHandleW(nullptr), nullptr);
        if (child && control.font)
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), FALSE);
    }
}

void CEyeBreakPopup::ShowCount(int secondsLeft)
{
    if (!m_hWnd || secondsLeft == m_nSecondsShown)
        return;
    m_nSecondsShown = secondsLeft;
    const std::string text = secondsLeft > 0 ? std::to_string(secondsLeft) : Tr(kDoneText);
    SetDlgItemTextW(m_hWnd, IDC_EYE_BREAK_COUNT, Widen(text).c_str());
}

void CEyeBreakPopup::Close()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd); // its last message frees the drawing tools
}

void CEyeBreakPopup::RefreshColours()
{
    if (m_brBackground)
        DeleteObject(m_brBackground);
    m_brBackground = CreateSolidBrush(ToColorRef(PaletteInForce().eyeBreakFace));
}

void CEyeBreakPopup::FreeDrawingTools()
{
    for (HGDIOBJ tool : {static_cast<HGDIOBJ>(m_fontText), static_cast<HGDIOBJ>(m_fontCount),
                         static_cast<HGDIOBJ>(m_brBackground)}) {
        if (tool)
            DeleteObject(tool);
    }
    m_fontText = nullptr;
    m_fontCount = nullptr;
    m_brBackground = nullptr;
}

bool CEyeBreakPopup::OnMessage(UINT message, WPARAM wParam, LRESULT& result)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATE;
        return true;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(m_hWnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, m_brBackground);
        result = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const Palette& palette = PaletteInForce();
        SetTextColor(dc, ToColorRef(palette.eyeBreakText));
        SetBkColor(dc, ToColorRef(palette.eyeBreakFace));
        result = reinterpret_cast<LRESULT>(m_brBackground);
        return true;
    }
    case WM_SETTINGCHANGE:
        if (!IsHighContrastChange(wParam))
            return false;
        [[fallthrough]];
    case WM_SYSCOLORCHANGE:
        RefreshColours();
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return message == WM_SYSCOLORCHANGE;
    case WM_NCDESTROY:
        // However the window ended (Close, or its owner's end), the popup is no longer shown.
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        FreeDrawingTools();
        m_hWnd = nullptr;
        m_nSecondsShown = -1;
        return false;
    default:
        return false;
    }
}
