#pragma once
#include "framework/dialog_win.h"
#include "messages/working_hours.h"

class Platform;

// The working days and their hours, a row a day in the order the user's locale starts the week:
// a check box for a working day, its range and an optional second range with a check box of its
// own, in the system's time pickers. A modal dialog: OK takes the rows, Cancel leaves the week as it was.
class CWorkingHoursDlg : public CDialog {
public:
    CWorkingHoursDlg(Platform& platform, const WorkWeek& week);

    // The week as shown at first, and after OK as the user left it.
    const WorkWeek& Week() const { return m_week; }
    // Supervision took the working hours at Start: while it runs, OK is locked as the other choices are.
    void ShowEnabling(bool running);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    void OnOK() override;

private:
    // A control of a row: 0 the day's box, 1 and 2 its range, 3 the second range's box, 4 and 5 the second range.
    static int RowControl(int row, int place);
    void ShowRange(int row, int place, const WorkRange& range);
    WorkRange ReadRange(int row, int place) const;
    void EnableRow(int row);

    Platform& m_platform;
    WorkWeek m_week;
    int m_nFirstDay = kMonday;
};
