// settings.txt as the program reads it: decoded, parsed, applied in file order. Whatever the
// file held, writing the settings it gave and reading that back must give the same settings.
#include "fuzz_check.h"
#include "platform/text_decoding.h"
#include "settings/settings_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

// The settings as the controls would hold them after the assignments, applied the way the
// main window applies them: a key whose value reads as "change nothing" leaves the field alone.
SettingsSnapshot Apply(SettingsSnapshot settings, const std::vector<SettingAssignment>& assignments)
{
    for (const SettingAssignment& a : assignments) {
        switch (a.key) {
        case SettingKey::HealthMsg: settings.healthMsg = a.checked; break;
        case SettingKey::TimeBreakMsg: settings.timeBreakMsg = a.checked; break;
        case SettingKey::SleepMsg: settings.sleepMsg = a.checked; break;
        case SettingKey::SoundOnMsg: settings.soundOnMsg = a.checked; break;
        case SettingKey::SoundLongtimeWarning: settings.soundLongtimeWarning = a.checked; break;
        case SettingKey::Shutdown: settings.shutdown = a.checked; break;
        case SettingKey::ForceBreak: settings.forceBreak = a.checked; break;
        case SettingKey::OnlySound: settings.onlySound = a.checked; break;
        case SettingKey::KeyboardLeds: settings.keyboardLeds = a.checked; break;
        case SettingKey::HoldWhenBusy: settings.holdWhenBusy = a.checked; break;
        case SettingKey::NaturalBreaks: settings.naturalBreaks = a.checked; break;
        case SettingKey::WindowsNotifications: settings.windowsNotifications = a.checked; break;
        case SettingKey::EyeBreaks: settings.eyeBreaks = a.checked; break;
        case SettingKey::EyeBreakMinutes: settings.eyeBreakMinutes = EyeBreakMinutes(a.text); break;
        case SettingKey::TimeLimit:
            if (a.timeLimit)
                settings.timeLimit = *a.timeLimit;
            break;
        case SettingKey::Frequence:
            if (a.frequenceButton != 0)
                settings.frequence = a.frequenceButton;
            break;
        case SettingKey::StartTray: settings.startTray = a.hideToTray; break;
        case SettingKey::ForceBreakWait: settings.forceBreakWait = a.text; break;
        case SettingKey::SoundMsgPath: settings.messageSoundPath = a.text; break;
        case SettingKey::SoundWarningPath: settings.warningSoundPath = a.text; break;
        case SettingKey::OtherTime: settings.otherTime = a.text; break;
        case SettingKey::WorkHours: settings.workHours = a.checked; break;
        case SettingKey::WorkMon:
        case SettingKey::WorkTue:
        case SettingKey::WorkWed:
        case SettingKey::WorkThu:
        case SettingKey::WorkFri:
        case SettingKey::WorkSat:
        case SettingKey::WorkSun:
            settings.workWeek[static_cast<std::size_t>(WeekdayOfKey(a.key))] = a.workDay;
            break;
        case SettingKey::DailyLimit: settings.dailyLimit = a.checked; break;
        case SettingKey::DailyLimitTime: settings.dailyLimitMinutes = a.dailyLimitMinutes; break;
        case SettingKey::PausedUntil: settings.pausedUntil = a.pausedUntil; break;
        case SettingKey::Language: settings.language = a.text; break;
        case SettingKey::HotkeyPause: settings.pauseShortcut = a.shortcut; break;
        case SettingKey::HotkeyBreak: settings.breakShortcut = a.shortcut; break;
        case SettingKey::StartProgram: break;
        }
    }
    return settings;
}

bool SameTime(const TimeOfDay& a, const TimeOfDay& b)
{
    return a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

// A day off keeps ranges that the file doesn't hold: days are alike when they write alike.
bool SameWeek(const WorkWeek& a, const WorkWeek& b)
{
    for (std::size_t day = 0; day < a.size(); ++day) {
        if (FormatWorkDay(a[day]) != FormatWorkDay(b[day]))
            return false;
    }
    return true;
}

bool SameSettings(const SettingsSnapshot& a, const SettingsSnapshot& b)
{
    return a.healthMsg == b.healthMsg && a.timeBreakMsg == b.timeBreakMsg && a.sleepMsg == b.sleepMsg &&
           a.soundOnMsg == b.soundOnMsg && a.soundLongtimeWarning == b.soundLongtimeWarning &&
           a.shutdown == b.shutdown && SameTime(a.timeLimit, b.timeLimit) && a.frequence == b.frequence &&
           a.startTray == b.startTray && a.forceBreak == b.forceBreak && a.forceBreakWait == b.forceBreakWait &&
           a.onlySound == b.onlySound && a.keyboardLeds == b.keyboardLeds &&
           a.messageSoundPath == b.messageSoundPath && a.warningSoundPath == b.warningSoundPath &&
           a.otherTime == b.otherTime && a.holdWhenBusy == b.holdWhenBusy && a.naturalBreaks == b.naturalBreaks &&
           a.windowsNotifications == b.windowsNotifications && a.eyeBreaks == b.eyeBreaks &&
           a.eyeBreakMinutes == b.eyeBreakMinutes && a.workHours == b.workHours && SameWeek(a.workWeek, b.workWeek) &&
           a.dailyLimit == b.dailyLimit && a.dailyLimitMinutes == b.dailyLimitMinutes &&
           a.pausedUntil == b.pausedUntil && a.pauseShortcut == b.pauseShortcut && a.breakShortcut == b.breakShortcut &&
           a.language == b.language;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = DecodeTextFile(FuzzBytes(data, size));
    const std::vector<SettingAssignment> assignments = ParseSettingsFile(text);
    // Every assignment takes a key of 8 characters or more ("SHUTDOWN") and the blank after it.
    FUZZ_CHECK(assignments.size() * 9 <= text.size());
    for (const SettingAssignment& a : assignments) {
        if (a.key == SettingKey::ForceBreakWait || a.key == SettingKey::OtherTime)
            FUZZ_CHECK(a.text.size() <= kLongestNumberText);
        // What the minutes' field receives is always an interval the program takes as it is.
        if (a.key == SettingKey::EyeBreakMinutes)
            FUZZ_CHECK(std::to_string(EyeBreakMinutes(a.text)) == a.text);
        // Every limit read is one the program keeps as it is.
        if (a.key == SettingKey::DailyLimitTime)
            FUZZ_CHECK(DailyLimitMinutes(a.dailyLimitMinutes / 60, a.dailyLimitMinutes % 60) == a.dailyLimitMinutes);
        // A shortcut read is none or one whose text reads back as itself.
        if (a.key == SettingKey::HotkeyPause || a.key == SettingKey::HotkeyBreak)
            FUZZ_CHECK(ParseShortcut(ShortcutText(a.shortcut)) == a.shortcut);
    }

    SettingsSnapshot expected = Apply({}, assignments);
    const std::string written = FormatSettingsFile(expected);
    const std::vector<SettingAssignment> reread = ParseSettingsFile(DecodeTextFile(written));
    // The writer writes every key, PAUSED_UNTIL only with a pause and LANGUAGE only with a language,
    // and the reader finds each of them again.
    FUZZ_CHECK(reread.size() == kSettingKeyCount - (expected.pausedUntil ? 0 : 1) - (expected.language.empty() ? 1 : 0));
    // An empty "Other" minutes field is saved as the default, the only change a save makes.
    if (expected.otherTime.empty())
        expected.otherTime = "120";
    FUZZ_CHECK(SameSettings(Apply({}, reread), expected));
    return 0;
}
