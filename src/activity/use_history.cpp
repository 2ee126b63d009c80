#include "activity/use_history.h"

#include "platform/dated_records.h"
#include "platform/line_reader.h"
#include "platform/text_chars.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr std::string_view kHeader = "USE";
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kFirstYear = 1980;
constexpr std::int32_t kSecondsPerMinute = 60;
constexpr std::int32_t kSecondsPerHour = 3600;
constexpr std::int32_t kDayBeginsSecond = kUseDayBeginsHour * kSecondsPerHour;
constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;
// Larger than any field may be, so that a run of digits stops being read early.
constexpr std::int64_t kLargestNumber = 99999;
// "9999-12-31 = first 23:59:59, last 23:59:59" and CR LF.
constexpr std::size_t kLongestLine = 64;

std::int32_t ClockSecond(const TimeOfDay& time)
{
    return time.hour * kSecondsPerHour + time.minute * kSecondsPerMinute + time.second;
}

std::int32_t SecondAfterDayBegins(const TimeOfDay& time)
{
    return (ClockSecond(time) + kUseDaySeconds - kDayBeginsSecond) % kUseDaySeconds;
}

// "HH:MM:SS" of a real time of day, as seconds after 05:00.
bool ReadTime(LineReader& reader, std::int32_t& second)
{
    std::int64_t hour = 0, minute = 0, seconds = 0;
    if (!reader.Number(hour) || !reader.Literal(":") || !reader.Number(minute) || !reader.Literal(":") ||
        !reader.Number(seconds) || hour > kLastHour || minute > kLastMinute || seconds > kLastMinute)
        return false;
    second = SecondAfterDayBegins({static_cast<int>(hour), static_cast<int>(minute), static_cast<int>(seconds)});
    return true;
}

std::optional<UseDay> ParseLine(std::string_view line)
{
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    LineReader reader(line, kLargestNumber);
    std::int64_t year = 0, month = 0, day = 0;
    UseDay use;
    const bool matched = reader.Number(year) && reader.Literal("-") && reader.Number(month) && reader.Literal("-") &&
                         reader.Number(day) && reader.Literal(" = first ") && ReadTime(reader, use.first) &&
                         reader.Literal(", last ") && ReadTime(reader, use.last) && reader.AtEndOfLine();
    use.date = {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
    if (!matched || year < kFirstYear || !IsValidDate(use.date) || use.first > use.last)
        return std::nullopt;
    return use;
}

void Widen(UseDay& day, std::int32_t first, std::int32_t last)
{
    day.first = std::min(day.first, first);
    day.last = std::max(day.last, last);
}

} // namespace

UseMoment UseMomentAt(const CivilDate& date, const TimeOfDay& time)
{
    if (ClockSecond(time) >= kDayBeginsSecond)
        return {date, SecondAfterDayBegins(time)};
    // The day before, by the calendar alone: a change of the clocks at night moves no date.
    CivilDate before = date;
    if (IsValidDate(date)) {
        const std::chrono::year_month_day previous{
            std::chrono::sys_days{std::chrono::year{date.year} / std::chrono::month{static_cast<unsigned>(date.month)} /
                                  std::chrono::day{static_cast<unsigned>(date.day)}} -
            std::chrono::days{1}};
        before = {static_cast<int>(previous.year()), static_cast<int>(static_cast<unsigned>(previous.month())),
                  static_cast<int>(static_cast<unsigned>(previous.day()))};
    }
    return {before, SecondAfterDayBegins(time)};
}

std::optional<UseMoment> UseMomentOf(std::int64_t time)
{
    const std::optional<CivilDate> date = LocalDate(time);
    const std::optional<TimeOfDay> clock = LocalTimeOfDay(time);
    if (!date || !clock)
        return std::nullopt;
    return UseMomentAt(*date, *clock);
}

TimeOfDay UseClockTime(std::int32_t second)
{
    const std::int32_t clock = (second % kUseDaySeconds + kUseDaySeconds + kDayBeginsSecond) % kUseDaySeconds;
    return {clock / kSecondsPerHour, clock / kSecondsPerMinute % kSecondsPerMinute, clock % kSecondsPerMinute};
}

std::vector<UseDay> ParseUseHistory(std::string_view text)
{
    std::vector<UseDay> days;
    while (!text.empty()) {
        std::size_t end = 0;
        while (end < text.size() && !IsLineEnd(text[end]))
            ++end;
        if (const std::optional<UseDay> day = ParseLine(text.substr(0, end)))
            days.push_back(*day);
        text.remove_prefix(end);
        while (!text.empty() && IsLineEnd(text.front()))
            text.remove_prefix(1);
    }
    return days;
}

std::vector<UseDay> InDateOrder(std::vector<UseDay> days)
{
    return MergedInDateOrder(std::move(days), [](UseDay& kept, const UseDay& day) { Widen(kept, day.first, day.last); });
}

std::string FormatUseHistory(const std::vector<UseDay>& days)
{
    std::string text(kHeader);
    text += kLineEnd;
    for (const UseDay& day : InDateOrder(days)) {
        const TimeOfDay first = UseClockTime(day.first);
        const TimeOfDay last = UseClockTime(day.last);
        char line[kLongestLine];
        const int length = std::snprintf(
            line, sizeof line, "%04d-%02d-%02d = first %02d:%02d:%02d, last %02d:%02d:%02d\r\n", day.date.year,
            day.date.month, day.date.day, first.hour, first.minute, first.second, last.hour, last.minute, last.second);
        if (length > 0)
            text.append(line, std::min(static_cast<std::size_t>(length), sizeof line - 1));
    }
    return text;
}

void AddUse(std::vector<UseDay>& days, const UseMoment& use)
{
    // Nearly every use falls on the last day.
    if (!days.empty() && days.back().date == use.day) {
        Widen(days.back(), use.second, use.second);
        return;
    }
    const auto place = std::lower_bound(days.begin(), days.end(), use.day,
                                        [](const UseDay& day, const CivilDate& date) { return day.date < date; });
    if (place != days.end() && place->date == use.day)
        Widen(*place, use.second, use.second);
    else
        days.insert(place, {use.day, use.second, use.second});
}

std::optional<UseDay> UseDayOf(const std::vector<UseDay>& days, const CivilDate& date)
{
    const auto place = std::lower_bound(days.begin(), days.end(), date,
                                        [](const UseDay& day, const CivilDate& wanted) { return day.date < wanted; });
    if (place == days.end() || place->date != date)
        return std::nullopt;
    return *place;
}

int CUseHistory::Load(TimeFilesHost& host)
{
    m_days.clear();
    if (!host.Exists(kUseHistoryFile)) {
        m_bLoaded = true;
        return 1;
    }
    const std::optional<std::string> text = host.ReadText(kUseHistoryFile);
    if (!text) {
        m_bLoaded = false;
        host.ReportCannotOpen(kUseHistoryFile);
        return 0;
    }
    m_days = InDateOrder(ParseUseHistory(*text));
    m_bLoaded = true;
    return 1;
}

int CUseHistory::Save(TimeFilesHost& host)
{
    // A file that could not be read at start-up is read again before it is replaced, so that a
    // save never drops the days it holds; one that has gone since holds nothing to lose.
    if (!m_bLoaded && !host.Exists(kUseHistoryFile)) {
        m_bLoaded = true;
    } else if (!m_bLoaded) {
        if (const std::optional<std::string> text = host.ReadText(kUseHistoryFile)) {
            std::vector<UseDay> days = ParseUseHistory(*text);
            days.insert(days.end(), m_days.begin(), m_days.end());
            m_days = InDateOrder(std::move(days));
            m_bLoaded = true;
        }
    }
    if (!m_bLoaded || !host.Replace(kUseHistoryFile, FormatUseHistory(m_days))) {
        host.ReportCannotOpen(kUseHistoryFile);
        return 0;
    }
    return 1;
}

void CUseHistory::Use(std::int64_t time)
{
    if (const std::optional<UseMoment> moment = UseMomentOf(time))
        AddUse(m_days, *moment);
}
