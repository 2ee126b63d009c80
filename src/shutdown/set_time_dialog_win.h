#pragma once
#include "framework/dialog_win.h"

#include <cstdint>

class Platform;

// Where the user chooses the scheduled action, its time of day and whether to be asked first.
class CShoutdownDlg : public CDialog {
public:
    explicit CShoutdownDlg(Platform& platform);

    // Shows a time of day in the picker, on the local date of the given moment (seconds since 1970 UTC).
    void SetPickerTime(std::int64_t today, int hour, int minute, int second);

    // The confirmed choice: the action's radio button id and its time of day.
    int m_nAction;
    int m_nHour = 0;
    int m_nMinute = 0;
    int m_nSecond = 0;

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    void OnOK() override;

private:
    void OnWarningClicked();

    Platform& m_platform;
};
