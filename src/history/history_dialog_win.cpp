#include "history/history_dialog_win.h"

#include "platform/platform_win.h"
#include "resources/resource_ids.h"

namespace {
constexpr CStyledLabels::Style kTitleStyle{L"Tahoma", 143, true, RGB(0, 0, 0), RGB(236, 233, 216)};
}

C2dGraphPlot::C2dGraphPlot(Platform& platform) : CDialog(IDD_HISTORY), m_platform(platform) {}

int C2dGraphPlot::ReadHistory()
{
    return 1;
}

BOOL C2dGraphPlot::OnInitDialog()
{
    CenterWindow();
    m_labels.Apply(Hwnd(), IDC_HISTORY_TITLE, kTitleStyle);
    ReadHistory();
    return TRUE;
}

bool C2dGraphPlot::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return message == WM_CTLCOLORSTATIC && m_labels.HandleColorMessage(wParam, lParam, result);
}
