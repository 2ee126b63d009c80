#pragma once
#include "history/history_chart.h"

#include <windows.h>

#include <string>
#include <vector>

// The History dialog's bar chart: a control of the dialog's template, painted with GDI in the
// palette's colours through an off-screen picture, with each slot's date and figures as a tooltip.
// Every length is worked out again at each paint from the control's size and DPI, so the
// chart stays sharp whatever the scaling.
class CHistoryChart {
public:
    static constexpr wchar_t kWindowClass[] = L"KelvaroHistoryChart";

    // Registers the chart's window class, so that a template naming it can be created.
    static bool RegisterWindowClass();

    CHistoryChart() = default;
    ~CHistoryChart();
    CHistoryChart(const CHistoryChart&) = delete;
    CHistoryChart& operator=(const CHistoryChart&) = delete;

    // Takes over the chart control of a dialog, in the dialog's font, and gives it its tooltip.
    void Attach(HWND control);
    // Shows a new chart at once.
    void SetChart(HistoryChart chart);
    // Paints again in the palette's current colours.
    void Redraw() const;
    // What the next paint draws, for the control's present size, DPI and font.
    ChartPicture Picture() const;

    HWND Hwnd() const { return m_hWnd; }
    HWND ToolTip() const { return m_hToolTip; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMessage(UINT message, WPARAM wParam, LRESULT& result);
    void OnPaint();
    // The layout of the client area at the control's DPI, for the chart's font.
    ChartLayout Layout() const;
    void Draw(HDC dc) const;
    // Gives each day's tip its column again after a change of size or DPI.
    void PlaceTips() const;
    void Detach();

    HWND m_hWnd = nullptr;
    HWND m_hToolTip = nullptr;
    // The dialog's font, owned by the dialog.
    HFONT m_font = nullptr;
    HistoryChart m_chart;
};
