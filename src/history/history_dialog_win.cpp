#include "history/history_dialog_win.h"

#include "platform/platform_win.h"
#include "resources/resource_ids.h"

C2dGraphPlot::C2dGraphPlot(Platform& platform) : CDialog(IDD_HISTORY), m_platform(platform) {}

int C2dGraphPlot::ReadHistory()
{
    return 1;
}

BOOL C2dGraphPlot::OnInitDialog()
{
    CenterWindow();
    StyleLabel(IDC_HISTORY_TITLE, kTitleLabelStyle);
    ReadHistory();
    return TRUE;
}
