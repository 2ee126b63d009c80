#include "history/break_history.h"

#include "activity/counter_state.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "platform/dated_records.h"
#include "platform/line_reader.h"
#include "platform/text_chars.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr std::string_view kHeader = "BREAKS";
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kFirstYear = 1980;
constexpr std::int64_t kLargestCount = std::numeric_limits<std::int32_t>::max();
// "9999-12-31 = breaks " and four counts of ten digits with their words, CR LF.
constexpr std::size_t kLongestLine = 112;

std::optional<BreakDay> ParseLine(std::string_view line)
{
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    LineReader reader(line, kLargestCount);
    std::int64_t year = 0, month = 0, day = 0, breaks = 0, postponed = 0, eyesTaken = 0, eyesOffered = 0;
    const bool matched = reader.Number(year) && reader.Literal("-") && reader.Number(month) && reader.Literal("-") &&
                         reader.Number(day) && reader.Literal(" = breaks ") && reader.Number(breaks) &&
                         reader.Literal(", postponed ") && reader.Number(postponed) && reader.Literal(", eyes ") &&
                         reader.Number(eyesTaken) && reader.Literal("/") && reader.Number(eyesOffered) &&
                         reader.AtEndOfLine();
    if (!matched || eyesTaken > eyesOffered)
        return std::nullopt;
    const CivilDate date{static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
    if (year < kFirstYear || !IsValidDate(date))
        return std::nullopt;
    return BreakDay{date,
                    {static_cast<std::int32_t>(breaks), static_cast<std::int32_t>(postponed),
                     static_cast<std::int32_t>(eyesTaken), static_cast<std::int32_t>(eyesOffered)}};
}

BreakCounts Larger(const BreakCounts& a, const BreakCounts& b)
{
    return {std::max(a.breaks, b.breaks), std::max(a.postponed, b.postponed), std::max(a.eyesTaken, b.eyesTaken),
            std::max(a.eyesOffered, b.eyesOffered)};
}

std::int32_t Sum(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{a} + b, kLargestCount));
}

BreakCounts Added(const BreakCounts& a, const BreakCounts& b)
{
    return {Sum(a.breaks, b.breaks), Sum(a.postponed, b.postponed), Sum(a.eyesTaken, b.eyesTaken),
            Sum(a.eyesOffered, b.eyesOffered)};
}

BreakCounts& CountsOf(std::vector<BreakDay>& days, const CivilDate& date)
{
    const auto found = std::find_if(days.begin(), days.end(), [&date](const BreakDay& d) { return d.date == date; });
    if (found != days.end())
        return found->counts;
    days.push_back({date, {}});
    return days.back().counts;
}

void Merge(std::vector<BreakDay>& days, const BreakDay& day)
{
    BreakCounts& counts = CountsOf(days, day.date);
    counts = Larger(counts, day.counts);
}

void Increment(std::int32_t& count)
{
    if (count < kLargestCount)
        ++count;
}

std::optional<CivilDate> CountedDate()
{
    return LocalDate(g_timeCountedDay);
}

} // namespace

std::vector<BreakDay> ParseBreakHistory(std::string_view text)
{
    std::vector<BreakDay> days;
    while (!text.empty()) {
        std::size_t end = 0;
        while (end < text.size() && !IsLineEnd(text[end]))
            ++end;
        if (std::optional<BreakDay> day = ParseLine(text.substr(0, end)))
            days.push_back(*day);
        text.remove_prefix(end);
        while (!text.empty() && IsLineEnd(text.front()))
            text.remove_prefix(1);
    }
    return days;
}

std::vector<BreakDay> InDateOrder(std::vector<BreakDay> days)
{
    return MergedInDateOrder(std::move(days),
                             [](BreakDay& kept, const BreakDay& day) { kept.counts = Larger(kept.counts, day.counts); });
}

std::string FormatBreakHistory(const std::vector<BreakDay>& days)
{
    std::string text(kHeader);
    text += kLineEnd;
    for (const BreakDay& day : InDateOrder(days)) {
        char line[kLongestLine];
        const int length = std::snprintf(line, sizeof line, "%04d-%02d-%02d = breaks %d, postponed %d, eyes %d/%d\r\n",
                                         day.date.year, day.date.month, day.date.day, day.counts.breaks,
                                         day.counts.postponed, day.counts.eyesTaken, day.counts.eyesOffered);
        if (length > 0)
            text.append(line, std::min(static_cast<std::size_t>(length), sizeof line - 1));
    }
    return text;
}

std::optional<BreakCounts> BreakCountsOf(const std::vector<BreakDay>& days, const CivilDate& date)
{
    std::optional<BreakCounts> counts;
    for (const BreakDay& day : days) {
        if (day.date == date)
            counts = Larger(counts.value_or(BreakCounts{}), day.counts);
    }
    return counts;
}

std::string BreakStatisticsLine(const std::vector<BreakDay>& days, const std::optional<CivilDate>& today)
{
    const BreakCounts counts = today ? BreakCountsOf(days, *today).value_or(BreakCounts{}) : BreakCounts{};
    std::vector<BreakDay> recorded;
    for (const BreakDay& day : days)
        Merge(recorded, day);
    if (today && !BreakCountsOf(recorded, *today))
        recorded.push_back({*today, counts});
    double total = 0;
    for (const BreakDay& day : recorded)
        total += day.counts.breaks;
    const double average = recorded.empty() ? 0.0 : total / static_cast<double>(recorded.size());
    char averageText[32];
    std::snprintf(averageText, sizeof averageText, "%.1f", average);
    // The decimal point as the language writes it: "1,5" in German, a separator of several bytes whole.
    std::string averageShown = averageText;
    const std::size_t point = averageShown.find('.');
    if (point != std::string::npos)
        averageShown.replace(point, 1, TrC("decimal separator", "."));
    return FillText(Tr("Breaks today: %s (eyes %s of %s) · average %s a day over the days recorded"),
                    {std::to_string(counts.breaks), std::to_string(counts.eyesTaken),
                     std::to_string(counts.eyesOffered), averageShown});
}

int CBreakHistory::Load(TimeFilesHost& host)
{
    m_days.clear();
    m_countedDate = CountedDate();
    m_today = {};
    if (!host.Exists(kBreakHistoryFile)) {
        m_bLoaded = true;
        return Save(host);
    }
    const std::optional<std::string> text = host.ReadText(kBreakHistoryFile);
    if (!text) {
        m_bLoaded = false;
        host.ReportCannotOpen(kBreakHistoryFile);
        return 0;
    }
    m_days = ParseBreakHistory(*text);
    m_bLoaded = true;
    if (m_countedDate)
        m_today = BreakCountsOf(m_days, *m_countedDate).value_or(BreakCounts{});
    return 1;
}

int CBreakHistory::Save(TimeFilesHost& host)
{
    FollowCountedDay();
    // A file that could not be read at start-up is read again before it is replaced, so that a
    // save never drops the days it holds; what this run counted meanwhile comes on top of them.
    // One that has gone since holds nothing to lose.
    if (!m_bLoaded && !host.Exists(kBreakHistoryFile)) {
        m_bLoaded = true;
    } else if (!m_bLoaded) {
        if (const std::optional<std::string> text = host.ReadText(kBreakHistoryFile)) {
            std::vector<BreakDay> days = ParseBreakHistory(*text);
            if (m_countedDate)
                m_today = Added(m_today, BreakCountsOf(days, *m_countedDate).value_or(BreakCounts{}));
            days = InDateOrder(std::move(days));
            for (const BreakDay& day : m_days) {
                BreakCounts& counts = CountsOf(days, day.date);
                counts = Added(counts, day.counts);
            }
            m_days = std::move(days);
            m_bLoaded = true;
        }
    }
    if (!m_bLoaded || !host.Replace(kBreakHistoryFile, FormatBreakHistory(Days()))) {
        host.ReportCannotOpen(kBreakHistoryFile);
        return 0;
    }
    return 1;
}

void CBreakHistory::Count(BreakEvent event, const CivilDate& day)
{
    FollowCountedDay();
    BreakCounts& counts = m_countedDate == day ? m_today : CountsOf(m_days, day);
    switch (event) {
    case BreakEvent::BreakTaken:
        Increment(counts.breaks);
        break;
    case BreakEvent::Postponed:
        Increment(counts.postponed);
        break;
    case BreakEvent::EyeBreakOffered:
        Increment(counts.eyesOffered);
        break;
    case BreakEvent::EyeBreakTaken:
        // Taken only after being offered: the file's "taken/offered" never shows more taken.
        if (counts.eyesTaken < counts.eyesOffered)
            Increment(counts.eyesTaken);
        break;
    }
}

bool CBreakHistory::FollowCountedDay()
{
    const std::optional<CivilDate> counted = CountedDate();
    if (counted == m_countedDate)
        return false;
    if (m_countedDate)
        Merge(m_days, {*m_countedDate, m_today});
    m_countedDate = counted;
    // A date that already has a line (the clock set back across midnight) goes on from it.
    m_today = counted ? BreakCountsOf(m_days, *counted).value_or(BreakCounts{}) : BreakCounts{};
    return true;
}

std::vector<BreakDay> CBreakHistory::Days()
{
    FollowCountedDay();
    std::vector<BreakDay> days = m_days;
    if (m_countedDate)
        Merge(days, {*m_countedDate, m_today});
    return days;
}
