#include "breaks/heads_up_window_win.h"

#include "app/timer_plan.h"
#include "framework/accessibility_win.h"
#include "framework/dpi_win.h"
#include "language/translation.h"
#include "messages/popup_geometry.h"
#include "messages/status_bar_popup_win.h"
#include "platform/platform_win.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"

#include <commctrl.h>

namespace {

constexpr CStyledLabels::Style kTextStyle{L"Tahoma", 100, false, &Palette::text};
// The window's name for screen readers and for finding it; a caption in the template would give it a title bar.
constexpr const char* kWindowName = TrLater("Break heads-up");
constexpr UINT_PTR kClickWithoutFocusId = 1;

bool Inside(HWND button, LPARAM point)
{
    RECT client{};
    GetClientRect(button, &client);
    return PtInRect(&client, {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))}) != FALSE;
}

// A push button pressed by the mouse without taking the focus. The system's button takes the focus
// as it is pressed, which would activate the heads-up and take the keyboard from the user's window.
LRESULT CALLBACK ClickWithoutFocus(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(button);
        SendMessageW(button, BM_SETSTATE, TRUE, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == button)
            SendMessageW(button, BM_SETSTATE, Inside(button, lParam), 0);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == button) {
            const bool clicked = Inside(button, lParam);
            ReleaseCapture();
            if (clicked)
                SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
        }
        return 0;
    case WM_CAPTURECHANGED:
        SendMessageW(button, BM_SETSTATE, FALSE, 0);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(button, ClickWithoutFocus, kClickWithoutFocusId);
        break;
    default:
        break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

} // namespace

CHeadsUpWnd::CHeadsUpWnd(Platform& platform) : CDialog(IDD_HEADS_UP), m_platform(platform) {}

void CHeadsUpWnd::Follow(HWND owner, bool shown, const HeadsUpView& view, std::uint32_t timerMs)
{
    m_owner = owner;
    if (timerMs != m_nTimerMs) {
        if (timerMs == 0)
            m_platform.KillWindowTimer(m_owner, kBreakHeadsUpTimer);
        else
            m_platform.SetWindowTimer(m_owner, kBreakHeadsUpTimer, timerMs);
        m_nTimerMs = timerMs;
    }
    if (!shown) {
        if (IsVisible())
            Show(SW_HIDE);
        return;
    }
    // Without its window the heads-up still counts down, and the break still comes.
    if (!Hwnd() && !Create(m_owner))
        return;
    Refresh(view);
    if (!IsVisible())
        ShowAtTaskbarEdge();
}

BOOL CHeadsUpWnd::OnInitDialog()
{
    SetWindowTextW(Hwnd(), Widen(Tr(kWindowName)).c_str());
    StyleLabel(IDC_HEADS_UP_TEXT, kTextStyle);
    for (int id : {IDC_HEADS_UP_POSTPONE, IDC_HEADS_UP_START_NOW})
        SetWindowSubclass(Item(id), ClickWithoutFocus, kClickWithoutFocusId, 0);
    m_shown = {};
    // No control gets the focus, which would activate the window.
    return FALSE;
}

void CHeadsUpWnd::OnCommand(int id, int notifyCode)
{
    // Nothing else closes the window: the rules decide when it goes.
    if (notifyCode == BN_CLICKED && (id == IDC_HEADS_UP_POSTPONE || id == IDC_HEADS_UP_START_NOW))
        SendMessageW(m_owner, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

bool CHeadsUpWnd::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message != WM_MOUSEACTIVATE)
        return false;
    result = MA_NOACTIVATE;
    return true;
}

void CHeadsUpWnd::ShowAtTaskbarEdge()
{
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const ScreenRect workArea = PopupWorkArea();
    const int edge = FindTaskbarEdge(workArea, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const ScreenPoint corner = RollOutCorner(edge, workArea);
    const PopupPlacement place = PlacePopup(edge, FinalPopupRect(edge, workArea, width, height), width, height,
                                            DpiForMonitorAt({corner.x, corner.y}));
    // The popup's margin from the work area's side comes off its width; the heads-up keeps its
    // width and stands that much further in.
    SetWindowPos(Hwnd(), HWND_TOPMOST, place.x - (width - place.width), place.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    Show(SW_SHOWNOACTIVATE);
    // Heard as it comes, since it never takes the focus that would have it read.
    AnnounceAlert(Item(IDC_HEADS_UP_TEXT));
}

void CHeadsUpWnd::Refresh(const HeadsUpView& view)
{
    // Only what changed is set, so that the window doesn't flicker once a second.
    if (view.text != m_shown.text)
        SetItemText(IDC_HEADS_UP_TEXT, view.text);
    if (view.postponeCaption != m_shown.postponeCaption)
        SetItemText(IDC_HEADS_UP_POSTPONE, view.postponeCaption);
    EnableItem(IDC_HEADS_UP_POSTPONE, view.canPostpone);
    m_shown = view;
}
