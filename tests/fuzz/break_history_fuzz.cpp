// breakhistory.txt through the program's reader. Every day read is a real date from 1980 on with
// counts of 0 or more, no more eye breaks taken than lines can hold, and a save followed by a read
// gives back each date once with the larger of its counts.
#include "fuzz_check.h"
#include "history/break_history.h"
#include "platform/text_decoding.h"

#include <string>
#include <vector>

namespace {

// The shortest line, "1980-01-01=breaks 0,postponed 0,eyes 0/0" without its blanks.
constexpr std::size_t kShortestLine = 40;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = DecodeTextFile(FuzzBytes(data, size));
    const std::vector<BreakDay> days = ParseBreakHistory(text);
    FUZZ_CHECK(days.size() * kShortestLine <= text.size());
    for (const BreakDay& day : days) {
        FUZZ_CHECK(day.date.year >= 1980 && IsValidDate(day.date));
        FUZZ_CHECK(day.counts.breaks >= 0 && day.counts.postponed >= 0 && day.counts.eyesTaken >= 0 &&
                   day.counts.eyesOffered >= 0);
    }
    const std::vector<BreakDay> ordered = InDateOrder(days);
    for (std::size_t index = 1; index < ordered.size(); ++index)
        FUZZ_CHECK(ordered[index - 1].date < ordered[index].date);
    FUZZ_CHECK(ParseBreakHistory(FormatBreakHistory(days)) == ordered);
    return 0;
}
