// activetimelog.txt through the program's load and save. The restored count is a whole number
// of seconds that fits in the day; saving it and loading again restores it unchanged; and a
// record appended after whatever the file held is the one that decides.
#include "activity/counter_state.h"
#include "activity/time_files.h"
#include "fuzz_check.h"
#include "memory_time_files.h"

#include <string>

namespace {

constexpr CivilDate kCountedDay{2006, 3, 5};

std::int32_t Load(MemoryTimeFiles& files)
{
    FUZZ_CHECK(LoadActiveTimeLog(files) == 1);
    return g_nRestoredTimeMs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(FuzzBytes(data, size));
    MemoryTimeFiles files;
    files.files[kActiveTimeLogFile] = bytes;
    g_timeCountedDay = LocalNoon(kCountedDay);

    const std::int32_t restored = Load(files);
    FUZZ_CHECK(restored >= 0 && restored <= LocalDayLengthMs(kCountedDay));
    FUZZ_CHECK(restored % 1000 == 0);

    g_bCountKnown = true;
    g_nActiveTimeMs = restored;
    FUZZ_CHECK(SaveActiveTimeLog(files) == 1);
    FUZZ_CHECK(Load(files) == restored);
    FUZZ_CHECK(LogHoldsDay(*files.ReadText(kActiveTimeLogFile), kCountedDay));

    // A run not yet counted leaves a log of its day as it is.
    files.files[kActiveTimeLogFile] = bytes;
    g_bCountKnown = false;
    g_nActiveTimeMs = 0;
    const bool heldDay = LogHoldsDay(DecodeTextFile(bytes), kCountedDay);
    FUZZ_CHECK(SaveActiveTimeLog(files) == 1);
    FUZZ_CHECK(files.files[kActiveTimeLogFile] == (heldDay ? bytes : FormatActiveTimeLog(kCountedDay, 0)));

    // A record appended after whatever the file held decides; its count differs from the restored one.
    const std::int32_t appendedMs = restored == 3723000 ? 7446000 : 3723000;
    // Marked as UTF-8, so that text which decoded from UTF-16 isn't taken for UTF-16 again.
    files.files[kActiveTimeLogFile] =
        "\xEF\xBB\xBF" + DecodeTextFile(bytes) + "\r\n" + FormatActiveTimeLog(kCountedDay, appendedMs);
    FUZZ_CHECK(Load(files) == appendedMs);
    return 0;
}
