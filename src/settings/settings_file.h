#pragma once
// The text of settings.txt: the writer's 17 lines and the lines after them, and the word reader
// that turns a file back into assignments for the settings model.

#include "settings/settings_model.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The longest text of a minutes or seconds field: nine digits already mean years. A value is
// bounded before it reaches an edit control, which under Wine takes time growing with the square of its length.
constexpr std::size_t kLongestNumberText = 9;

// The 17 lines in their fixed order, then the lines of the settings added since, each ending CR LF.
// A day of the working hours is always written in double quotes, "09:00-17:00" or "" for a day off;
// the pause's end as its local date and time, "PAUSED_UNTIL 2026-12-10 6:0:0", only while there is one; then
// the shortcuts, "HOTKEY_PAUSE Ctrl+Alt+P", or "" for none, the language, "LANGUAGE de", only
// when one is chosen, how a forced break stands, COVER_SCREENS and STRICT_BREAKS, the bedtime,
// "BEDTIME 23:00" or "" for none, and BEDTIME_REMINDER, and last the look, "THEME system", light or dark. A text value
// that is empty, holds white space or starts with a double quote is written in double quotes, with inner quotes doubled
// and line breaks turned into blanks; any other value is written bare.
std::string FormatSettingsFile(const SettingsModel& settings, std::optional<std::int64_t> pausedUntil = std::nullopt);

enum class SettingKey {
    HealthMsg,
    TimeBreakMsg,
    SleepMsg,
    SoundOnMsg,
    SoundLongtimeWarning,
    Shutdown,
    TimeLimit,
    Frequence,
    StartTray,
    ForceBreak,
    ForceBreakWait,
    OnlySound,
    KeyboardLeds,
    SoundMsgPath,
    SoundWarningPath,
    OtherTime,
    StartProgram,
    // Written after the 17, where a reader that knows only those skips them as unknown words.
    HoldWhenBusy,
    NaturalBreaks,
    WindowsNotifications,
    EyeBreaks,
    EyeBreakMinutes,
    // The working day.
    WorkHours,
    WorkMon,
    WorkTue,
    WorkWed,
    WorkThu,
    WorkFri,
    WorkSat,
    WorkSun,
    DailyLimit,
    DailyLimitTime,
    PausedUntil,
    // The keyboard shortcuts.
    HotkeyPause,
    HotkeyBreak,
    Language,
    // How a forced break stands.
    CoverScreens,
    StrictBreaks,
    // The user's bedtime, and its reminder.
    Bedtime,
    BedtimeReminder,
    // The look: as Windows, light or dark.
    Theme,
};

// The number of keys; the writer writes every one, PAUSED_UNTIL only while a pause runs and
// LANGUAGE only when one is chosen.
constexpr std::size_t kSettingKeyCount = 41;

// Whether a LANGUAGE value names a language: a language's id ("de", "pt_BR", "sr@latin"), not
// empty, at most 32 characters.
bool IsLanguageSetting(std::string_view value);

// One key of the file with its value as read, to be applied in file order.
struct SettingAssignment {
    SettingKey key = SettingKey::HealthMsg;
    bool checked = false;               // check-box keys: true exactly for the value "1"
    std::string text;                   // FORCEBREAK_WAIT, SOUNDMSG_PATH, SOUNDWARNING_PATH, OTHERTIME,
                                        // EYE_BREAK_MINUTES (always a number of the minutes allowed),
                                        // LANGUAGE (empty for Windows' language)
    std::optional<TimeOfDay> timeLimit; // TIMELIMIT; empty when unreadable or out of range (keep the old time)
    int frequenceButton = 0;            // FREQUENCE: 1021..1024, or 0 meaning "change nothing"
    bool hideToTray = false;            // STARTTRAY: the value reads as the integer 1
    bool startProgram = false;          // STARTPROGRAM: the value is exactly "true"
    WorkDay workDay;                    // WORK_MON ... WORK_SUN, as ParseWorkDay reads the value
    int dailyLimitMinutes = kDefaultDailyLimitMinutes; // DAILY_LIMIT_TIME, as DailyLimitMinutes reads it
    std::optional<std::int64_t> pausedUntil;           // PAUSED_UNTIL; none when damaged
    Shortcut shortcut;                                 // HOTKEY_PAUSE, HOTKEY_BREAK; none when damaged
    std::optional<int> clockMinutes;                   // BEDTIME, minutes after midnight; none when damaged
    ThemeSetting theme = ThemeSetting::System;         // THEME; any word but light and dark is system
};

// The weekday (0 Monday ... 6 Sunday) of a key from WORK_MON to WORK_SUN.
int WeekdayOfKey(SettingKey key);

// Reads the whole text (a leading UTF-8 byte-order mark is skipped) into assignments,
// one per known key that has a value, in file order. Never fails; unknown words are skipped.
// A quoted word is read whole and ends at its closing quote or, in a damaged file, at its line end.
// FORCEBREAK_WAIT and OTHERTIME keep at most their first 9 characters; a sound path longer than
// the system's path limit (259 characters) is skipped.
std::vector<SettingAssignment> ParseSettingsFile(std::string_view text);

// The LANGUAGE value of a settings file, the last one where it has several; empty for none.
std::string LanguageSetting(std::string_view text);

// The assignments that change something, in file order: applied, they leave the controls and the
// files as all of them would, without a million control changes or saves for a file of megabytes.
// The keys written after STARTPROGRAM come first, so that the start's own save writes them back as read.
// Of three or more STARTPROGRAM true only the last one counts, or the last two when their number
// is even; of equal assignments between two starts, only the last; no STARTPROGRAM that doesn't start.
std::vector<SettingAssignment> AssignmentsToApply(std::vector<SettingAssignment> assignments);
