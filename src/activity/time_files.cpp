#include "activity/time_files.h"

#include "platform/text_chars.h"

#include <algorithm>
#include <cstdio>
#include <limits>

std::vector<DayRecord> g_dayHistory;

namespace {

constexpr std::string_view kLogKeyword = "ACTIVE_TIME_TODAY";
constexpr std::string_view kHistoryHeader = "HISTORY";
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kFirstHistoryYear = 1980;
constexpr std::int32_t kMsPerHour = 3600000;
constexpr std::int32_t kMsPerMinute = 60000;
constexpr std::int32_t kMsPerSecond = 1000;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kLargestField = std::numeric_limits<std::int32_t>::max();

// "%d-%d-%d = %d:%d:%d" as read with scanf's rules, fields as written in the file.
struct RawRecord {
    std::int64_t year, month, day, hours, minutes, seconds;

    bool HasNegativeField() const { return month < 0 || day < 0 || hours < 0 || minutes < 0 || seconds < 0; }
    CivilDate Date() const { return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)}; }
    std::int64_t TotalMs() const { return ((hours * 60 + minutes) * 60 + seconds) * kMsPerSecond; }
};

class RecordScanner {
public:
    explicit RecordScanner(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_pos >= m_text.size(); }
    std::size_t Position() const { return m_pos; }
    void MoveTo(std::size_t pos) { m_pos = std::min(pos, m_text.size()); }

    void SkipBlanks()
    {
        while (!AtEnd() && IsBlank(m_text[m_pos]))
            ++m_pos;
    }

    // The next run of non-blank characters; empty at the end of the text.
    std::string_view Word()
    {
        SkipBlanks();
        const std::size_t start = m_pos;
        while (!AtEnd() && !IsBlank(m_text[m_pos]))
            ++m_pos;
        return m_text.substr(start, m_pos - start);
    }

    void SkipRestOfLine()
    {
        while (!AtEnd() && !IsLineEnd(m_text[m_pos]))
            ++m_pos;
    }

    // Matches as many leading characters of the literal as the text has; the first differing one stays unread.
    void MatchPrefix(std::string_view literal)
    {
        for (char c : literal) {
            if (AtEnd() || m_text[m_pos] != c)
                return;
            ++m_pos;
        }
    }

    // A whole record within the line, or nothing when the text doesn't match the pattern or a number
    // doesn't fit in 32 bits. A record cut short must not take its missing fields from the next line.
    // The fields all fit in 32 bits, so their sums can't overflow.
    std::optional<RawRecord> Record()
    {
        RawRecord record{};
        const bool matched = Number(record.year) && Literal('-') && Number(record.month) && Literal('-') &&
                             Number(record.day) && Blank() && Literal('=') && Blank() && Number(record.hours) &&
                             Literal(':') && Number(record.minutes) && Literal(':') && Number(record.seconds);
        if (!matched)
            return std::nullopt;
        return record;
    }

private:
    void SkipInlineBlanks()
    {
        while (!AtEnd() && IsInlineBlank(m_text[m_pos]))
            ++m_pos;
    }

    // Like %d within a line: blanks skipped, an optional sign, at least one digit.
    bool Number(std::int64_t& value)
    {
        SkipInlineBlanks();
        bool negative = false;
        if (!AtEnd() && (m_text[m_pos] == '+' || m_text[m_pos] == '-')) {
            negative = m_text[m_pos] == '-';
            ++m_pos;
        }
        if (AtEnd() || !IsDigit(m_text[m_pos]))
            return false;
        value = 0;
        bool fits = true;
        while (!AtEnd() && IsDigit(m_text[m_pos])) {
            if (value <= kLargestField)
                value = value * 10 + (m_text[m_pos] - '0');
            fits = fits && value <= kLargestField;
            ++m_pos;
        }
        if (negative)
            value = -value;
        return fits;
    }

    bool Literal(char c)
    {
        if (AtEnd() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }

    // A blank of the pattern matches any run of white space within the line, none included.
    bool Blank()
    {
        SkipInlineBlanks();
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

std::optional<RawRecord> LastLogRecord(std::string_view text)
{
    RecordScanner scanner(text);
    std::optional<RawRecord> last;
    for (std::string_view word = scanner.Word(); !word.empty(); word = scanner.Word()) {
        if (word != kLogKeyword)
            continue;
        const std::size_t afterKeyword = scanner.Position();
        if (std::optional<RawRecord> record = scanner.Record())
            last = record;
        else
            scanner.MoveTo(afterKeyword);
    }
    return last;
}

std::int32_t RestorableMs(std::int64_t ms, const CivilDate& day)
{
    if (ms < 0 || ms > LocalDayLengthMs(day))
        return 0;
    return static_cast<std::int32_t>(ms);
}

void AppendRecord(std::string& out, const CivilDate& date, std::int64_t hours, std::int64_t minutes,
                  std::int64_t seconds)
{
    char line[128];
    std::snprintf(line, sizeof line, "%d-%d-%d = %lld:%lld:%lld", date.year, date.month, date.day,
                  static_cast<long long>(hours), static_cast<long long>(minutes), static_cast<long long>(seconds));
    out += line;
    out += kLineEnd;
}

void AppendCount(std::string& out, const CivilDate& date, std::int32_t activeMs)
{
    const MillisecondSplit split = SplitMilliseconds(std::max(0, activeMs));
    AppendRecord(out, date, split.hours, split.minutes, split.seconds);
}

void AppendDay(std::string& out, const DayRecord& day)
{
    AppendRecord(out, day.date, day.activeSeconds / kSecondsPerHour,
                 day.activeSeconds / kSecondsPerMinute % kSecondsPerMinute, day.activeSeconds % kSecondsPerMinute);
}

} // namespace

MillisecondSplit SplitMilliseconds(std::int32_t ms)
{
    MillisecondSplit split;
    split.hours = ms / kMsPerHour;
    split.minutes = ms / kMsPerMinute - split.hours * 60;
    split.remainder = ms - (ms / kMsPerMinute) * kMsPerMinute;
    split.seconds = split.remainder / kMsPerSecond;
    return split;
}

std::string FormatActiveTimeLog(std::optional<CivilDate> countedDay, std::int32_t activeMs)
{
    const CivilDate date = countedDay.value_or(CivilDate{});
    const bool negative = date.year < 0 || date.month < 0 || date.day < 0 || activeMs < 0;
    std::string out(kLogKeyword);
    out += ' ';
    AppendCount(out, date, negative ? 0 : activeMs);
    return out;
}

std::int32_t RestoredTimeFromLog(std::string_view text, const CivilDate& countedDay)
{
    const std::optional<RawRecord> record = LastLogRecord(text);
    if (!record || record->Date() != countedDay || record->HasNegativeField())
        return 0;
    return RestorableMs(record->TotalMs(), countedDay);
}

bool LogHoldsDay(std::string_view text, const CivilDate& day)
{
    const std::optional<RawRecord> record = LastLogRecord(text);
    return record && record->Date() == day;
}

std::vector<DayRecord> ParseHistory(std::string_view text)
{
    RecordScanner scanner(text);
    scanner.MatchPrefix(kHistoryHeader);
    std::vector<DayRecord> days;
    for (scanner.SkipBlanks(); !scanner.AtEnd(); scanner.SkipBlanks()) {
        const std::size_t start = scanner.Position();
        const std::optional<RawRecord> record = scanner.Record();
        if (!record) {
            // A damaged line is skipped whole; the next line is read from its start.
            scanner.MoveTo(start);
            scanner.SkipRestOfLine();
            continue;
        }
        const CivilDate date = record->Date();
        const std::int64_t activeSeconds = record->TotalMs() / kMsPerSecond;
        // A save writes the time back in whole hours: hours beyond 32 bits could never be read again.
        if (record->year < kFirstHistoryYear || record->HasNegativeField() || !IsValidDate(date) ||
            activeSeconds / kSecondsPerHour > kLargestField)
            continue;
        days.push_back({date, activeSeconds});
    }
    return days;
}

std::string FormatHistory(const std::vector<DayRecord>& days, const CountedDay& counted)
{
    const CivilDate countedDate = counted.date.value_or(CivilDate{});
    // A count that can't be the day's (not restored yet, or negative) never replaces a stored line.
    const bool liveCountUsable = counted.countKnown && counted.activeMs >= 0;
    std::string out(kHistoryHeader);
    out += kLineEnd;
    bool countedDayWritten = false;
    for (const DayRecord& day : days) {
        if (day.date != countedDate) {
            AppendDay(out, day);
        } else if (!liveCountUsable) {
            AppendDay(out, day);
            countedDayWritten = true;
        } else if (countedDate.year >= kFirstHistoryYear) {
            AppendCount(out, countedDate, counted.activeMs);
            countedDayWritten = true;
        }
    }
    if (!countedDayWritten)
        AppendCount(out, countedDate, counted.activeMs);
    return out;
}

std::int32_t RestoredTimeFromHistory(const std::vector<DayRecord>& days, const CivilDate& day)
{
    std::int64_t largestMs = 0;
    for (const DayRecord& record : days) {
        if (record.date == day)
            largestMs = std::max(largestMs, record.activeSeconds * kMsPerSecond);
    }
    return RestorableMs(largestMs, day);
}

void MergeDay(std::vector<DayRecord>& days, const DayRecord& day)
{
    for (DayRecord& record : days) {
        if (record.date == day.date) {
            record.activeSeconds = std::max(record.activeSeconds, day.activeSeconds);
            return;
        }
    }
    days.push_back(day);
}
