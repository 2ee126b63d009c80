#pragma once
#include "app/hotkey_text.h"
#include "framework/dialog_win.h"
#include "messages/working_hours.h"
#include "settings/language_box_win.h"
#include "settings/settings_view_win.h"

#include <string>

class Platform;
class CWorkingHoursDlg;

// Sent to the dialog's owner when the dialog hides, however it went: the shortcuts may have changed.
constexpr UINT WM_SHORTCUTS_CHOSEN = WM_APP + 1001;
// Posted to the dialog's owner when the user changed a choice, for what shows it at once.
constexpr UINT WM_SETTINGS_CHANGED = WM_APP + 1003;

// The less common choices: forced breaks, sound-only messages, keyboard lights, the two sounds,
// the quiet moments, eye breaks, the working day, the shortcuts, the language and the look. It shows the
// settings model and writes each change into it; OK and Cancel only hide it.
class CSetting : public CDialog {
public:
    CSetting(Platform& platform, SettingsModel& settings);

    // Shows the model, and enables the controls as supervision's locks say.
    void ShowSettings();
    void ShowEnabling(bool running);

    // The files that are played, as the model holds them.
    std::string& m_strMessageSound;
    std::string& m_strWarningSound;
    // The working days and their hours, as the Working hours dialog last took them.
    WorkWeek& m_workWeek;

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    void OnOK() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Only sound and forced breaks exclude each other: the box clicked, with its rule of the model.
    void OnExclusiveChoice(int id, void (*choose)(SettingsModel&, bool));
    // The main window follows a change that takes effect at once.
    void TellSettingsChanged();
    void OnWorkingHours();
    void OnBrowse(std::string& sound);
    void ShowDailyLimit();
    void TakeDailyLimit();
    // The hot-key controls into the model, each one unless it would be the other's keys as well.
    void TakeShortcuts();

    Platform& m_platform;
    SettingsModel& m_settings;
    CSettingsView m_view;
    CLanguageBox m_languages;
    bool m_bShowingLimit = false;
    // The Working hours dialog while it is open, so that a Start locks it too.
    CWorkingHoursDlg* m_pWorkingHours = nullptr;
};

// The one Settings dialog, created by the main window for the whole run.
extern CSetting* g_pSettingsDlg;
