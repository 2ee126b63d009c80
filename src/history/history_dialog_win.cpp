#include "history/history_dialog_win.h"

#include "activity/active_time_store.h"
#include "activity/calendar.h"
#include "history/history_csv.h"
#include "history/history_statistics.h"
#include "history/week_summary.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "platform/platform_win.h"
#include "platform/text_decoding.h"
#include "resources/resource_ids.h"
#include "settings/settings_model.h"

#include <string>
#include <utility>

namespace {

constexpr char kAppName[] = "Kelvaro";
constexpr const char* kCsvFilterLabel = TrLater("CSV (*.csv)");
constexpr char kCsvFilterPattern[] = "*.csv";
constexpr char kSuggestedCsvName[] = "kelvaro-history.csv";
// The views' buttons, in the order of HistoryView.
constexpr int kFirstViewButton = IDC_HISTORY_VIEW_DAYS;
constexpr int kLastViewButton = IDC_HISTORY_VIEW_NIGHTS;
static_assert(kLastViewButton - kFirstViewButton + 1 == kHistoryViews);

} // namespace

C2dGraphPlot::C2dGraphPlot(Platform& platform, const SettingsModel& settings)
    : CDialog(IDD_HISTORY), m_platform(platform), m_settings(settings)
{
    // The template names the chart's class, so it must exist before the dialog is created.
    CHistoryChart::RegisterWindowClass();
}

std::optional<std::vector<DayRecord>> C2dGraphPlot::ReadDays()
{
    const std::optional<std::string> bytes = m_platform.ReadWholeFile(kHistoryFile);
    if (!bytes) {
        m_platform.ShowMessageBox(Hwnd(), FillText(Tr(kCouldNotOpen), {kHistoryFile}), kAppName, MB_OK);
        return std::nullopt;
    }
    return ParseHistory(DecodeTextFile(*bytes));
}

std::vector<BreakDay> C2dGraphPlot::ReadBreakDays()
{
    const std::optional<std::string> bytes = m_platform.ReadWholeFile(kBreakHistoryFile);
    return bytes ? ParseBreakHistory(DecodeTextFile(*bytes)) : std::vector<BreakDay>{};
}

std::vector<UseDay> C2dGraphPlot::ReadUseDays()
{
    const std::optional<std::string> bytes = m_platform.ReadWholeFile(kUseHistoryFile);
    return bytes ? InDateOrder(ParseUseHistory(DecodeTextFile(*bytes))) : std::vector<UseDay>{};
}

int C2dGraphPlot::ReadHistory()
{
    const std::optional<std::vector<DayRecord>> days = ReadDays();
    if (!days)
        return 0;
    HistoryFigures figures = ComputeHistoryFigures(*days);
    m_strPendingList = std::move(figures.list);
    if (IsVisible())
        FillList();
    SetItemText(IDC_HISTORY_TOTAL, figures.total);
    SetItemText(IDC_HISTORY_AVG_ACTIVE_DAYS, figures.averageActiveDays);
    SetItemText(IDC_HISTORY_AVG_ALL_DAYS, figures.averageAllDays);
    SetItemText(IDC_HISTORY_MAX_ACTIVE, figures.bestDay);
    const std::int64_t now = m_platform.Now();
    const std::optional<CivilDate> today = LocalDate(now);
    const std::optional<UseMoment> tonight = UseMomentOf(now);
    const std::vector<BreakDay> breaks = ReadBreakDays();
    SetItemText(IDC_HISTORY_BREAKS, BreakStatisticsLine(breaks, today));
    // The limit and the bedtime as the settings hold them now, whether or not supervision took them at Start.
    m_choices = {DailyLimitInForce(m_settings), m_settings.bedtimeMinutes};
    m_views = today && tonight ? ComputeHistoryViews(*days, breaks, ReadUseDays(), *today, tonight->day,
                                                     m_platform.FirstDayOfWeek(), m_choices)
                               : HistoryViews{};
    SetItemText(IDC_HISTORY_WEEK,
                today ? WeekSummaryLine(SummariseWeeks(*days, breaks, *today, m_platform.FirstDayOfWeek())) : "");
    SetItemText(IDC_HISTORY_OVER_LIMIT, m_choices.dailyLimitMinutes && today
                                            ? DaysOverLimitLine(m_views.Page(HistoryView::Days).chart.daysOverLimit)
                                            : "");
    ShowView(m_view);
    return 1;
}

void C2dGraphPlot::ShowView(HistoryView view)
{
    m_view = view;
    CheckButton(kFirstViewButton, kLastViewButton, kFirstViewButton + static_cast<int>(view));
    const HistoryPage& page = m_views.Page(view);
    SetItemText(IDC_HISTORY_VIEW_TEXT, page.text);
    m_chart.SetChart(page.chart);
}

void C2dGraphPlot::FillList()
{
    if (!m_strPendingList)
        return;
    // The list is replaced whole: whatever the user typed into it is never kept.
    SetItemText(IDC_HISTORY_LIST, *m_strPendingList);
    m_strPendingList.reset();
}

void C2dGraphPlot::OnExport()
{
    const std::optional<std::vector<DayRecord>> days = ReadDays();
    if (!days)
        return;
    const std::optional<std::string> path =
        m_platform.ChooseFileToSave(Hwnd(), Tr(kCsvFilterLabel), kCsvFilterPattern, kSuggestedCsvName);
    if (path && !m_platform.ReplaceWholeFile(*path, FormatHistoryCsv(*days, ReadBreakDays(), ReadUseDays())))
        m_platform.ShowMessageBox(Hwnd(), FillText(Tr(kCouldNotOpen), {*path}), kAppName, MB_OK | MB_ICONEXCLAMATION);
}

BOOL C2dGraphPlot::OnInitDialog()
{
    CenterWindow();
    StyleLabel(IDC_HISTORY_TITLE, kTitleLabelStyle);
    m_chart.Attach(Item(IDC_HISTORY_CHART));
    ReadHistory();
    return TRUE;
}

void C2dGraphPlot::OnCommand(int id, int notifyCode)
{
    if (id == IDC_HISTORY_EXPORT && notifyCode == BN_CLICKED)
        OnExport();
    else if (id >= kFirstViewButton && id <= kLastViewButton && notifyCode == BN_CLICKED)
        ShowView(static_cast<HistoryView>(id - kFirstViewButton));
    else
        CDialog::OnCommand(id, notifyCode);
}

bool C2dGraphPlot::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&)
{
    // Sent before the window shows, so the list is never seen without the last read's days.
    if (message == WM_SHOWWINDOW && wParam)
        FillList();
    // A child hears of a new colour scheme only through its dialog.
    if (message == WM_SYSCOLORCHANGE)
        m_chart.Redraw();
    return false;
}
