// usehistory.txt through the program's reader. Every day read is a real date from 1980 on whose
// first use comes no later than its last, both within the day from 05:00 to 05:00, and a save
// followed by a read gives back each date once with its earliest first and latest last use.
#include "activity/use_history.h"
#include "fuzz_check.h"
#include "platform/text_decoding.h"

#include <string>
#include <vector>

namespace {

// The shortest line, "1980-1-1 = first 5:0:0, last 5:0:0".
constexpr std::size_t kShortestLine = 34;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = DecodeTextFile(FuzzBytes(data, size));
    const std::vector<UseDay> days = ParseUseHistory(text);
    FUZZ_CHECK(days.size() * kShortestLine <= text.size());
    for (const UseDay& day : days) {
        FUZZ_CHECK(day.date.year >= 1980 && IsValidDate(day.date));
        FUZZ_CHECK(day.first >= 0 && day.first <= day.last && day.last < kUseDaySeconds);
    }
    const std::vector<UseDay> ordered = InDateOrder(days);
    for (std::size_t index = 1; index < ordered.size(); ++index)
        FUZZ_CHECK(ordered[index - 1].date < ordered[index].date);
    FUZZ_CHECK(ParseUseHistory(FormatUseHistory(days)) == ordered);
    // Each use of a day kept again changes nothing.
    std::vector<UseDay> again = ordered;
    for (const UseDay& day : days) {
        AddUse(again, {day.date, day.first});
        AddUse(again, {day.date, day.last});
    }
    FUZZ_CHECK(again == ordered);
    return 0;
}
