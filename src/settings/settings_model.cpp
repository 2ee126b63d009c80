#include "settings/settings_model.h"

#include "platform/text_chars.h"
#include "settings/settings_file.h"

#include <algorithm>

SettingEffect ApplySetting(SettingsModel& model, const SettingAssignment& assignment)
{
    const bool checked = assignment.checked;
    switch (assignment.key) {
    case SettingKey::HealthMsg:
        model.healthMsg = checked;
        break;
    case SettingKey::TimeBreakMsg:
        model.timeBreakMsg = checked;
        break;
    case SettingKey::SleepMsg:
        model.sleepMsg = checked;
        break;
    case SettingKey::SoundOnMsg:
        model.soundOnMsg = checked;
        break;
    case SettingKey::SoundLongtimeWarning:
        model.soundLongtimeWarning = checked;
        break;
    case SettingKey::Shutdown:
        model.shutdown = checked;
        break;
    case SettingKey::TimeLimit:
        if (assignment.timeLimit)
            model.timeLimit = *assignment.timeLimit;
        break;
    case SettingKey::Frequence:
        // The interval chosen; the one in force at the last Start is Start's to record.
        if (assignment.frequenceButton != 0)
            model.interval = assignment.frequenceButton;
        break;
    case SettingKey::StartTray:
        if (assignment.hideToTray)
            return SettingEffect::HideToTray;
        // Shown this time, and hidden again from the next start on unless the user says otherwise.
        model.startTray = true;
        break;
    case SettingKey::ForceBreak:
        model.forceBreak = checked;
        break;
    case SettingKey::ForceBreakWait:
        model.forceBreakWait = assignment.text;
        break;
    case SettingKey::OnlySound:
        model.onlySound = checked;
        break;
    case SettingKey::KeyboardLeds:
        model.keyboardLeds = checked;
        break;
    case SettingKey::SoundMsgPath:
        model.messageSoundPath = assignment.text;
        break;
    case SettingKey::SoundWarningPath:
        model.warningSoundPath = assignment.text;
        break;
    case SettingKey::OtherTime:
        model.otherTime = assignment.text;
        break;
    case SettingKey::StartProgram:
        return assignment.startProgram ? SettingEffect::StartSupervision : SettingEffect::None;
    case SettingKey::HoldWhenBusy:
        model.holdWhenBusy = checked;
        break;
    case SettingKey::NaturalBreaks:
        model.naturalBreaks = checked;
        break;
    case SettingKey::WindowsNotifications:
        model.windowsNotifications = checked;
        break;
    case SettingKey::EyeBreaks:
        model.eyeBreaks = checked;
        break;
    case SettingKey::EyeBreakMinutes:
        model.eyeBreakMinutes = assignment.text;
        break;
    case SettingKey::WorkHours:
        model.workHours = checked;
        break;
    case SettingKey::WorkMon:
    case SettingKey::WorkTue:
    case SettingKey::WorkWed:
    case SettingKey::WorkThu:
    case SettingKey::WorkFri:
    case SettingKey::WorkSat:
    case SettingKey::WorkSun:
        model.workWeek[static_cast<std::size_t>(WeekdayOfKey(assignment.key))] = assignment.workDay;
        break;
    case SettingKey::DailyLimit:
        model.dailyLimit = checked;
        break;
    case SettingKey::DailyLimitTime:
        model.dailyLimitMinutes = assignment.dailyLimitMinutes;
        break;
    case SettingKey::PausedUntil:
        // The pause's end belongs to the pause, not to the choices.
        return assignment.pausedUntil ? SettingEffect::RestorePause : SettingEffect::None;
    case SettingKey::HotkeyPause:
        model.pauseShortcut = assignment.shortcut;
        break;
    case SettingKey::HotkeyBreak:
        model.breakShortcut = assignment.shortcut;
        break;
    case SettingKey::Language:
        model.language = assignment.text;
        break;
    case SettingKey::CoverScreens:
        model.coverScreens = checked;
        break;
    case SettingKey::StrictBreaks:
        model.strictBreaks = checked;
        break;
    case SettingKey::Bedtime:
        model.bedtimeMinutes = assignment.clockMinutes;
        break;
    case SettingKey::BedtimeReminder:
        model.bedtimeReminder = checked;
        break;
    case SettingKey::Theme:
        model.theme = assignment.theme;
        break;
    }
    return SettingEffect::None;
}

int EyeBreakMinutes(std::string_view text)
{
    // Three digits at most: a longer run is out of range whatever it says, and can't overflow.
    constexpr std::size_t kLongestDigits = 3;
    if (text.empty() || text.size() > kLongestDigits || !std::all_of(text.begin(), text.end(), IsDigit))
        return kDefaultEyeBreakMinutes;
    int minutes = 0;
    for (char digit : text)
        minutes = minutes * 10 + (digit - '0');
    return minutes >= 1 && minutes <= kLongestEyeBreakMinutes ? minutes : kDefaultEyeBreakMinutes;
}

std::optional<int> DailyLimitInForce(const SettingsModel& model)
{
    if (!model.dailyLimit)
        return std::nullopt;
    return model.dailyLimitMinutes;
}

std::optional<WorkWeek> WorkingHoursInForce(const SettingsModel& model)
{
    if (!model.workHours)
        return std::nullopt;
    return model.workWeek;
}

void ChooseOnlySound(SettingsModel& model, bool checked)
{
    model.onlySound = checked;
    if (!checked)
        return;
    model.forceBreak = false;
    model.soundOnMsg = true;
    model.soundLongtimeWarning = true;
}

void ChooseForceBreak(SettingsModel& model, bool checked)
{
    model.forceBreak = checked;
    if (checked)
        model.onlySound = false;
}
