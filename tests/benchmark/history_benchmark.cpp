// Loads, saves and computes the History figures, the chart and the CSV export of histories of
// growing length, through the same code the program runs, and prints time and heap per day so
// that the growth shows.
// Usage: kelvaro_history_benchmark [DAYS...]   (default 1000 10000 100000)
#include "alloc_counter.h"
#include "memory_time_files.h"

#include "activity/active_time_store.h"
#include "activity/counter_state.h"
#include "activity/time_files.h"
#include "history/history_chart.h"
#include "history/history_csv.h"
#include "history/history_statistics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <time.h>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kFirstDay = 315532800 + 12 * 3600; // noon of 1980-01-01 UTC, the history's first year
constexpr int kRepeatsFloor = 5;

// A history of consecutive days with varied times, as the program writes it.
std::string HistoryOf(int days)
{
    std::vector<DayRecord> records;
    records.reserve(static_cast<std::size_t>(days));
    for (int i = 0; i < days; ++i) {
        // Calendar arithmetic alone: 1980-01-01 plus i days.
        const std::optional<CivilDate> date = LocalDate(kFirstDay + i * kSecondsPerDay);
        records.push_back({*date, (i * 7919L) % (14 * 3600)});
    }
    return FormatHistory(records, {std::nullopt, 0, false});
}

struct Cost {
    double microseconds = 0;
    std::size_t peakBytes = 0;
};

// The process's CPU time: on a busy machine the wall clock would count the other programs' turns.
double CpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// Runs the work often enough to take about a fifth of a second, and keeps the best time.
template <typename Work> Cost Measure(int days, Work work)
{
    const int repeats = std::max(kRepeatsFloor, 400000 / days);
    Cost cost;
    cost.microseconds = 1e18;
    for (int i = 0; i < repeats; ++i) {
        const std::size_t base = StartPeak();
        const double start = CpuMicroseconds();
        work();
        const double end = CpuMicroseconds();
        cost.peakBytes = std::max(cost.peakBytes, g_allocations.peakBytes - base);
        cost.microseconds = std::min(cost.microseconds, end - start);
    }
    return cost;
}

void Report(const char* what, int days, const Cost& cost)
{
    std::printf("%-10s %7d days  %10.1f us  %8.3f us/day  %10zu heap bytes  %6.1f bytes/day\n", what, days,
                cost.microseconds, cost.microseconds / days, cost.peakBytes,
                static_cast<double>(cost.peakBytes) / days);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {1000, 10000, 100000};

    for (int days : sizes) {
        MemoryTimeFiles files;
        files.files[kHistoryFile] = HistoryOf(days);
        // The counted day is the last one of the file, as at a save during supervision.
        g_timeCountedDay = kFirstDay + (days - 1) * kSecondsPerDay;
        g_nActiveTimeMs = 3600000;
        g_bCountKnown = true;
        Report("load", days, Measure(days, [&] { LoadHistory(files); }));
        if (g_dayHistory.size() != static_cast<std::size_t>(days)) {
            std::printf("FAIL: loaded %zu days of %d\n", g_dayHistory.size(), days);
            return 1;
        }
        Report("save", days, Measure(days, [&] { SaveHistory(files); }));
        HistoryFigures figures;
        Report("statistics", days, Measure(days, [&] { figures = ComputeHistoryFigures(g_dayHistory); }));
        Report("dialog", days, Measure(days, [&] {
                   figures = ComputeHistoryFigures(ParseHistory(*files.ReadText(kHistoryFile)));
               }));
        // The chart's last day is the history's last, so that every bar is drawn.
        const CivilDate today = g_dayHistory.back().date;
        HistoryChart chart;
        Report("chart", days, Measure(days, [&] { chart = ComputeHistoryChart(g_dayHistory, {}, today); }));
        std::string csv;
        Report("export", days, Measure(days, [&] { csv = FormatHistoryCsv(g_dayHistory, {}, {}); }));
        // The whole of what a refresh and an export do: read, figures and chart, read again and CSV.
        Report("all", days, Measure(days, [&] {
                   const std::vector<DayRecord> read = ParseHistory(*files.ReadText(kHistoryFile));
                   figures = ComputeHistoryFigures(read);
                   chart = ComputeHistoryChart(read, {}, today);
                   csv = FormatHistoryCsv(ParseHistory(*files.ReadText(kHistoryFile)), {}, {});
               }));
    }
    return 0;
}
