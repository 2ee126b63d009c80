#include "framework/dialog_win.h"

#include "framework/accessibility_win.h"
#include "framework/dark_mode_win.h"
#include "framework/window_texts_win.h"
#include "platform/text_win.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<HWND>& LiveDialogs()
{
    static std::vector<HWND> dialogs;
    return dialogs;
}

void ForgetLiveDialog(HWND window)
{
    auto& dialogs = LiveDialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), window), dialogs.end());
}

// For these messages the system takes the dialog procedure's own return value as the answer
// and ignores DWLP_MSGRESULT.
bool AnswersByReturnValue(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

bool TemplateIsVisible(int templateId)
{
    HRSRC resource = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));
    if (!resource)
        return false;
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(GetModuleHandleW(nullptr), resource)));
    if (!words)
        return false;
    // An extended template starts with version 1 and signature 0xFFFF and keeps its style at byte 12.
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    DWORD style = 0;
    CopyMemory(&style, reinterpret_cast<const BYTE*>(words) + (extended ? 12 : 0), sizeof style);
    return (style & WS_VISIBLE) != 0;
}

} // namespace

CDialog::CDialog(int templateId) : m_nTemplateId(templateId) {}

CDialog::~CDialog()
{
    if (m_hWnd) {
        // The window no longer reaches this object, so its WM_NCDESTROY can't take it off the
        // list; a later window given the same handle must not inherit dialog keyboard handling.
        SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        ForgetLiveDialog(m_hWnd);
        DestroyWindow(m_hWnd);
    }
}

HWND CDialog::CreateWindowFromTemplate(HWND owner)
{
    m_bEndRequested = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nTemplateId), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND owner)
{
    m_bModal = false;
    // A window destroyed during its own initialisation was not created for any use.
    return CreateWindowFromTemplate(owner) != nullptr && m_hWnd != nullptr;
}

INT_PTR CDialog::DoModal(HWND owner)
{
    m_bModal = true;
    m_nResult = -1;
    if (!CreateWindowFromTemplate(owner))
        return -1;
    // The window may already have been hidden on purpose during its initialisation, so only a
    // template that is not visible by itself is shown here.
    if (m_hWnd && !TemplateIsVisible(m_nTemplateId))
        ShowWindow(m_hWnd, SW_SHOW);
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);

    MSG message;
    while (m_hWnd && !m_bEndRequested) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    if (m_hWnd)
        DestroyWindow(m_hWnd);
    return m_nResult;
}

bool CDialog::PreTranslate(MSG& message)
{
    if (!message.hwnd)
        return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (!IsLiveDialog(root))
        return false;
    return IsDialogMessageW(root, &message) != FALSE;
}

bool CDialog::IsLiveDialog(HWND window)
{
    const auto& dialogs = LiveDialogs();
    return window && std::find(dialogs.begin(), dialogs.end(), window) != dialogs.end();
}

void CDialog::EndDialog(INT_PTR result)
{
    if (!m_hWnd)
        return;
    if (!m_bModal) {
        ShowWindow(m_hWnd, SW_HIDE);
        return;
    }
    m_nResult = result;
    m_bEndRequested = true;
    // Wakes the modal loop so that it sees the request.
    PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

HWND CDialog::Item(int id) const
{
    return GetDlgItem(m_hWnd, id);
}

std::string CDialog::ItemText(int id) const
{
    HWND item = Item(id);
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(item, text.data(), length + 1)));
    return Narrow(text);
}

void CDialog::SetItemText(int id, const std::string& text)
{
    SetWindowTextW(Item(id), Widen(text).c_str());
}

bool CDialog::IsChecked(int id) const
{
    return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

void CDialog::SetChecked(int id, bool checked)
{
    CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool CDialog::IsItemEnabled(int id) const
{
    return IsWindowEnabled(Item(id)) != FALSE;
}

void CDialog::EnableItem(int id, bool enabled)
{
    EnableWindow(Item(id), enabled ? TRUE : FALSE);
}

int CDialog::CheckedButton(int first, int last) const
{
    for (int id = first; id <= last; ++id)
        if (IsChecked(id))
            return id;
    return 0;
}

void CDialog::CheckButton(int first, int last, int checked)
{
    CheckRadioButton(m_hWnd, first, last, checked);
}

void CDialog::Show(int showCommand)
{
    ShowWindow(m_hWnd, showCommand);
}

void CDialog::CenterWindow()
{
    RECT area{};
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (owner && IsWindowVisible(owner))
        GetWindowRect(owner, &area);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const LONG x = std::max<LONG>(0, area.left + (area.right - area.left - width) / 2);
    const LONG y = std::max<LONG>(0, area.top + (area.bottom - area.top - height) / 2);
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CDialog::IsVisible() const
{
    return m_hWnd && IsWindowVisible(m_hWnd);
}

void CDialog::OnCommand(int id, int)
{
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        TranslateDialogTexts(m_hWnd);
        const BOOL result = OnInitDialog();
        // With the controls the dialog made for itself.
        if (m_hWnd)
            DressWindow(m_hWnd);
        return result;
    }
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        LRESULT brush = 0;
        if (m_labels.HandleColorMessage(wParam, lParam, brush))
            return static_cast<INT_PTR>(brush);
        break;
    }
    case WM_SYSCOLORCHANGE:
        m_labels.Repaint();
        break;
    case WM_SETTINGCHANGE:
        if (IsHighContrastChange(wParam))
            m_labels.Repaint();
        break;
    default:
        break;
    }
    // A dialog's own answer comes first; in the dark look every other control takes the palette's.
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result)) {
        if (AnswersByReturnValue(message) && AnswerColourMessage(message, wParam, lParam, result))
            return static_cast<INT_PTR>(result);
        return FALSE;
    }
    if (AnswersByReturnValue(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = window;
        LiveDialogs().push_back(window);
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog)
        return FALSE;
    INT_PTR handled = FALSE;
    // No exception may unwind through the system's window procedure.
    try {
        handled = dialog->Dispatch(message, wParam, lParam);
    } catch (...) {
        handled = FALSE;
    }
    if (message == WM_NCDESTROY) {
        ForgetLiveDialog(window);
        SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
        // Destroyed while handling a message sent by another program, the window leaves the modal
        // loop waiting in GetMessage, which returns only for a posted message.
        if (dialog->m_bModal)
            PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    }
    return handled;
}
