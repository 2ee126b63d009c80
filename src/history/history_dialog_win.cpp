#include "history/history_dialog_win.h"

#include "activity/active_time_store.h"
#include "activity/time_files.h"
#include "history/history_statistics.h"
#include "platform/platform_win.h"
#include "platform/text_decoding.h"
#include "resources/resource_ids.h"

#include <optional>
#include <string>

namespace {

constexpr char kAppName[] = "Kelvaro";

} // namespace

C2dGraphPlot::C2dGraphPlot(Platform& platform) : CDialog(IDD_HISTORY), m_platform(platform) {}

int C2dGraphPlot::ReadHistory()
{
    const std::optional<std::string> bytes = m_platform.ReadWholeFile(kHistoryFile);
    if (!bytes) {
        m_platform.ShowMessageBox(Hwnd(), std::string("could not open ") + kHistoryFile, kAppName, MB_OK);
        return 0;
    }
    const HistoryFigures figures = ComputeHistoryFigures(ParseHistory(DecodeTextFile(*bytes)));
    // The list is replaced whole: whatever the user typed into it is never kept.
    SetItemText(IDC_HISTORY_LIST, figures.list);
    SetItemText(IDC_HISTORY_TOTAL, figures.total);
    SetItemText(IDC_HISTORY_AVG_ACTIVE_DAYS, figures.averageActiveDays);
    SetItemText(IDC_HISTORY_AVG_ALL_DAYS, figures.averageAllDays);
    SetItemText(IDC_HISTORY_MAX_ACTIVE, figures.bestDay);
    return 1;
}

BOOL C2dGraphPlot::OnInitDialog()
{
    CenterWindow();
    StyleLabel(IDC_HISTORY_TITLE, kTitleLabelStyle);
    ReadHistory();
    return TRUE;
}
