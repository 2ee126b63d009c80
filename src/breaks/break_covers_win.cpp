#include "breaks/break_covers_win.h"

#include "appearance/palette_win.h"
#include "framework/accessibility_win.h"
#include "framework/dpi_win.h"
#include "framework/owned_window_win.h"
#include "platform/platform_win.h"
#include "platform/system_function_win.h"

#include <commctrl.h>
#include <wtsapi32.h>

namespace {
// A dark veil that lets the screen show through a little, or the high-contrast scheme's window colour, whole.
constexpr BYTE kVeilAlpha = 216;
constexpr BYTE kOpaque = 255;
constexpr DWORD kExtendedStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED;
constexpr UINT_PTR kDialogWatch = 1;
} // namespace

// One cover's window, over one monitor.
class CBreakCovers::CCover {
public:
    explicit CCover(CBreakCovers& owner) : m_owner(owner) {}
    ~CCover();
    CCover(const CCover&) = delete;
    CCover& operator=(const CCover&) = delete;

    // Makes the window over the rectangle, just below the dialog, without activating it.
    bool Create(const ScreenRect& rect, HWND dialog);
    // Shows the window again just below the dialog, as after a sleep other windows may have risen.
    void Restack(HWND dialog) const;
    // The look's timer and the session's notifications come to this cover, or no more.
    void CarryLook(bool carry);
    HWND Hwnd() const { return m_hWnd; }

private:
    friend LRESULT CALLBACK OwnedWindowProc<CCover>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMessage(UINT message, WPARAM wParam, LRESULT& result);
    void Restyle() const;
    void Paint(HDC dc) const;

    CBreakCovers& m_owner;
    HWND m_hWnd = nullptr;
    bool m_bCarriesLook = false;
};

CBreakCovers::CCover::~CCover()
{
    if (!m_hWnd)
        return;
    CarryLook(false);
    // Its last messages no longer reach this object.
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
}

bool CBreakCovers::CCover::Create(const ScreenRect& rect, HWND dialog)
{
    if (!RegisterOwnedWindowClass<CCover>(kWindowClass))
        return false;
    // Created hidden, as a window created visible is activated.
    if (!CreateWindowExW(kExtendedStyle, kWindowClass, L"", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleW(nullptr), this))
        return false;
    Restyle();
    Restack(dialog);
    return true;
}

void CBreakCovers::CCover::Restack(HWND dialog) const
{
    SetWindowPos(m_hWnd, dialog, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CBreakCovers::CCover::CarryLook(bool carry)
{
    if (carry == m_bCarriesLook)
        return;
    m_bCarriesLook = carry;
    // wtsapi32 is loaded with the first break's covers: outside a break, covers cost nothing.
    using Register = decltype(&WTSRegisterSessionNotification);
    using Unregister = decltype(&WTSUnRegisterSessionNotification);
    if (carry) {
        m_owner.m_platform.SetWindowTimer(m_hWnd, kLookTimer, kLookPeriodMs);
        if (const auto notify = SystemFunction<Register>(L"wtsapi32.dll", "WTSRegisterSessionNotification"))
            notify(m_hWnd, NOTIFY_FOR_THIS_SESSION);
    } else {
        m_owner.m_platform.KillWindowTimer(m_hWnd, kLookTimer);
        if (const auto stop = SystemFunction<Unregister>(L"wtsapi32.dll", "WTSUnRegisterSessionNotification"))
            stop(m_hWnd);
    }
}

void CBreakCovers::CCover::Restyle() const
{
    SetLayeredWindowAttributes(m_hWnd, 0, HighContrastOn() ? kOpaque : kVeilAlpha, LWA_ALPHA);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CBreakCovers::CCover::Paint(HDC dc) const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    FillRect(dc, &client, PaletteBrush(PaletteInForce().coverDim));
}

bool CBreakCovers::CCover::OnMessage(UINT message, WPARAM wParam, LRESULT& result)
{
    // A look may free this cover: nothing of it is touched after one.
    CBreakCovers& owner = m_owner;
    switch (message) {
    case WM_MOUSEACTIVATE:
        // A click on a cover reaches nothing and activates nothing.
        result = MA_NOACTIVATEANDEAT;
        return true;
    case WM_ERASEBKGND:
        Paint(reinterpret_cast<HDC>(wParam));
        result = 1;
        return true;
    case WM_SYSCOLORCHANGE:
        Restyle();
        return false;
    case WM_SETTINGCHANGE:
        if (IsHighContrastChange(wParam))
            Restyle();
        return false;
    case WM_CLOSE:
        // Only the break's end lifts a cover.
        return true;
    case WM_NCDESTROY:
        m_hWnd = nullptr;
        return false;
    case WM_TIMER:
        if (wParam != kLookTimer)
            return false;
        owner.Look(false);
        return true;
    // Under Wine a hidden window is not always told; the look once a second catches the rest.
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        owner.Look(false);
        return true;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND)
            owner.Look(true);
        result = TRUE;
        return true;
    case WM_WTSSESSION_CHANGE:
        if (wParam == WTS_SESSION_UNLOCK)
            owner.Look(true);
        return true;
    default:
        return false;
    }
}

CBreakCovers::CBreakCovers(Platform& platform) : m_platform(platform) {}

CBreakCovers::~CBreakCovers()
{
    Lift();
}

void CBreakCovers::Lay(HWND breakDialog)
{
    if (m_hDialog != breakDialog)
        Lift();
    if (!breakDialog || !IsWindowVisible(breakDialog))
        return;
    // Without the watch the covers would outstay the dialog: none are laid then.
    if (!m_hDialog) {
        if (!SetWindowSubclass(breakDialog, WatchDialog, kDialogWatch, reinterpret_cast<DWORD_PTR>(this)))
            return;
        m_hDialog = breakDialog;
    }
    Look(true);
}

void CBreakCovers::Lift()
{
    if (m_hDialog)
        RemoveWindowSubclass(m_hDialog, WatchDialog, kDialogWatch);
    m_hDialog = nullptr;
    m_covers.clear();
    m_plan.Lift();
}

std::vector<HWND> CBreakCovers::Covers() const
{
    std::vector<HWND> windows;
    for (const auto& cover : m_covers) {
        if (cover && cover->Hwnd())
            windows.push_back(cover->Hwnd());
    }
    return windows;
}

DialogPlace CBreakCovers::DialogAsItStands() const
{
    RECT rect{};
    GetWindowRect(m_hDialog, &rect);
    return {{static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
             static_cast<int>(rect.bottom)},
            DpiForWindow(m_hDialog)};
}

void CBreakCovers::Look(bool layAgain)
{
    if (!m_hDialog || m_bApplying)
        return;
    const std::vector<MonitorArea> monitors = m_platform.Monitors();
    const ScreenPoint pointer = m_platform.PointerPosition();
    const DialogPlace dialog = DialogAsItStands();
    Apply(layAgain ? m_plan.Lay(monitors, pointer, dialog) : m_plan.Follow(monitors, pointer, dialog), layAgain);
}

void CBreakCovers::Apply(const CoverLayout& layout, bool restack)
{
    m_bApplying = true;
    if (layout.dialog) {
        const ScreenRect& to = *layout.dialog;
        SetWindowPos(m_hDialog, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (restack)
        SetWindowPos(m_hDialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<std::unique_ptr<CCover>> covers;
    for (const CoverSlot& slot : layout.covers) {
        if (slot.from && *slot.from < m_covers.size() && m_covers[*slot.from] && m_covers[*slot.from]->Hwnd()) {
            covers.push_back(std::move(m_covers[*slot.from]));
            if (restack)
                covers.back()->Restack(m_hDialog);
            continue;
        }
        auto cover = std::make_unique<CCover>(*this);
        covers.push_back(cover->Create(slot.rect, m_hDialog) ? std::move(cover) : nullptr);
    }
    // The covers that no slot carries on go as the old list does.
    m_covers.swap(covers);
    bool carrierFound = false;
    for (const auto& cover : m_covers) {
        if (cover && cover->Hwnd()) {
            cover->CarryLook(!carrierFound);
            carrierFound = true;
        }
    }
    m_bApplying = false;
    covers.clear();
}

LRESULT CALLBACK CBreakCovers::WatchDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self)
{
    auto* covers = reinterpret_cast<CBreakCovers*>(self);
    // Told first, so that the dialog has its new place and DPI before the covers look.
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    // No exception may unwind through the system's window procedure.
    try {
        switch (message) {
        case WM_WINDOWPOSCHANGED:
            if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) != 0)
                covers->Lift();
            break;
        case WM_DESTROY:
            covers->Lift();
            break;
        case WM_DISPLAYCHANGE:
        case WM_DPICHANGED:
            covers->Look(false);
            break;
        default:
            break;
        }
    } catch (...) {
        // The covers stay as they were; the dialog has had its message.
    }
    return result;
}
