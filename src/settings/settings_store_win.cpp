// Moves every setting between the controls that hold it and settings.txt.
#include "app/main_window_win.h"

#include "app/timer_plan.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "platform/platform_win.h"
#include "platform/text_decoding.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "settings/settings_file.h"
#include "shutdown/set_time_dialog_win.h"

namespace {
constexpr char kSettingsFile[] = "settings.txt";
}

int CTavrinDlg::LoadSaveSettings(int load)
{
    // Controls of a destroyed window read as empty; writing them would lose every setting.
    if (Ended())
        return 0;
    if (load != 0) {
        // The file is read whole before anything is applied, so the write that a start
        // from STARTPROGRAM makes can't disturb the reading.
        const std::optional<std::string> text = m_platform.ReadWholeFile(kSettingsFile);
        if (!text) {
            m_fileBoxes.Show(Hwnd(), FillText(Tr(kCouldNotOpen), {kSettingsFile}), "Kelvaro",
                             MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
            return 0;
        }
        for (const SettingAssignment& assignment : AssignmentsToApply(ParseSettingsFile(DecodeTextFile(*text)))) {
            ApplySetting(assignment);
            if (Ended())
                return 1;
        }
        if (g_pSettingsDlg)
            g_pSettingsDlg->EnableItem(IDC_SETTINGS_WAIT_SECONDS, g_pSettingsDlg->IsChecked(IDC_SETTINGS_FORCE_BREAK));
        return 1;
    }
    if (!m_platform.ReplaceWholeFile(kSettingsFile, FormatSettingsFile(SnapshotSettings()))) {
        m_fileBoxes.Show(Hwnd(), FillText(Tr(kCouldNotOpen), {kSettingsFile}), "Kelvaro",
                             MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
        return 0;
    }
    return 1;
}

SettingsSnapshot CTavrinDlg::SnapshotSettings() const
{
    SettingsSnapshot snapshot;
    snapshot.healthMsg = IsChecked(IDC_MAIN_HEALTH_TIPS);
    snapshot.timeBreakMsg = IsChecked(IDC_MAIN_TIME_BREAKS);
    snapshot.sleepMsg = IsChecked(IDC_MAIN_SLEEP_MESSAGES);
    snapshot.shutdown = IsChecked(IDC_MAIN_SHUTDOWN);
    snapshot.frequence = m_nFrequence;
    snapshot.startTray = IsChecked(IDC_MAIN_LAUNCH_MINIMIZED);
    snapshot.otherTime = ItemText(IDC_MAIN_OTHER_MINUTES);
    if (g_pShutdownDlg)
        snapshot.timeLimit = {g_pShutdownDlg->m_nHour, g_pShutdownDlg->m_nMinute, g_pShutdownDlg->m_nSecond};
    if (const CSetting* settings = g_pSettingsDlg) {
        snapshot.soundOnMsg = settings->IsChecked(IDC_SETTINGS_SOUND_ON_MSG);
        snapshot.soundLongtimeWarning = settings->IsChecked(IDC_SETTINGS_SOUND_WARNING);
        snapshot.forceBreak = settings->IsChecked(IDC_SETTINGS_FORCE_BREAK);
        snapshot.forceBreakWait = settings->ItemText(IDC_SETTINGS_WAIT_SECONDS);
        snapshot.onlySound = settings->IsChecked(IDC_SETTINGS_ONLY_SOUND);
        snapshot.keyboardLeds = settings->IsChecked(IDC_SETTINGS_KEYBOARD_LEDS);
        snapshot.holdWhenBusy = settings->IsChecked(IDC_SETTINGS_HOLD_WHEN_BUSY);
        snapshot.naturalBreaks = settings->IsChecked(IDC_SETTINGS_NATURAL_BREAKS);
        snapshot.windowsNotifications = settings->IsChecked(IDC_SETTINGS_WINDOWS_NOTIFICATIONS);
        snapshot.eyeBreaks = settings->IsChecked(IDC_SETTINGS_EYE_BREAKS);
        snapshot.eyeBreakMinutes = EyeBreakMinutes(settings->ItemText(IDC_SETTINGS_EYE_BREAK_MINUTES));
        snapshot.messageSoundPath = settings->ItemText(IDC_SETTINGS_MESSAGE_SOUND);
        snapshot.warningSoundPath = settings->ItemText(IDC_SETTINGS_WARNING_SOUND);
        snapshot.workHours = settings->IsChecked(IDC_SETTINGS_WORK_HOURS);
        snapshot.workWeek = settings->m_workWeek;
        snapshot.dailyLimit = settings->IsChecked(IDC_SETTINGS_DAILY_LIMIT);
        snapshot.dailyLimitMinutes = settings->DailyLimitMinutes();
        snapshot.language = settings->Language();
        snapshot.pauseShortcut = settings->ShortcutOf(IDC_SETTINGS_PAUSE_SHORTCUT);
        snapshot.breakShortcut = settings->ShortcutOf(IDC_SETTINGS_BREAK_SHORTCUT);
    }
    snapshot.pausedUntil = m_quiet.PauseToKeep();
    return snapshot;
}

void CTavrinDlg::ApplySetting(const SettingAssignment& assignment)
{
    CSetting* settings = g_pSettingsDlg;
    auto checkSettingsBox = [&](int id) {
        if (settings)
            settings->SetChecked(id, assignment.checked);
    };
    switch (assignment.key) {
    case SettingKey::HealthMsg:
        SetChecked(IDC_MAIN_HEALTH_TIPS, assignment.checked);
        break;
    case SettingKey::TimeBreakMsg:
        SetChecked(IDC_MAIN_TIME_BREAKS, assignment.checked);
        break;
    case SettingKey::SleepMsg:
        SetChecked(IDC_MAIN_SLEEP_MESSAGES, assignment.checked);
        break;
    case SettingKey::Shutdown:
        SetChecked(IDC_MAIN_SHUTDOWN, assignment.checked);
        break;
    case SettingKey::SoundOnMsg:
        checkSettingsBox(IDC_SETTINGS_SOUND_ON_MSG);
        break;
    case SettingKey::SoundLongtimeWarning:
        checkSettingsBox(IDC_SETTINGS_SOUND_WARNING);
        break;
    case SettingKey::ForceBreak:
        checkSettingsBox(IDC_SETTINGS_FORCE_BREAK);
        break;
    case SettingKey::OnlySound:
        checkSettingsBox(IDC_SETTINGS_ONLY_SOUND);
        break;
    case SettingKey::KeyboardLeds:
        checkSettingsBox(IDC_SETTINGS_KEYBOARD_LEDS);
        break;
    case SettingKey::HoldWhenBusy:
        checkSettingsBox(IDC_SETTINGS_HOLD_WHEN_BUSY);
        break;
    case SettingKey::NaturalBreaks:
        checkSettingsBox(IDC_SETTINGS_NATURAL_BREAKS);
        break;
    case SettingKey::WindowsNotifications:
        checkSettingsBox(IDC_SETTINGS_WINDOWS_NOTIFICATIONS);
        break;
    case SettingKey::EyeBreaks:
        checkSettingsBox(IDC_SETTINGS_EYE_BREAKS);
        break;
    case SettingKey::EyeBreakMinutes:
        if (settings)
            settings->SetItemText(IDC_SETTINGS_EYE_BREAK_MINUTES, assignment.text);
        break;
    case SettingKey::WorkHours:
        checkSettingsBox(IDC_SETTINGS_WORK_HOURS);
        break;
    case SettingKey::WorkMon:
    case SettingKey::WorkTue:
    case SettingKey::WorkWed:
    case SettingKey::WorkThu:
    case SettingKey::WorkFri:
    case SettingKey::WorkSat:
    case SettingKey::WorkSun:
        if (settings)
            settings->m_workWeek[static_cast<std::size_t>(WeekdayOfKey(assignment.key))] = assignment.workDay;
        break;
    case SettingKey::DailyLimit:
        checkSettingsBox(IDC_SETTINGS_DAILY_LIMIT);
        break;
    case SettingKey::DailyLimitTime:
        if (settings)
            settings->SetDailyLimit(assignment.dailyLimitMinutes);
        break;
    case SettingKey::Language:
        if (settings)
            settings->SetLanguage(assignment.text);
        break;
    case SettingKey::PausedUntil:
        // The pause's end belongs to the pause, which keeps it outside the controls.
        if (assignment.pausedUntil)
            m_quiet.RestorePause(Hwnd(), *assignment.pausedUntil);
        break;
    case SettingKey::HotkeyPause:
        if (settings)
            settings->SetShortcut(IDC_SETTINGS_PAUSE_SHORTCUT, assignment.shortcut);
        break;
    case SettingKey::HotkeyBreak:
        if (settings)
            settings->SetShortcut(IDC_SETTINGS_BREAK_SHORTCUT, assignment.shortcut);
        break;
    case SettingKey::TimeLimit:
        if (assignment.timeLimit && g_pShutdownDlg) {
            const TimeOfDay& time = *assignment.timeLimit;
            g_pShutdownDlg->m_nHour = time.hour;
            g_pShutdownDlg->m_nMinute = time.minute;
            g_pShutdownDlg->m_nSecond = time.second;
            g_pShutdownDlg->SetPickerTime(m_platform.Now(), time.hour, time.minute, time.second);
        }
        break;
    case SettingKey::Frequence:
        if (assignment.frequenceButton != 0) {
            CheckButton(IDC_MAIN_30_MIN, IDC_MAIN_OTHER, assignment.frequenceButton);
            if (assignment.frequenceButton == kIntervalOther)
                EnableItem(IDC_MAIN_OTHER_MINUTES, true);
        }
        break;
    case SettingKey::StartTray:
        if (assignment.hideToTray)
            m_platform.SetWindowTimer(Hwnd(), kHideToTrayTimer, kHideToTrayDelayMs);
        else
            SetChecked(IDC_MAIN_LAUNCH_MINIMIZED, true);
        break;
    case SettingKey::ForceBreakWait:
        if (settings)
            settings->SetItemText(IDC_SETTINGS_WAIT_SECONDS, assignment.text);
        break;
    case SettingKey::SoundMsgPath:
        if (settings)
            settings->SetMessageSound(assignment.text);
        break;
    case SettingKey::SoundWarningPath:
        if (settings)
            settings->SetWarningSound(assignment.text);
        break;
    case SettingKey::OtherTime:
        SetItemText(IDC_MAIN_OTHER_MINUTES, assignment.text);
        break;
    case SettingKey::StartProgram:
        if (assignment.startProgram)
            OnStartStop();
        break;
    }
}
