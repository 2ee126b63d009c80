#pragma once
#include "framework/dialog_win.h"

// The topmost "Take a break!" dialog whose OK button waits for the countdown. Screen readers
// announce its title whenever it is shown.
class CforceBreak : public CDialog {
public:
    CforceBreak();

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// The most recently created break dialog; null until the first break of the run.
extern CforceBreak* g_pForceBreakDlg;
