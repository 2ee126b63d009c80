// Times the CPU that rolling reminder popups costs the process: each popup rolls out, holds and
// rolls in with a reminder's sizes and timings, one after the other, under the real Win32 calls.
// Usage: kelvaro_popup_benchmark [POPUPS]
#include "messages/status_bar_popup_win.h"
#include "platform/platform_win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int kDefaultPopups = 3;
constexpr unsigned kShowTimeMs = 4000;
constexpr unsigned kStepTimeMs = 5;

// User and kernel time of this process so far, in seconds.
double ProcessCpuSeconds()
{
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}
} // namespace

int main(int argc, char** argv)
{
    const int popups = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultPopups;
    Win32Platform platform;
    double best = 1e9;
    double total = 0;
    for (int i = 0; i < popups; ++i) {
        const DWORD startTicks = GetTickCount();
        const double start = ProcessCpuSeconds();
        (new CStatusBarMsgWnd(platform, "Stand up, stretch and look out of the window for a minute.",
                              kReminderPopupWidth, kReminderPopupHeight, kShowTimeMs, kStepTimeMs,
                              kReminderPopupTextRect, nullptr))
            ->PopUp();
        for (MSG message; CStatusBarMsgWnd::LiveCount() > 0 && GetMessageW(&message, nullptr, 0, 0) > 0;)
            DispatchMessageW(&message);
        const double cpu = ProcessCpuSeconds() - start;
        std::printf("popup %d: %.3f s of CPU, %.1f s on the clock\n", i + 1, cpu,
                    static_cast<double>(GetTickCount() - startTicks) / 1000);
        best = std::min(best, cpu);
        total += cpu;
    }
    std::printf("popup: %.3f s of CPU a popup on average, %.3f s at best (%d popups)\n", total / popups, best,
                popups);
    return 0;
}
