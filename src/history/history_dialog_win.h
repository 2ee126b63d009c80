#pragma once
#include "activity/time_files.h"
#include "framework/dialog_win.h"
#include "history/history_chart_win.h"

#include <optional>
#include <vector>

class Platform;

// Every recorded day with its active time, the figures computed from them, a chart of the
// last days, and the export of the whole history for a spreadsheet.
class C2dGraphPlot : public CDialog {
public:
    explicit C2dGraphPlot(Platform& platform);

    // Rereads the history file into the fields and the chart; 0 when it can't be opened.
    int ReadHistory();
    const CHistoryChart& Chart() const { return m_chart; }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The history file's days, or nothing, said in a box, when it can't be opened.
    std::optional<std::vector<DayRecord>> ReadDays();
    // Asks where to, and writes the whole history there as CSV.
    void OnExport();

    Platform& m_platform;
    CHistoryChart m_chart;
};
