#pragma once
// The History dialog's views of the same days: the last 30 days, 12 weeks, 12 months and 30 nights,
// each a chart and one or two sentences under it.

#include "activity/time_files.h"
#include "activity/use_history.h"
#include "history/break_history.h"
#include "history/habit_figures.h"
#include "history/history_chart.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

enum class HistoryView { Days, Weeks, Months, Nights };
constexpr std::size_t kHistoryViews = 4;

// What the dialog's owner chose: the daily limit while it is on, and the bedtime, in minutes (the
// bedtime's after midnight); nothing for either when there is none.
struct HistoryChoices {
    std::optional<int> dailyLimitMinutes;
    std::optional<int> bedtimeMinutes;
};

// One view: its chart, and its sentences one a line, CR LF between them.
struct HistoryPage {
    HistoryChart chart;
    std::string text;
};

struct HistoryViews {
    std::array<HistoryPage, kHistoryViews> pages;
    const HistoryPage& Page(HistoryView view) const { return pages[static_cast<std::size_t>(view)]; }
};

// Every view from the history's and the break record's days in any order and the use record's
// days in date order, on a day, tonight being the evening the present use belongs to.
HistoryViews ComputeHistoryViews(const std::vector<DayRecord>& days, const std::vector<BreakDay>& breaks,
                                 const std::vector<UseDay>& uses, const CivilDate& today, const CivilDate& tonight,
                                 int firstDayOfWeek, const HistoryChoices& choices);

// The weeks' or the months' chart: each period's active time a day used as its bar with its breaks a
// day over it, against the hours and the daily limit as the days' chart has them.
HistoryChart ComputePeriodChart(const std::vector<PeriodFigures>& periods, HistoryView view,
                                std::optional<int> limitMinutes);

// The nights' chart: each of the kViewNights evenings up to tonight's as a bar hanging from the
// evening's early hours down to its last use, against the bedtime's line, or midnight's without one;
// the times after midnight lie below it.
HistoryChart ComputeNightsChart(const std::vector<UseDay>& uses, const CivilDate& tonight,
                                std::optional<int> bedtimeMinutes);

// The sentences under each view.
std::string DaysText(const HistoryChart& daysChart, const std::vector<DayRecord>& days, const CivilDate& today,
                     std::optional<int> limitMinutes);
std::string PeriodText(const std::vector<PeriodFigures>& periods, HistoryView view);
std::string NightsText(const std::vector<UseDay>& uses, const CivilDate& tonight, std::optional<int> bedtimeMinutes);

// A number of breaks a day as the language writes it: "3.2", or "3,2" in German.
std::string BreaksPerDayText(double breaks);
