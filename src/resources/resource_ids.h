#pragma once
// Every resource and control id of the program. The numbers are fixed: the same
// control ids mean different things in different dialogs, so each name carries its dialog.
// Plain #defines because the resource compiler reads this header too.

// Unnamed controls of the templates (Windows documents the name but its headers lack it)
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates
#define IDD_ABOUT 100
#define IDD_MAIN 102
#define IDD_SET_TIME 160
#define IDD_HISTORY 166
#define IDD_FORCED_BREAK 173
#define IDD_SETTINGS 174
#define IDD_HEADS_UP 177

// Strings
#define IDS_ABOUTBOX 101

// Menus
#define IDR_TRAY_MENU 156

// Tray menu commands
#define ID_TRAY_START_STOP 157
#define ID_TRAY_QUIT 158
#define ID_TRAY_OPEN 159
// The tray menu's "Pause reminders" entries
#define ID_TRAY_PAUSE_30_MINUTES 1100
#define ID_TRAY_PAUSE_1_HOUR 1101
#define ID_TRAY_PAUSE_2_HOURS 1102
#define ID_TRAY_PAUSE_UNTIL_MORNING 1103
#define ID_TRAY_RESUME 1104

// System menu entry for About (low four bits clear, below 0xF000)
#define IDM_ABOUTBOX 0x0010

// Icons
#define IDI_APP 128
#define IDI_STOPWATCH 148
#define IDI_RED_CROSS 149
#define IDI_SLEEPING_FACE 151
#define IDI_LOUDSPEAKER 165
#define IDI_INFO_SYMBOL 183
// Tray icons: the bar turns red one eighth at a time (numbers are not in index order)
#define IDI_TRAY_0 185
#define IDI_TRAY_1 197
#define IDI_TRAY_2 193
#define IDI_TRAY_3 198
#define IDI_TRAY_4 192
#define IDI_TRAY_5 199
#define IDI_TRAY_6 191
#define IDI_TRAY_7 200
#define IDI_TRAY_8 194

// Bitmaps
#define IDB_BANNER 152
#define IDB_SCALE 172

// Main window (IDD_MAIN)
#define IDC_MAIN_START_STOP 1003
#define IDC_MAIN_HEALTH_TIPS 1012
#define IDC_MAIN_QUIT 1013
#define IDC_MAIN_TIME_BREAKS 1016
#define IDC_MAIN_SHUTDOWN 1017
#define IDC_MAIN_SET_TIME 1018
#define IDC_MAIN_LAUNCH_MINIMIZED 1020
#define IDC_MAIN_30_MIN 1021
#define IDC_MAIN_45_MIN 1022
#define IDC_MAIN_60_MIN 1023
#define IDC_MAIN_OTHER 1024
#define IDC_MAIN_SLEEP_MESSAGES 1025
#define IDC_MAIN_ABOUT 1028
#define IDC_MAIN_SHOW_HISTORY 1048
#define IDC_MAIN_ACTIVE_TIME 1055
#define IDC_MAIN_OTHER_MINUTES 1057
#define IDC_MAIN_MORE_SETTINGS 1062
#define IDC_MAIN_MIN_LABEL 1066
#define IDC_MAIN_INFO_LABEL 1067

// About dialog (IDD_ABOUT)
#define IDC_ABOUT_CHECK_UPDATE 1003
#define IDC_ABOUT_GIVE_FEEDBACK 1004
#define IDC_ABOUT_TITLE 1065

// Set Time dialog (IDD_SET_TIME)
#define IDC_SETTIME_WARNING 1012
#define IDC_SETTIME_SHUTDOWN 1021
#define IDC_SETTIME_LOG_OFF 1022
#define IDC_SETTIME_REBOOT 1023
#define IDC_SETTIME_POWER_OFF 1024
#define IDC_SETTIME_PICKER 1040

// History dialog (IDD_HISTORY)
#define IDC_HISTORY_LIST 1057
#define IDC_HISTORY_AVG_ACTIVE_DAYS 1058
#define IDC_HISTORY_MAX_ACTIVE 1059
#define IDC_HISTORY_TOTAL 1060
#define IDC_HISTORY_AVG_ALL_DAYS 1061
#define IDC_HISTORY_CHART 1062
#define IDC_HISTORY_EXPORT 1063
#define IDC_HISTORY_TITLE 1065
#define IDC_HISTORY_BREAKS 1066

// Forced-break dialog (IDD_FORCED_BREAK); its OK button is IDOK
#define IDC_BREAK_ACTIVE_TIME 1055
#define IDC_BREAK_TITLE 1065
#define IDC_BREAK_IDEA 1066

// Settings dialog (IDD_SETTINGS)
#define IDC_SETTINGS_FORCE_BREAK 1012
#define IDC_SETTINGS_ONLY_SOUND 1016
#define IDC_SETTINGS_KEYBOARD_LEDS 1017
#define IDC_SETTINGS_SOUND_ON_MSG 1053
#define IDC_SETTINGS_SOUND_WARNING 1054
#define IDC_SETTINGS_WAIT_SECONDS 1057
#define IDC_SETTINGS_MESSAGE_SOUND 1058
#define IDC_SETTINGS_WARNING_SOUND 1059
#define IDC_SETTINGS_TOPMOST_NOTE 1065
#define IDC_SETTINGS_WAIT_LABEL 1066
#define IDC_SETTINGS_WARNING_SOUND_LABEL 1067
#define IDC_SETTINGS_MESSAGE_SOUND_LABEL 1068
#define IDC_SETTINGS_NO_POPUPS_NOTE 1069
#define IDC_SETTINGS_LEDS_NOTE 1070
#define IDC_SETTINGS_BROWSE_MESSAGE 1072
#define IDC_SETTINGS_BROWSE_WARNING 1073
#define IDC_SETTINGS_PLAY_MESSAGE 1074
#define IDC_SETTINGS_PLAY_WARNING 1075
#define IDC_SETTINGS_HOLD_WHEN_BUSY 1080
#define IDC_SETTINGS_NATURAL_BREAKS 1081
#define IDC_SETTINGS_WINDOWS_NOTIFICATIONS 1082
#define IDC_SETTINGS_EYE_BREAKS 1083
#define IDC_SETTINGS_EYE_BREAK_MINUTES 1084
#define IDC_SETTINGS_EYE_BREAK_LABEL 1085

// The eye break's popup, a window of its own without a template
#define IDC_EYE_BREAK_TEXT 1001
#define IDC_EYE_BREAK_COUNT 1002

// Heads-up before a forced break (IDD_HEADS_UP)
#define IDC_HEADS_UP_TEXT 1090
#define IDC_HEADS_UP_POSTPONE 1091
#define IDC_HEADS_UP_START_NOW 1092
