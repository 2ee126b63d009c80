#pragma once
#include "activity/time_files.h"
#include "framework/dialog_win.h"
#include "history/break_history.h"
#include "history/history_chart_win.h"

#include <optional>
#include <string>
#include <vector>

class Platform;
struct SettingsModel;

// Every recorded day with its active time, the figures computed from them, a chart of the
// last days, and the export of the whole history for a spreadsheet.
class C2dGraphPlot : public CDialog {
public:
    // The daily limit it draws is the settings' one, as it is now.
    C2dGraphPlot(Platform& platform, const SettingsModel& settings);

    // Rereads the history file into the figures and the chart, and into the list now if the
    // dialog is shown, else as it is next shown; 0 when the file can't be opened.
    int ReadHistory();
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
    // Asks where to, and writes the whole history there as CSV.
    void OnExport();
    // Gives the list what the last read left for it.
    void FillList();

    Platform& m_platform;
    const SettingsModel& m_settings;
    CHistoryChart m_chart;
    // The list of a read made while the dialog is hidden. The edit control lays out every line it is
    // given, a pause that grows with the history; the start of the program must not wait for it.
    std::optional<std::string> m_strPendingList;
};
