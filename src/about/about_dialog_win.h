#pragma once
#include "framework/dialog_win.h"

// The program's name and version, with links to its web site and its feedback page.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;

private:
};
