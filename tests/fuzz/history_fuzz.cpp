// timehistory.txt through the program's load and save. Every day loaded is a real date from
// 1980 on with a time of 0 or more, and a save followed by a load gives back every day, the
// counted day carrying the live count.
#include "activity/counter_state.h"
#include "activity/time_files.h"
#include "fuzz_check.h"
#include "memory_time_files.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr CivilDate kCountedDay{2006, 3, 5};
constexpr std::int32_t kLiveCountMs = 3723000;
// The shortest record, "1980-1-1=0:0:0".
constexpr std::size_t kShortestRecord = 14;

std::vector<DayRecord> Load(MemoryTimeFiles& files)
{
    FUZZ_CHECK(LoadHistory(files) == 1);
    FUZZ_CHECK(g_bHistoryLoaded);
    return g_dayHistory;
}

// What a save with a known count must write: each line of the counted day with the live count,
// the day appended when it has no line.
std::vector<DayRecord> WithLiveCount(std::vector<DayRecord> days)
{
    bool found = false;
    for (DayRecord& day : days) {
        if (day.date == kCountedDay) {
            day.activeSeconds = kLiveCountMs / 1000;
            found = true;
        }
    }
    if (!found)
        days.push_back({kCountedDay, kLiveCountMs / 1000});
    return days;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MemoryTimeFiles files;
    files.files[kHistoryFile] = std::string(FuzzBytes(data, size));
    const std::vector<DayRecord> days = Load(files);
    FUZZ_CHECK(days.size() * kShortestRecord <= DecodeTextFile(FuzzBytes(data, size)).size());
    for (const DayRecord& day : days)
        FUZZ_CHECK(day.date.year >= 1980 && IsValidDate(day.date) && day.activeSeconds >= 0);

    g_timeCountedDay = LocalNoon(kCountedDay);
    g_nActiveTimeMs = kLiveCountMs;

    // Not yet counted: the stored lines stay as they are.
    g_bCountKnown = false;
    FUZZ_CHECK(SaveHistory(files) == 1);
    std::vector<DayRecord> expected = days;
    if (std::none_of(days.begin(), days.end(), [](const DayRecord& day) { return day.date == kCountedDay; }))
        expected.push_back({kCountedDay, kLiveCountMs / 1000});
    FUZZ_CHECK(Load(files) == expected);

    g_dayHistory = days;
    g_bCountKnown = true;
    FUZZ_CHECK(SaveHistory(files) == 1);
    FUZZ_CHECK(Load(files) == WithLiveCount(days));
    return 0;
}
