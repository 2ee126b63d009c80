#include "breaks/forced_break_dialog_win.h"

#include "framework/accessibility_win.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"

#include <algorithm>

CforceBreak* g_pForceBreakDlg = nullptr;

namespace {
constexpr CStyledLabels::Style kTitleStyle{L"Tahoma", 240, false, RGB(0, 0, 0)};
constexpr CStyledLabels::Style kIdeaStyle{L"Tahoma", 100, false, RGB(0, 0, 0)};
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
    const RECT box = PlaceInDialog(Item(IDC_BREAK_IDEA), Hwnd());
    m_nIdeaRoom = box.bottom - box.top;
    ShowIdea({});
    return TRUE;
}

int CforceBreak::IdeaHeight(const std::string& idea) const
{
    if (idea.empty())
        return 0;
    HWND box = Item(IDC_BREAK_IDEA);
    const std::wstring text = Widen(idea);
    RECT needed{};
    GetClientRect(box, &needed);
    needed.bottom = 0;
    HDC dc = GetDC(box);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | kIdeaFormat);
    SelectObject(dc, previous);
    ReleaseDC(box, dc);
    return std::min<int>(needed.bottom, m_nIdeaRoom);
}

void CforceBreak::ShowIdea(const std::string& idea)
{
    HWND box = Item(IDC_BREAK_IDEA);
    SetItemText(IDC_BREAK_IDEA, idea);
    const RECT place = PlaceInDialog(box, Hwnd());
    const int height = IdeaHeight(idea);
    const int shift = height - (place.bottom - place.top);
    // The controls below the box move with its bottom edge.
    for (HWND child = GetWindow(Hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT other = PlaceInDialog(child, Hwnd());
        if (child != box && other.top >= place.bottom)
            SetWindowPos(child, nullptr, other.left, other.top + shift, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(box, nullptr, 0, 0, place.right - place.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(box, height > 0 ? SW_SHOWNA : SW_HIDE);
    // The dialog keeps its centre where it was put.
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    SetWindowPos(Hwnd(), nullptr, window.left, window.top - shift / 2, window.right - window.left,
                 window.bottom - window.top + shift, SWP_NOZORDER | SWP_NOACTIVATE);
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
