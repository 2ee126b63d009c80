#include "breaks/heads_up_window_win.h"

#include "app/timer_plan.h"
#include "framework/accessibility_win.h"
#include "framework/dpi_win.h"
#include "history/break_history.h"
#include "messages/popup_geometry.h"
#include "messages/quiet_keeper_win.h"
#include "messages/status_bar_popup_win.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"

#include <commctrl.h>

#include <utility>

namespace {

constexpr CStyledLabels::Style kTextStyle{L"Tahoma", 100, false, RGB(0, 0, 0)};
// The window's name for screen readers and for finding it; a caption in the template would give it a title bar.
constexpr wchar_t kWindowName[] = L"Break heads-up";
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

CHeadsUpWnd::CHeadsUpWnd(Platform& platform, CQuietKeeper& quiet, CBreakHistory& record,
                         std::function<void()> startBreak)
    : CDialog(IDD_HEADS_UP), m_platform(platform), m_quiet(quiet), m_record(record),
      m_startBreak(std::move(startBreak))
{
}

void CHeadsUpWnd::OnStart(HWND owner)
{
    m_owner = owner;
}

void CHeadsUpWnd::OnStop()
{
    m_rules.End();
    FollowRules();
}

bool CHeadsUpWnd::OnBreakDue(ReminderKind kind)
{
    if (!m_rules.OnBreakDue(m_platform.TickCount()))
        return false;
    m_kind = kind;
    m_platform.SetWindowTimer(m_owner, kBreakHeadsUpTimer, kOncePerSecondMs);
    ShowAtTaskbarEdge();
    return true;
}

void CHeadsUpWnd::OnTick()
{
    switch (m_rules.OnTick(m_platform.TickCount())) {
    case HeadsUpEvent::BreakDue:
        FollowRules();
        // As before the heads-up, the user may meanwhile be busy, have paused reminders or be away.
        if (m_quiet.OnDue(m_kind) == GateVerdict::Give)
            m_startBreak();
        return;
    case HeadsUpEvent::HeadsUpDue:
        if (m_quiet.OnDue(m_kind) == GateVerdict::Give) {
            ShowAtTaskbarEdge();
            return;
        }
        m_rules.End();
        FollowRules();
        return;
    case HeadsUpEvent::None:
        Refresh();
        FollowRules();
        return;
    }
}

BOOL CHeadsUpWnd::OnInitDialog()
{
    SetWindowTextW(Hwnd(), kWindowName);
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
    if (notifyCode != BN_CLICKED)
        return;
    if (id == IDC_HEADS_UP_POSTPONE)
        OnPostpone();
    else if (id == IDC_HEADS_UP_START_NOW)
        OnStartNow();
}

bool CHeadsUpWnd::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message != WM_MOUSEACTIVATE)
        return false;
    result = MA_NOACTIVATE;
    return true;
}

void CHeadsUpWnd::OnPostpone()
{
    if (!m_rules.Postpone(m_platform.TickCount()))
        return;
    m_record.Count(BreakEvent::Postponed);
    FollowRules();
}

void CHeadsUpWnd::OnStartNow()
{
    if (!m_rules.StartNow())
        return;
    FollowRules();
    m_startBreak();
}

void CHeadsUpWnd::ShowAtTaskbarEdge()
{
    // Without its window the heads-up still counts down, and the break still comes.
    if (!Hwnd() && !Create(m_owner))
        return;
    Refresh();
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
    const bool wasShown = IsVisible();
    Show(SW_SHOWNOACTIVATE);
    // Heard as it comes, since it never takes the focus that would have it read.
    if (!wasShown)
        AnnounceAlert(Item(IDC_HEADS_UP_TEXT));
}

void CHeadsUpWnd::Refresh()
{
    if (!Hwnd())
        return;
    const HeadsUpView view = m_rules.View(m_platform.TickCount());
    // Only what changed is set, so that the window doesn't flicker once a second.
    if (view.text != m_shown.text)
        SetItemText(IDC_HEADS_UP_TEXT, view.text);
    if (view.postponeCaption != m_shown.postponeCaption)
        SetItemText(IDC_HEADS_UP_POSTPONE, view.postponeCaption);
    EnableItem(IDC_HEADS_UP_POSTPONE, view.canPostpone);
    m_shown = view;
}

void CHeadsUpWnd::FollowRules()
{
    if (!m_rules.Shown() && IsVisible())
        Show(SW_HIDE);
    if (!m_rules.Pending())
        m_platform.KillWindowTimer(m_owner, kBreakHeadsUpTimer);
}
