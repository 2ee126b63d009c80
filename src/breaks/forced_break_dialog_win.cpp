#include "breaks/forced_break_dialog_win.h"

#include "breaks/idea_box.h"
#include "breaks/strict_break.h"
#include "framework/accessibility_win.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"

CforceBreak* g_pForceBreakDlg = nullptr;

namespace {
constexpr CStyledLabels::Style kTitleStyle{L"Tahoma", 240, false, &Palette::text};
constexpr CStyledLabels::Style kIdeaStyle{L"Tahoma", 100, false, &Palette::text};
// How the box draws its text (SS_CENTER | SS_NOPREFIX | SS_EDITCONTROL), a word too long for a line broken too.
constexpr UINT kIdeaFormat = DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;

// A control's place in the dialog's client area.
RECT PlaceInDialog(HWND control, HWND dialog)
{
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}
} // namespace

CforceBreak::CforceBreak() : CDialog(IDD_FORCED_BREAK) {}

BOOL CforceBreak::OnInitDialog()
{
    StyleLabel(IDC_BREAK_TITLE, kTitleStyle);
    StyleLabel(IDC_BREAK_IDEA, kIdeaStyle);
    ShowIdea({});
    return TRUE;
}

CforceBreak::TextHeights CforceBreak::MeasureIdea(const std::string& idea) const
{
    HWND box = Item(IDC_BREAK_IDEA);
    HDC dc = GetDC(box);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT needed{};
    GetClientRect(box, &needed);
    needed.bottom = 0;
    if (!idea.empty()) {
        const std::wstring text = Widen(idea);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | kIdeaFormat);
    }
    SelectObject(dc, previous);
    ReleaseDC(box, dc);
    return {static_cast<int>(needed.bottom), static_cast<int>(metrics.tmHeight)};
}

void CforceBreak::ShowIdea(const std::string& idea)
{
    HWND box = Item(IDC_BREAK_IDEA);
    SetItemText(IDC_BREAK_IDEA, idea);
    const RECT place = PlaceInDialog(box, Hwnd());
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    const TextHeights text = MeasureIdea(idea);
    const IdeaBoxLayout layout =
        LayOutIdeaBox({text.needed, text.line, static_cast<int>(place.bottom - place.top), static_cast<int>(window.top),
                       static_cast<int>(window.bottom - window.top), static_cast<int>(monitor.rcWork.top),
                       static_cast<int>(monitor.rcWork.bottom)});
    // The controls below the box move with its bottom edge.
    for (HWND child = GetWindow(Hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT other = PlaceInDialog(child, Hwnd());
        if (child != box && other.top >= place.bottom)
            SetWindowPos(child, nullptr, other.left, other.top + layout.shift, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(box, nullptr, 0, 0, place.right - place.left, layout.boxHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(box, layout.boxHeight > 0 ? SW_SHOWNA : SW_HIDE);
    SetWindowPos(Hwnd(), nullptr, window.left, layout.dialogTop, window.right - window.left,
                 window.bottom - window.top + layout.shift, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CforceBreak::OnOK()
{
    if (BreakDialogMayEnd(m_bStrict, IsItemEnabled(IDOK)))
        CDialog::OnOK();
}

// Escape, Alt+F4 and the close command all come as Cancel.
void CforceBreak::OnCancel()
{
    if (BreakDialogMayEnd(m_bStrict, IsItemEnabled(IDOK)))
        CDialog::OnCancel();
}

bool CforceBreak::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT&)
{
    // Told once the window is visible, and only when it was hidden before.
    if (message == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) != 0) {
        AnnounceAlert(Item(IDC_BREAK_TITLE));
        if (!ItemText(IDC_BREAK_IDEA).empty())
            AnnounceAlert(Item(IDC_BREAK_IDEA));
    }
    return false;
}
