#pragma once
// Every setting in one value: what settings.txt holds, and the Set Time dialog's action and
// warning, which live as long as the program. The file is read into it and written from it; the
// windows show it and write each change into it as the user makes it; every feature reads it.

#include "activity/calendar.h"
#include "appearance/theme_choice.h"
#include "app/hotkey_text.h"
#include "app/timer_plan.h"
#include "messages/daily_limit.h"
#include "messages/working_hours.h"
#include "shutdown/shutdown_service.h"

#include <cstdint>
#include <optional>
#include <string>

struct SettingAssignment;

constexpr int kDefaultEyeBreakMinutes = 20;
constexpr int kLongestEyeBreakMinutes = 120;

struct SettingsModel {
    // The main window's choices.
    bool healthMsg = true;
    bool timeBreakMsg = true;
    bool sleepMsg = true;
    bool shutdown = false;
    int interval = kInterval60Min;     // the interval button checked
    int frequence = 0;                 // the interval button checked at the last Start, 0 before the first
    bool startTray = true;
    std::string otherTime = "120";     // the "Other" minutes as typed
    // The Set Time dialog's confirmed choice, and whether it warns first.
    TimeOfDay timeLimit;
    int shutdownAction = kActionShutdown;
    bool shutdownWarning = true;
    // The Settings dialog's choices.
    bool soundOnMsg = false;
    bool soundLongtimeWarning = false;
    bool forceBreak = false;
    std::string forceBreakWait = "60"; // the countdown's seconds as typed
    bool onlySound = false;
    bool keyboardLeds = false;
    std::string messageSoundPath = "message.wav";
    std::string warningSoundPath = "break.wav";
    bool holdWhenBusy = true;
    bool naturalBreaks = true;
    bool windowsNotifications = false;
    bool eyeBreaks = false;
    std::string eyeBreakMinutes = "20"; // as typed; EyeBreakMinutes reads it
    bool workHours = false;
    WorkWeek workWeek = DefaultWorkWeek();
    bool dailyLimit = false;
    int dailyLimitMinutes = kDefaultDailyLimitMinutes;
    std::string language; // "" for Windows' own, else a language's id ("de", "pt_BR")
    Shortcut pauseShortcut;
    Shortcut breakShortcut;
    bool coverScreens = false; // the break dialog's covers over every monitor
    bool strictBreaks = false; // a break can't be ended before its countdown has
    std::optional<int> bedtimeMinutes; // "My bedtime", minutes after midnight; none at first
    bool bedtimeReminder = false;       // "Remind me at my bedtime"
    ThemeSetting theme = ThemeSetting::System; // "Appearance": as Windows, light or dark

    bool operator==(const SettingsModel&) const = default;
};

// What reading a key asks of the program beyond the model.
enum class SettingEffect {
    None,
    HideToTray,       // STARTTRAY 1: the window goes to the tray once set up
    StartSupervision, // STARTPROGRAM true: the Start/Stop command, at this point of the reading
    RestorePause,     // PAUSED_UNTIL: a pause that outlasts a restart goes on until its end
};

// Applies one key as read; a value that reads as "change nothing" leaves the model alone.
SettingEffect ApplySetting(SettingsModel& model, const SettingAssignment& assignment);

// The minutes between eye breaks, from EYE_BREAK_MINUTES or its field: a number from 1 to 120;
// anything else, out of range or not a number, means 20.
int EyeBreakMinutes(std::string_view text);

// The daily limit while its box is checked; none otherwise.
std::optional<int> DailyLimitInForce(const SettingsModel& model);

// The working day's choices at Start: working hours and the daily limit, each only while its box is checked.
std::optional<WorkWeek> WorkingHoursInForce(const SettingsModel& model);

// The rules between the Settings dialog's boxes as the user clicks them: sound-only messages
// leave nothing to pop up, so a forced break is out and both sounds are on; a forced break turns
// sound-only messages off.
void ChooseOnlySound(SettingsModel& model, bool checked);
void ChooseForceBreak(SettingsModel& model, bool checked);
