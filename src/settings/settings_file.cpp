#include "settings/settings_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <set>
#include <tuple>
#include <utility>

#include "activity/calendar.h"
#include "platform/text_chars.h"
#include "resources/resource_ids.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kOtherTimeWhenEmpty = "120";
constexpr std::string_view kStartProgramValue = "true";
constexpr char kQuote = '"';

constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;
constexpr int kLastSecond = 59;
// Any number beyond this is out of range anyway; stopping here keeps long digit runs from overflowing.
constexpr long long kNumberCeiling = 1'000'000'000;
// MAX_PATH less its terminating null, in UTF-16 units as the system counts them.
constexpr std::size_t kLongestPath = 259;

constexpr std::array<std::pair<std::string_view, SettingKey>, kSettingKeyCount> kKeys = {{
    {"HEALTH_MSG", SettingKey::HealthMsg},
    {"TIMEBREAK_MSG", SettingKey::TimeBreakMsg},
    {"SLEEP_MSG", SettingKey::SleepMsg},
    {"SOUND_ON_MSG", SettingKey::SoundOnMsg},
    {"SOUND_LONGTIME_WARNING", SettingKey::SoundLongtimeWarning},
    {"SHUTDOWN", SettingKey::Shutdown},
    {"TIMELIMIT", SettingKey::TimeLimit},
    {"FREQUENCE", SettingKey::Frequence},
    {"STARTTRAY", SettingKey::StartTray},
    {"FORCEBREAK", SettingKey::ForceBreak},
    {"FORCEBREAK_WAIT", SettingKey::ForceBreakWait},
    {"ONLYSOUND", SettingKey::OnlySound},
    {"KEYBOARD_LEDS", SettingKey::KeyboardLeds},
    {"SOUNDMSG_PATH", SettingKey::SoundMsgPath},
    {"SOUNDWARNING_PATH", SettingKey::SoundWarningPath},
    {"OTHERTIME", SettingKey::OtherTime},
    {"STARTPROGRAM", SettingKey::StartProgram},
    {"HOLD_WHEN_BUSY", SettingKey::HoldWhenBusy},
    {"NATURAL_BREAKS", SettingKey::NaturalBreaks},
    {"WINDOWS_NOTIFICATIONS", SettingKey::WindowsNotifications},
    {"EYE_BREAKS", SettingKey::EyeBreaks},
    {"EYE_BREAK_MINUTES", SettingKey::EyeBreakMinutes},
    {"WORK_HOURS", SettingKey::WorkHours},
    {"WORK_MON", SettingKey::WorkMon},
    {"WORK_TUE", SettingKey::WorkTue},
    {"WORK_WED", SettingKey::WorkWed},
    {"WORK_THU", SettingKey::WorkThu},
    {"WORK_FRI", SettingKey::WorkFri},
    {"WORK_SAT", SettingKey::WorkSat},
    {"WORK_SUN", SettingKey::WorkSun},
    {"DAILY_LIMIT", SettingKey::DailyLimit},
    {"DAILY_LIMIT_TIME", SettingKey::DailyLimitTime},
    {"PAUSED_UNTIL", SettingKey::PausedUntil},
    {"HOTKEY_PAUSE", SettingKey::HotkeyPause},
    {"HOTKEY_BREAK", SettingKey::HotkeyBreak},
    {"LANGUAGE", SettingKey::Language},
    {"COVER_SCREENS", SettingKey::CoverScreens},
    {"STRICT_BREAKS", SettingKey::StrictBreaks},
    {"BEDTIME", SettingKey::Bedtime},
    {"BEDTIME_REMINDER", SettingKey::BedtimeReminder},
    {"THEME", SettingKey::Theme},
}};

constexpr int kMinutesPerHour = 60;

constexpr std::size_t kLongestLanguage = 32;

bool WrittenAfterStartProgram(SettingKey key)
{
    return key > SettingKey::StartProgram;
}

std::string_view KeyText(SettingKey key)
{
    for (const auto& [text, known] : kKeys) {
        if (known == key)
            return text;
    }
    return {};
}

std::optional<SettingKey> FindKey(std::string_view word)
{
    for (const auto& [text, key] : kKeys) {
        if (text == word)
            return key;
    }
    return std::nullopt;
}

// Cuts between characters, never inside one.
void CutTo(std::string& text, std::size_t length)
{
    if (text.size() <= length)
        return;
    while (length > 0 && IsUtf8Continuation(text[length]))
        --length;
    text.resize(length);
}

bool NeedsQuotes(std::string_view value)
{
    if (value.empty() || value.front() == kQuote)
        return true;
    for (char c : value) {
        if (IsBlank(c))
            return true;
    }
    return false;
}

// A quoted value never spans lines, so that a damaged quote can cost at most its own line.
std::string ValueText(std::string_view value)
{
    if (!NeedsQuotes(value))
        return std::string(value);
    std::string quoted(1, kQuote);
    for (char c : value) {
        if (c == kQuote) {
            quoted += kQuote;
            quoted += kQuote;
        } else if (IsLineEnd(c)) {
            quoted += ' ';
        } else {
            quoted += c;
        }
    }
    quoted += kQuote;
    return quoted;
}

void AppendLine(std::string& out, SettingKey key, std::string_view value)
{
    out += KeyText(key);
    out += ' ';
    out += value;
    out += kLineEnd;
}

void AppendCheck(std::string& out, SettingKey key, bool checked)
{
    AppendLine(out, key, checked ? "1" : "0");
}

// Quoted even where no blank asks for it, so that every day's line looks alike.
std::string QuotedWorkDay(const WorkDay& day)
{
    return kQuote + FormatWorkDay(day) + kQuote;
}

void AppendWorkingDay(std::string& out, const SettingsModel& settings, std::optional<std::int64_t> pausedUntil)
{
    AppendCheck(out, SettingKey::WorkHours, settings.workHours);
    for (int weekday = 0; weekday < kDaysInWeek; ++weekday) {
        AppendLine(out, static_cast<SettingKey>(static_cast<int>(SettingKey::WorkMon) + weekday),
                   QuotedWorkDay(settings.workWeek[static_cast<std::size_t>(weekday)]));
    }
    AppendCheck(out, SettingKey::DailyLimit, settings.dailyLimit);
    AppendLine(out, SettingKey::DailyLimitTime,
               std::to_string(settings.dailyLimitMinutes / kMinutesPerHour) + ':' +
                   std::to_string(settings.dailyLimitMinutes % kMinutesPerHour) + ":0");
    if (!pausedUntil)
        return;
    const std::optional<CivilDate> date = LocalDate(*pausedUntil);
    const std::optional<TimeOfDay> time = LocalTimeOfDay(*pausedUntil);
    if (!date || !time)
        return;
    AppendLine(out, SettingKey::PausedUntil,
               std::to_string(date->year) + '-' + std::to_string(date->month) + '-' + std::to_string(date->day) + ' ' +
                   std::to_string(time->hour) + ':' + std::to_string(time->minute) + ':' +
                   std::to_string(time->second));
}

struct Word {
    std::string text;
    bool quoted = false;
};

class SettingsReader {
public:
    explicit SettingsReader(std::string_view text) : m_text(text)
    {
        if (m_text.starts_with(kByteOrderMark))
            m_pos = kByteOrderMark.size();
    }

    std::vector<SettingAssignment> ReadAll()
    {
        std::vector<SettingAssignment> assignments;
        while (std::optional<Word> word = ReadWord()) {
            if (word->quoted)
                continue;
            std::optional<SettingKey> key = FindKey(word->text);
            if (!key)
                continue;
            if (std::optional<SettingAssignment> assignment = ReadValue(*key)) {
                assignments.push_back(std::move(*assignment));
            }
        }
        return assignments;
    }

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return m_text[m_pos]; }

    void SkipBlanks()
    {
        while (!AtEnd() && IsBlank(Peek()))
            ++m_pos;
    }

    // Every call that returns a word consumes at least one character, so reading always ends.
    std::optional<Word> ReadWord()
    {
        SkipBlanks();
        if (AtEnd())
            return std::nullopt;
        Word word;
        if (Peek() == kQuote) {
            word.quoted = true;
            ++m_pos;
            while (!AtEnd() && !IsLineEnd(Peek())) {
                char c = Peek();
                ++m_pos;
                if (c != kQuote) {
                    word.text += c;
                } else if (!AtEnd() && Peek() == kQuote) {
                    word.text += kQuote;
                    ++m_pos;
                } else {
                    break;
                }
            }
            return word;
        }
        std::size_t start = m_pos;
        while (!AtEnd() && !IsBlank(Peek()))
            ++m_pos;
        word.text = std::string(m_text.substr(start, m_pos - start));
        return word;
    }

    // Like scanf's %d: blanks skipped first; on failure only those blanks are consumed.
    std::optional<long long> ReadNumber()
    {
        SkipBlanks();
        std::size_t start = m_pos;
        bool negative = false;
        if (!AtEnd() && (Peek() == '+' || Peek() == '-')) {
            negative = Peek() == '-';
            ++m_pos;
        }
        if (AtEnd() || !IsDigit(Peek())) {
            m_pos = start;
            return std::nullopt;
        }
        long long value = 0;
        while (!AtEnd() && IsDigit(Peek())) {
            if (value < kNumberCeiling)
                value = value * 10 + (Peek() - '0');
            ++m_pos;
        }
        return negative ? -value : value;
    }

    // A ':' counts only right after the number before it, as in the format "%d:%d:%d".
    bool ReadColon()
    {
        if (AtEnd() || Peek() != ':')
            return false;
        ++m_pos;
        return true;
    }

    static bool InRange(std::optional<long long> value, int last) { return value && *value >= 0 && *value <= last; }

    std::optional<TimeOfDay> ReadTimeOfDay()
    {
        std::optional<long long> hour = ReadNumber();
        if (!hour || !ReadColon())
            return std::nullopt;
        std::optional<long long> minute = ReadNumber();
        if (!minute)
            return std::nullopt;
        std::optional<long long> second = 0;
        if (ReadColon()) {
            second = ReadNumber();
            if (!second)
                second = 0;
        }
        if (!InRange(hour, kLastHour) || !InRange(minute, kLastMinute) || !InRange(second, kLastSecond)) {
            return std::nullopt;
        }
        return TimeOfDay{static_cast<int>(*hour), static_cast<int>(*minute), static_cast<int>(*second)};
    }

    // "H:M" or "H:M:S" as TIMELIMIT is written; the seconds don't count. Anything else means 8 hours.
    int ReadDailyLimit()
    {
        const std::optional<long long> hours = ReadNumber();
        if (!hours || !ReadColon())
            return kDefaultDailyLimitMinutes;
        const std::optional<long long> minutes = ReadNumber();
        if (!minutes)
            return kDefaultDailyLimitMinutes;
        if (ReadColon())
            ReadNumber();
        return DailyLimitMinutes(*hours, *minutes);
    }

    bool ReadDash()
    {
        if (AtEnd() || Peek() != '-')
            return false;
        ++m_pos;
        return true;
    }

    // "2026-12-10 6:0:0": a real local date from 1980 to 2999 and a time of day; nothing when damaged.
    std::optional<std::int64_t> ReadLocalMoment()
    {
        constexpr long long kFirstYear = 1980;
        constexpr long long kLastYear = 2999;
        const std::optional<long long> year = ReadNumber();
        if (!year || !ReadDash())
            return std::nullopt;
        const std::optional<long long> month = ReadNumber();
        if (!month || !ReadDash())
            return std::nullopt;
        const std::optional<long long> day = ReadNumber();
        if (!day || *year < kFirstYear || *year > kLastYear || *month < 1 || *month > 12 || *day < 1 || *day > 31)
            return std::nullopt;
        const CivilDate date{static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)};
        const std::optional<TimeOfDay> time = ReadTimeOfDay();
        if (!IsValidDate(date) || !time)
            return std::nullopt;
        return LocalMoment(date, *time);
    }

    static int FrequenceButton(std::string_view word)
    {
        for (int button : {IDC_MAIN_30_MIN, IDC_MAIN_45_MIN, IDC_MAIN_60_MIN, IDC_MAIN_OTHER}) {
            if (word == std::to_string(button))
                return button;
        }
        return 0;
    }

    // Empty when the file ends before the value starts, or for a path too long to be one:
    // such a key does nothing.
    std::optional<SettingAssignment> ReadValue(SettingKey key)
    {
        SettingAssignment assignment;
        assignment.key = key;
        SkipBlanks();
        if (AtEnd())
            return std::nullopt;

        switch (key) {
        case SettingKey::TimeLimit:
            assignment.timeLimit = ReadTimeOfDay();
            return assignment;
        case SettingKey::StartTray:
            assignment.hideToTray = ReadNumber() == 1;
            return assignment;
        case SettingKey::DailyLimitTime:
            assignment.dailyLimitMinutes = ReadDailyLimit();
            return assignment;
        case SettingKey::PausedUntil:
            assignment.pausedUntil = ReadLocalMoment();
            return assignment;
        default:
            break;
        }

        std::optional<Word> word = ReadWord();
        if (!word)
            return std::nullopt;
        switch (key) {
        case SettingKey::Frequence:
            assignment.frequenceButton = FrequenceButton(word->text);
            break;
        case SettingKey::StartProgram:
            assignment.startProgram = word->text == kStartProgramValue;
            break;
        case SettingKey::ForceBreakWait:
        case SettingKey::OtherTime:
            // Cut rather than skipped: a long run of digits still means "very long".
            assignment.text = std::move(word->text);
            CutTo(assignment.text, kLongestNumberText);
            break;
        case SettingKey::EyeBreakMinutes:
            assignment.text = std::to_string(EyeBreakMinutes(word->text));
            break;
        case SettingKey::Language:
            // Anything else is no language: Windows' own.
            if (IsLanguageSetting(word->text))
                assignment.text = std::move(word->text);
            break;
        case SettingKey::WorkMon:
        case SettingKey::WorkTue:
        case SettingKey::WorkWed:
        case SettingKey::WorkThu:
        case SettingKey::WorkFri:
        case SettingKey::WorkSat:
        case SettingKey::WorkSun:
            assignment.workDay = ParseWorkDay(word->text, WeekdayOfKey(key));
            break;
        case SettingKey::HotkeyPause:
        case SettingKey::HotkeyBreak:
            assignment.shortcut = ParseShortcut(word->text);
            break;
        case SettingKey::Bedtime:
            assignment.clockMinutes = ParseClockTime(word->text);
            break;
        case SettingKey::Theme:
            assignment.theme = ReadThemeSetting(word->text);
            break;
        case SettingKey::SoundMsgPath:
        case SettingKey::SoundWarningPath:
            // A cut path would name another file; the sound in force is kept instead.
            if (Utf16Length(word->text) > kLongestPath)
                return std::nullopt;
            assignment.text = std::move(word->text);
            break;
        default:
            assignment.checked = word->text == "1";
            break;
        }
        return assignment;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

bool IsLanguageSetting(std::string_view value)
{
    const auto allowed = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '@';
    };
    return !value.empty() && value.size() <= kLongestLanguage && std::all_of(value.begin(), value.end(), allowed);
}

std::string FormatSettingsFile(const SettingsModel& settings, std::optional<std::int64_t> pausedUntil)
{
    std::string out;
    AppendCheck(out, SettingKey::HealthMsg, settings.healthMsg);
    AppendCheck(out, SettingKey::TimeBreakMsg, settings.timeBreakMsg);
    AppendCheck(out, SettingKey::SleepMsg, settings.sleepMsg);
    AppendCheck(out, SettingKey::SoundOnMsg, settings.soundOnMsg);
    AppendCheck(out, SettingKey::SoundLongtimeWarning, settings.soundLongtimeWarning);
    AppendCheck(out, SettingKey::Shutdown, settings.shutdown);
    const TimeOfDay& limit = settings.timeLimit;
    AppendLine(out, SettingKey::TimeLimit,
               std::to_string(limit.hour) + ':' + std::to_string(limit.minute) + ':' + std::to_string(limit.second));
    AppendLine(out, SettingKey::Frequence, std::to_string(settings.frequence));
    AppendCheck(out, SettingKey::StartTray, settings.startTray);
    AppendCheck(out, SettingKey::ForceBreak, settings.forceBreak);
    AppendLine(out, SettingKey::ForceBreakWait, ValueText(settings.forceBreakWait));
    AppendCheck(out, SettingKey::OnlySound, settings.onlySound);
    AppendCheck(out, SettingKey::KeyboardLeds, settings.keyboardLeds);
    AppendLine(out, SettingKey::SoundMsgPath, ValueText(settings.messageSoundPath));
    AppendLine(out, SettingKey::SoundWarningPath, ValueText(settings.warningSoundPath));
    AppendLine(out, SettingKey::OtherTime,
               settings.otherTime.empty() ? std::string(kOtherTimeWhenEmpty) : ValueText(settings.otherTime));
    AppendLine(out, SettingKey::StartProgram, kStartProgramValue);
    AppendCheck(out, SettingKey::HoldWhenBusy, settings.holdWhenBusy);
    AppendCheck(out, SettingKey::NaturalBreaks, settings.naturalBreaks);
    AppendCheck(out, SettingKey::WindowsNotifications, settings.windowsNotifications);
    AppendCheck(out, SettingKey::EyeBreaks, settings.eyeBreaks);
    AppendLine(out, SettingKey::EyeBreakMinutes, std::to_string(EyeBreakMinutes(settings.eyeBreakMinutes)));
    AppendWorkingDay(out, settings, pausedUntil);
    AppendLine(out, SettingKey::HotkeyPause, ValueText(ShortcutText(settings.pauseShortcut)));
    AppendLine(out, SettingKey::HotkeyBreak, ValueText(ShortcutText(settings.breakShortcut)));
    if (IsLanguageSetting(settings.language))
        AppendLine(out, SettingKey::Language, settings.language);
    AppendCheck(out, SettingKey::CoverScreens, settings.coverScreens);
    AppendCheck(out, SettingKey::StrictBreaks, settings.strictBreaks);
    AppendLine(out, SettingKey::Bedtime,
               ValueText(settings.bedtimeMinutes ? FormatClockTime(*settings.bedtimeMinutes) : std::string()));
    AppendCheck(out, SettingKey::BedtimeReminder, settings.bedtimeReminder);
    AppendLine(out, SettingKey::Theme, ThemeSettingWord(settings.theme));
    return out;
}

int WeekdayOfKey(SettingKey key)
{
    return static_cast<int>(key) - static_cast<int>(SettingKey::WorkMon);
}

std::vector<SettingAssignment> ParseSettingsFile(std::string_view text)
{
    return SettingsReader(text).ReadAll();
}

std::string LanguageSetting(std::string_view text)
{
    std::string language;
    for (const SettingAssignment& assignment : ParseSettingsFile(text)) {
        if (assignment.key == SettingKey::Language)
            language = assignment.text;
    }
    return language;
}

std::vector<SettingAssignment> AssignmentsToApply(std::vector<SettingAssignment> assignments)
{
    // The keys written after STARTPROGRAM don't touch what a start does, only what its save
    // writes: the last of each is applied before everything else.
    std::vector<SettingAssignment> extensions;
    for (const SettingAssignment& assignment : assignments) {
        if (!WrittenAfterStartProgram(assignment.key))
            continue;
        std::erase_if(extensions,
                      [&assignment](const SettingAssignment& earlier) { return earlier.key == assignment.key; });
        extensions.push_back(assignment);
    }
    std::erase_if(assignments,
                  [](const SettingAssignment& assignment) { return WrittenAfterStartProgram(assignment.key); });

    // Each start or stop rewrites the files: the last start of an odd number, or the last two of an
    // even one, end in the same state with the same files.
    auto starts = std::count_if(assignments.begin(), assignments.end(),
                                [](const SettingAssignment& assignment) { return assignment.startProgram; });
    starts -= starts % 2 == 1 ? 1 : std::min<decltype(starts)>(starts, 2);
    for (auto it = assignments.begin(); starts > 0; ++it) {
        if (it->startProgram) {
            it->startProgram = false;
            --starts;
        }
    }

    // Each assignment sets its control to its own value whatever came before, so one that comes
    // again before the next start changes nothing the later one doesn't; a STARTPROGRAM that
    // doesn't start does nothing at all.
    using Value = std::tuple<SettingKey, bool, std::string, bool, int, int, int, int, bool>;
    std::set<Value> later;
    std::vector<SettingAssignment> kept;
    // Walked from the last assignment back.
    std::reverse(assignments.begin(), assignments.end());
    for (SettingAssignment& assignment : assignments) {
        if (assignment.key == SettingKey::StartProgram) {
            if (assignment.startProgram) {
                later.clear();
                kept.push_back(std::move(assignment));
            }
            continue;
        }
        const TimeOfDay time = assignment.timeLimit.value_or(TimeOfDay{});
        Value value{assignment.key,
                    assignment.checked,
                    assignment.text,
                    assignment.timeLimit.has_value(),
                    time.hour,
                    time.minute,
                    time.second,
                    assignment.frequenceButton,
                    assignment.hideToTray};
        if (later.insert(std::move(value)).second)
            kept.push_back(std::move(assignment));
    }
    std::reverse(kept.begin(), kept.end());
    kept.insert(kept.begin(), extensions.begin(), extensions.end());
    return kept;
}
