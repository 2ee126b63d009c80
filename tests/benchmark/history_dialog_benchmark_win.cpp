// Times the History dialog's refresh (read the file, compute the figures, fill the fields)
// for a history of many days, under the real Win32 controls. Run it in a scratch folder: it
// writes timehistory.txt there. Usage: kelvaro_history_dialog_benchmark [DAYS]
#include "activity/active_time_store.h"
#include "activity/calendar.h"
#include "activity/time_files.h"
#include "history/history_dialog_win.h"
#include "platform/platform_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int kDefaultDays = 10000;
constexpr int kRefreshes = 5;
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kFirstDay = 315532800 + 12 * 3600; // noon of 1980-01-01 UTC

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}
} // namespace

int main(int argc, char** argv)
{
    const int days = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultDays;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    std::vector<DayRecord> records;
    for (int i = 0; i < days; ++i)
        records.push_back({*LocalDate(kFirstDay + i * kSecondsPerDay), (i * 7919L) % (14 * 3600)});
    Win32Platform platform;
    if (!platform.ReplaceWholeFile(kHistoryFile, FormatHistory(records, {std::nullopt, 0, false}))) {
        std::printf("FAIL: can't write %s\n", kHistoryFile);
        return 1;
    }

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    C2dGraphPlot dialog(platform);
    QueryPerformanceCounter(&start);
    if (!dialog.Create(nullptr)) {
        std::printf("FAIL: the History dialog wasn't created\n");
        return 1;
    }
    QueryPerformanceCounter(&end);
    std::printf("history dialog: %d days, created with its first read in %.3f s\n", days,
                Seconds(start, end, frequency));
    double best = 1e9;
    for (int i = 0; i < kRefreshes; ++i) {
        QueryPerformanceCounter(&start);
        if (dialog.ReadHistory() != 1) {
            std::printf("FAIL: the history wasn't read\n");
            return 1;
        }
        QueryPerformanceCounter(&end);
        best = std::min(best, Seconds(start, end, frequency));
    }
    std::printf("history dialog: %d days, refresh %.3f s (best of %d), %.2f us/day\n", days, best, kRefreshes,
                best * 1e6 / days);
    DestroyWindow(dialog.Hwnd());
    return 0;
}
