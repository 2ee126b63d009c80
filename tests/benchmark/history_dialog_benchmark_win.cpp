// Times the History dialog's refresh (read the file, compute the figures, fill the fields, show) for a
// history of many days, under the real Win32 controls, and how long kelvaro.exe (found beside this
// program) takes with that history from its start to the first answer of its main window. Run it
// in a scratch folder: it writes Kelvaro's data files there.
// Usage: kelvaro_history_dialog_benchmark [DAYS] [STARTS]
#include "activity/active_time_store.h"
#include "activity/calendar.h"
#include "activity/time_files.h"
#include "history/history_dialog_win.h"
#include "platform/platform_win.h"
#include "settings/settings_model.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {
constexpr int kDefaultDays = 10000;
constexpr int kDefaultStarts = 10;
constexpr int kRefreshes = 5;
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kFirstDay = 315532800 + 12 * 3600; // noon of 1980-01-01 UTC
// Only guards against a program that never answers; no start takes this long.
constexpr DWORD kAnswerGuardMs = 120000;
constexpr DWORD kPollMs = 1;

// A user who has run Kelvaro before: the window opens at start (so that it shows once its
// initialisation is over) and supervision starts at once, as it does for most users.
constexpr char kSettings[] = "HEALTH_MSG 1\r\nTIMEBREAK_MSG 1\r\nSLEEP_MSG 1\r\nSOUND_ON_MSG 0\r\n"
                             "SOUND_LONGTIME_WARNING 0\r\nSHUTDOWN 0\r\nTIMELIMIT 0:0:0\r\nFREQUENCE 1023\r\n"
                             "STARTTRAY 0\r\nFORCEBREAK 0\r\nFORCEBREAK_WAIT 60\r\nONLYSOUND 0\r\nKEYBOARD_LEDS 0\r\n"
                             "SOUNDMSG_PATH message.wav\r\nSOUNDWARNING_PATH break.wav\r\nOTHERTIME 120\r\n"
                             "STARTPROGRAM true\r\n";

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

std::filesystem::path BesideThisProgram(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).replace_filename(name);
}

struct MainWindowSearch {
    DWORD process;
    HWND found;
};

// The main window: the process's shown dialog "Kelvaro" that no other window owns.
BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<MainWindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t title[16] = {};
    wchar_t windowClass[16] = {};
    GetWindowTextW(window, title, 16);
    GetClassNameW(window, windowClass, 16);
    if (process != search->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) ||
        lstrcmpW(title, L"Kelvaro") != 0 || lstrcmpW(windowClass, L"#32770") != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

struct StartTimes {
    double shown;    // the main window is visible: its initialisation is over
    double answered; // it answers a message: its thread takes messages again
};

// Starts kelvaro.exe in the current folder, waits for its main window to answer, and ends it.
std::optional<StartTimes> TimeOneStart(const std::filesystem::path& program, LARGE_INTEGER frequency)
{
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const LARGE_INTEGER start = Counter();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return std::nullopt;
    std::optional<StartTimes> times;
    MainWindowSearch search{process.dwProcessId, nullptr};
    const DWORD guardStart = GetTickCount();
    while (!search.found && GetTickCount() - guardStart < kAnswerGuardMs &&
           WaitForSingleObject(process.hProcess, kPollMs) == WAIT_TIMEOUT)
        EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    const LARGE_INTEGER shown = Counter();
    DWORD_PTR result = 0;
    if (search.found && SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerGuardMs, &result))
        times = StartTimes{Seconds(start, shown, frequency), Seconds(start, Counter(), frequency)};
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, kAnswerGuardMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return times;
}

bool WriteDataFiles(Platform& platform, const std::string& history)
{
    const std::optional<std::string> catalogue = platform.ReadWholeFile(BesideThisProgram(L"standard.txt").string());
    const std::optional<CivilDate> today = LocalDate(platform.Now());
    return catalogue && today && platform.ReplaceWholeFile("standard.txt", *catalogue) &&
           platform.ReplaceWholeFile("settings.txt", kSettings) &&
           platform.ReplaceWholeFile(kActiveTimeLogFile, FormatActiveTimeLog(today, 0)) &&
           platform.ReplaceWholeFile(kHistoryFile, history);
}

struct StartSeries {
    const char* what;
    std::string history;
    std::vector<double> answered;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Starts with the long history and with an empty one take turns, so that both meet the same load
// of the machine; each start begins from the same files, as a start may save them.
int TimeStarts(Platform& platform, std::vector<StartSeries>& series, int starts, LARGE_INTEGER frequency)
{
    const std::filesystem::path program = BesideThisProgram(L"kelvaro.exe");
    for (int i = 0; i < starts; ++i) {
        for (StartSeries& one : series) {
            if (!WriteDataFiles(platform, one.history)) {
                std::printf("FAIL: can't write the data files\n");
                return 1;
            }
            const std::optional<StartTimes> times = TimeOneStart(program, frequency);
            if (!times) {
                std::printf("FAIL: %s didn't start or its main window never answered\n", program.string().c_str());
                return 1;
            }
            std::printf("kelvaro.exe, %s, start %d: window shown at %.3f s, first answer at %.3f s\n", one.what, i + 1,
                        times->shown, times->answered);
            one.answered.push_back(times->answered);
        }
    }
    for (const StartSeries& one : series)
        std::printf("kelvaro.exe, %s: first answer of the main window at %.3f s (median; %.3f to %.3f s), %d starts\n",
                    one.what, Median(one.answered), *std::min_element(one.answered.begin(), one.answered.end()),
                    *std::max_element(one.answered.begin(), one.answered.end()), starts);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const int days = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultDays;
    const int starts = argc > 2 ? std::max(0, std::atoi(argv[2])) : kDefaultStarts;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    std::vector<DayRecord> records;
    for (int i = 0; i < days; ++i)
        records.push_back({*LocalDate(kFirstDay + i * kSecondsPerDay), (i * 7919L) % (14 * 3600)});
    const std::string history = FormatHistory(records, {std::nullopt, 0, false});
    Win32Platform platform;
    if (!platform.ReplaceWholeFile(kHistoryFile, history)) {
        std::printf("FAIL: can't write %s\n", kHistoryFile);
        return 1;
    }

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    // The first start's settings: no daily limit, no bedtime.
    const SettingsModel settings;
    C2dGraphPlot dialog(platform, settings);
    LARGE_INTEGER start = Counter();
    if (!dialog.Create(nullptr)) {
        std::printf("FAIL: the History dialog wasn't created\n");
        return 1;
    }
    std::printf("history dialog: %d days, created with its first read in %.3f s\n", days,
                Seconds(start, Counter(), frequency));
    double best = 1e9;
    // As Show History does it: read, then show.
    for (int i = 0; i < kRefreshes; ++i) {
        start = Counter();
        if (dialog.ReadHistory() != 1) {
            std::printf("FAIL: the history wasn't read\n");
            return 1;
        }
        dialog.Show(SW_SHOW);
        best = std::min(best, Seconds(start, Counter(), frequency));
        dialog.Show(SW_HIDE);
    }
    std::printf("history dialog: %d days, refresh %.3f s (best of %d), %.2f us/day\n", days, best, kRefreshes,
                best * 1e6 / days);
    DestroyWindow(dialog.Hwnd());
    const std::string daysHistory = std::to_string(days) + " days";
    std::vector<StartSeries> series{{daysHistory.c_str(), history, {}}, {"empty history", "HISTORY\r\n", {}}};
    return starts > 0 ? TimeStarts(platform, series, starts, frequency) : 0;
}
