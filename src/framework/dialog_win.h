#pragma once
#include "framework/styled_labels_win.h"

#include <windows.h>

#include <string>

// A dialog built from a template of the program's resources. Modal dialogs run their own
// message loop; modeless ones live hidden until shown. Every live dialog takes part in
// keyboard navigation (IsDialogMessage) through whichever loop is running.
class CDialog {
public:
    explicit CDialog(int templateId);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the dialog, runs it until EndDialog or its window is destroyed, and returns the result.
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog modeless; it is visible only if its template says so. False on failure.
    bool Create(HWND owner = nullptr);

    HWND Hwnd() const { return m_hWnd; }
    HWND Item(int id) const;
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    bool IsItemEnabled(int id) const;
    void EnableItem(int id, bool enabled);
    // The first checked button from first to last, or 0 when none is.
    int CheckedButton(int first, int last) const;
    // Checks one button of the range and unchecks the others.
    void CheckButton(int first, int last, int checked);
    void Show(int showCommand);
    // Centres the window over its owner, or on the work area when it has none.
    void CenterWindow();
    bool IsVisible() const;
    // Ends a modal dialog with a result; hides a modeless one.
    void EndDialog(INT_PTR result);

    // Gives a message to the live dialog it belongs to; true when the dialog used it.
    static bool PreTranslate(MSG& message);
    // Whether a window is a dialog of this framework that is still alive.
    static bool IsLiveDialog(HWND window);

protected:
    // Handlers; the defaults behave like a plain dialog.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnCommand(int id, int notifyCode);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnDestroy() {}
    // Draws a static control in a font and colours of its own.
    void StyleLabel(int id, const CStyledLabels::Style& style) { m_labels.Apply(m_hWnd, id, style); }
    // Any other message: return true when handled, with the message's result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    HWND CreateWindowFromTemplate(HWND owner);

    int m_nTemplateId;
    HWND m_hWnd = nullptr;
    bool m_bModal = false;
    bool m_bEndRequested = false;
    INT_PTR m_nResult = 0;
    CStyledLabels m_labels;
};
