#pragma once
#include "framework/dialog_win.h"
#include "framework/styled_labels_win.h"

// The topmost "Take a break!" dialog whose OK button waits for the countdown.
class CforceBreak : public CDialog {
public:
    CforceBreak();

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CStyledLabels m_labels;
};

// The most recently created break dialog; null until the first break of the run.
extern CforceBreak* g_pForceBreakDlg;
