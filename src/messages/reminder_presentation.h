#pragma once
// How a reminder shows on screen: in Kelvaro's own rolling popup, or, when the user chose Windows
// notifications and the tray icon can carry one, as the tray icon's balloon, which current
// Windows shows as a notification and keeps in its notification centre.

#include "messages/reminder_gate.h"

#include <cstddef>
#include <string>
#include <string_view>

// Every reminder that shows a text.
enum class ReminderNotice { HealthTip, TimeBreak, GoToBed, LongActivity, DailyLimit, Bedtime };

ReminderNotice NoticeOf(ReminderKind kind);

enum class ReminderView { Popup, Balloon };

struct ReminderPresentation {
    ReminderView view = ReminderView::Popup;
    // The notification's title, which names the kind of reminder.
    std::string_view title;
    // The popup's roll: one pixel per step of this many milliseconds.
    unsigned popupStepMs = 0;
};

// The presentation of a reminder, given the setting WINDOWS_NOTIFICATIONS and whether the tray
// icon is in the notification area. A balloon the system then refuses falls back to the popup:
// ask again with the tray unable.
ReminderPresentation PresentReminder(ReminderNotice notice, bool windowsNotifications, bool trayShowsBalloons);

// The most UTF-16 units a notification's text holds (its terminating null aside).
constexpr std::size_t kLongestBalloonText = 255;

// A reminder's text as a notification shows it: the blanks at either end taken off, each run of
// blanks inside made one (the popup's runs only break its lines), and cut to the notification's
// length between two characters.
std::string BalloonText(std::string_view text);
