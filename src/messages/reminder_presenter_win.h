#pragma once
#include "messages/reminder_presentation.h"

#include <windows.h>

#include <string>

class Platform;
class CTrayNot;
struct SettingsModel;

// Shows each reminder's text: in the rolling popup, or as a Windows notification from the tray
// icon when the user chose that in the Settings dialog. Where the system can't show the
// notification (no icon in the notification area, or the shell refuses it) the popup comes instead.
class CReminderPresenter {
public:
    CReminderPresenter(Platform& platform, const SettingsModel& settings) : m_platform(platform), m_settings(settings) {}

    // The window that owns the popups and the tray icon that carries the notifications; either may
    // be null. The icon must outlive its use here.
    void Attach(HWND owner, CTrayNot* tray);
    // Shows a reminder's text, with its kind as the notification's title.
    void Present(ReminderNotice notice, const std::string& text);
    // A notification's own message to the tray icon (shown, hidden, timed out, clicked): true when
    // it is one. Nothing follows: a click only dismisses the notification, which the shell does.
    bool OnTrayNotify(LPARAM message) const;

private:
    void PopUp(const std::string& text, unsigned stepTimeMs);

    Platform& m_platform;
    const SettingsModel& m_settings;
    HWND m_owner = nullptr;
    CTrayNot* m_pTray = nullptr;
};
