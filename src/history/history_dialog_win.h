#pragma once
#include "activity/time_files.h"
#include "activity/use_history.h"
#include "framework/dialog_win.h"
#include "history/break_history.h"
#include "history/history_chart_win.h"
#include "history/history_views.h"

#include <optional>
#include <string>
#include <vector>

class Platform;
struct SettingsModel;

// Every recorded day with its active time, the figures computed from them, the views of the last
// days, weeks, months and nights beside them, and the export of the whole history for a spreadsheet.
class C2dGraphPlot : public CDialog {
public:
    // The daily limit it draws is the settings' one, as it is now.
    C2dGraphPlot(Platform& platform, const SettingsModel& settings);

    // Rereads the history file into the figures and the views, and into the list now if the
    // dialog is shown, else as it is next shown; 0 when the file can't be opened.
    int ReadHistory();
    // The chart of the view chosen.
    const CHistoryChart& Chart() const { return m_chart; }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The history file's days, or nothing, said in a box, when it can't be opened.
    std::optional<std::vector<DayRecord>> ReadDays();
    // The break record's days; none, without a box, when it can't be read: the main window tells of that file.
    std::vector<BreakDay> ReadBreakDays();
    // The use record's days in date order; none, without a box, when it can't be read.
    std::vector<UseDay> ReadUseDays();
    // Shows the chart and the sentences of a view.
    void ShowView(HistoryView view);
    // Asks where to, and writes the whole history there as CSV.
    void OnExport();
    // Gives the list what the last read left for it.
    void FillList();

    Platform& m_platform;
    const SettingsModel& m_settings;
    CHistoryChart m_chart;
    // The daily limit while it is on and the bedtime, as the last read took them from the settings.
    HistoryChoices m_choices;
    // Every view of the last read; the one shown stays chosen from one read to the next.
    HistoryViews m_views;
    HistoryView m_view = HistoryView::Days;
    // The list of a read made while the dialog is hidden. The edit control lays out every line it is
    // given, a pause that grows with the history; the start of the program must not wait for it.
    std::optional<std::string> m_strPendingList;
};
