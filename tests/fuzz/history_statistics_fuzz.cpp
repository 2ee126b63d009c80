// The History dialog's figures for whatever timehistory.txt holds. Read back from their texts,
// the figures agree with a plain recomputation from the days: one list line per day, the total,
// both averages and the best day.
#include "activity/time_files.h"
#include "fuzz_check.h"
#include "platform/text_decoding.h"
#include "history/history_statistics.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a Gregorian date, counted from March so that leap days come last.
std::int64_t DaysFromCivil(const CivilDate& date)
{
    const std::int64_t year = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The number at the front of the text, and the rest of the text after it.
std::int64_t ReadNumber(std::string_view& text)
{
    std::int64_t value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    FUZZ_CHECK(error == std::errc() && value >= 0);
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

// "HH:MM:SS" with minutes and seconds of two digits below 60, read back as seconds.
std::int64_t ReadDuration(std::string_view text)
{
    const std::int64_t hours = ReadNumber(text);
    FUZZ_CHECK(text.size() == 6 && text[0] == ':' && text[3] == ':');
    std::string_view minutesText = text.substr(1, 2);
    std::string_view secondsText = text.substr(4, 2);
    const std::int64_t minutes = ReadNumber(minutesText);
    const std::int64_t seconds = ReadNumber(secondsText);
    FUZZ_CHECK(minutesText.empty() && secondsText.empty() && minutes < 60 && seconds < 60);
    return (hours * 60 + minutes) * 60 + seconds;
}

std::size_t CountLines(const std::string& text)
{
    std::size_t lines = 0;
    for (std::size_t pos = text.find("\r\n"); pos != std::string::npos; pos = text.find("\r\n", pos + 2))
        ++lines;
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<DayRecord> days = ParseHistory(DecodeTextFile(FuzzBytes(data, size)));
    const HistoryFigures figures = ComputeHistoryFigures(days);

    std::int64_t total = 0;
    std::int64_t best = 0;
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    for (const DayRecord& day : days) {
        first = std::min(first, DaysFromCivil(day.date));
        last = std::max(last, DaysFromCivil(day.date));
        total += day.activeSeconds;
        best = std::max(best, day.activeSeconds);
    }

    FUZZ_CHECK(CountLines(figures.list) == days.size());
    FUZZ_CHECK(figures.list.empty() || figures.list.ends_with("\r\n"));

    std::string_view totalText = figures.total;
    const std::int64_t fullDays = ReadNumber(totalText);
    const std::size_t joint = figures.total.find(" and ");
    FUZZ_CHECK(joint != std::string::npos);
    FUZZ_CHECK((figures.total.find(" full days ") == std::string::npos) == (fullDays == 1));
    const std::int64_t rest = ReadDuration(figures.total.substr(joint + 5));
    FUZZ_CHECK(rest < kSecondsPerDay && fullDays * kSecondsPerDay + rest == total);

    const std::int64_t perDay = ReadDuration(figures.averageActiveDays);
    const std::int64_t perCalendarDay = ReadDuration(figures.averageAllDays);
    if (days.empty()) {
        FUZZ_CHECK(perDay == 0 && perCalendarDay == 0 && figures.bestDay.empty());
        return 0;
    }
    FUZZ_CHECK(perDay == total / static_cast<std::int64_t>(days.size()));
    FUZZ_CHECK(perCalendarDay == total / (last - first + 1));
    // The best day is one of the listed days, shown with its own time.
    const std::size_t dash = figures.bestDay.rfind(" - ");
    FUZZ_CHECK(dash != std::string::npos);
    const std::string bestTime = figures.bestDay.substr(dash + 3);
    FUZZ_CHECK(ReadDuration(bestTime) == best);
    FUZZ_CHECK(figures.list.find(figures.bestDay.substr(0, dash) + "\t Active Time: " + bestTime + "  \r\n") !=
               std::string::npos);
    return 0;
}
