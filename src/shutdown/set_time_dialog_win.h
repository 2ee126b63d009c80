#pragma once
#include "framework/dialog_win.h"
#include "settings/settings_view_win.h"

#include <cstdint>

class Platform;

// Where the user chooses the scheduled action, its time of day and whether to be asked first. OK
// confirms the action and the time into the settings model; the warning's box takes effect at once.
class CShoutdownDlg : public CDialog {
public:
    CShoutdownDlg(Platform& platform, SettingsModel& settings);

    // Shows the model: the confirmed action, the warning, and the time on the local date of the
    // given moment (seconds since 1970 UTC).
    void ShowSettings(std::int64_t today);
    void ShowEnabling(bool running) { m_view.ShowEnabling(running); }

    // The confirmed choice, as the model holds it: the action's radio button id and its time of day.
    int& m_nAction;
    int& m_nHour;
    int& m_nMinute;
    int& m_nSecond;

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    void OnOK() override;

private:
    void OnWarningClicked();
    void SetPickerTime(std::int64_t today, const TimeOfDay& time);

    Platform& m_platform;
    SettingsModel& m_settings;
    CSettingsView m_view;
};

// The one Set Time dialog, created by the main window for the whole run.
extern CShoutdownDlg* g_pShutdownDlg;
