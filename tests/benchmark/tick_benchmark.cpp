// Drives the portable half of the activity tick as the main window runs it, second by second,
// on an ordinary day: no change of day, no warning due. Fails when such a tick allocates or
// touches a file. Usage: kelvaro_tick_benchmark [TICKS]
// Under callgrind, --toggle-collect='RunOrdinaryTicks*' gives the instructions of the ticks alone.
#include "alloc_counter.h"

#include "activity/active_time_store.h"
#include "activity/activity_monitor.h"
#include "activity/counter_state.h"
#include "app/supervision_state.h"
#include "breaks/break_coordinator.h"
#include "messages/message_scheduler.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::int64_t kTuesdayNoon = 1765281600; // 2025-12-09 12:00 UTC, far from midnight in every zone
constexpr std::int32_t kRestoredMs = 3600000;     // an hour already counted: the tray shows the first eighth
constexpr std::uint32_t kStartTick = 5000000;
constexpr int kDefaultTicks = 3600;
constexpr int kLongestTicks = 3 * 3600; // stays below the four-hour warning

// Any file access of the tick goes through here and is counted.
class CountingFiles final : public TimeFilesHost {
public:
    int accesses = 0;
    std::optional<std::string> ReadText(const std::string&) override { return ++accesses, std::nullopt; }
    bool Exists(const std::string&) override { return ++accesses, false; }
    bool Replace(const std::string&, const std::string&) override { return ++accesses, true; }
    void ReportCannotOpen(const std::string&) override { ++accesses; }
    void SaveSettings() override { ++accesses; }
};

// What the shell hands on to the tray, the window and the warning, kept so the work isn't optimised away.
volatile int g_shown = 0;

__attribute__((noinline)) void RunOrdinaryTicks(CountingFiles& files, BreakCoordinator& rules, int ticks)
{
    for (int second = 1; second <= ticks; ++second) {
        const std::uint32_t now = kStartTick + static_cast<std::uint32_t>(second) * 1000;
        RollOverIfNewDay(files, kTuesdayNoon + second, now);
        // The user typed a moment ago, so every second is active.
        const ActiveTime time = CountActivity(now, now - 500);
        const ActiveTimeTexts texts = FormatActiveTimeTexts(time);
        const std::optional<int> picture = TrayPictureForHours(time.hours);
        Moment moment;
        moment.now = kTuesdayNoon + second;
        moment.tick = now;
        moment.idleMs = 500;
        moment.countedDay = LocalDate(g_timeCountedDay);
        const ActivityOutcome outcome = rules.OnActivityTick(moment);
        g_shown = g_shown + texts.time[7] + texts.tooltip[0] + picture.value_or(0) +
                  (LongActivityWarningDue(g_nActiveTimeMs) ? 1 : 0) + (outcome.eyeBreak.shown ? 1 : 0);
    }
}

} // namespace

int main(int argc, char** argv)
{
    int ticks = argc > 1 ? std::atoi(argv[1]) : kDefaultTicks;
    if (ticks < 1 || ticks > kLongestTicks)
        ticks = kDefaultTicks;
    g_timeCountedDay = kTuesdayNoon;
    g_bCountKnown = true;
    RestartCount(kStartTick, kRestoredMs);

    CountingFiles files;
    CBreakHistory record;
    SupervisionState supervision;
    BreakCoordinator rules(record, supervision);
    rules.OnStart({}, BreakChoices{});
    const std::uint64_t allocationsBefore = g_allocations.allocations;
    RunOrdinaryTicks(files, rules, ticks);
    const std::uint64_t allocations = g_allocations.allocations - allocationsBefore;

    std::printf("ordinary ticks: %d, allocations: %llu, file accesses: %d\n", ticks,
                static_cast<unsigned long long>(allocations), files.accesses);
    if (allocations != 0 || files.accesses != 0) {
        std::printf("FAIL: an ordinary activity tick must neither allocate nor touch a file\n");
        return 1;
    }
    return 0;
}
