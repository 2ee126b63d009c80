#pragma once
#include "framework/dialog_win.h"

class Platform;

// Every recorded day with its active time, and the figures computed from them.
class C2dGraphPlot : public CDialog {
public:
    explicit C2dGraphPlot(Platform& platform);

    // Rereads the history file into the fields; 0 when it can't be opened.
    int ReadHistory();

protected:
    BOOL OnInitDialog() override;

private:
    Platform& m_platform;
};
