#include "settings/working_hours_dialog_win.h"

#include "app/supervision_locks.h"
#include "app/supervision_state.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"

#include <commctrl.h>

#include <utility>

namespace {

constexpr int kRowStep = IDC_WORKHOURS_ROW1_DAY - IDC_WORKHOURS_ROW0_DAY;
constexpr int kDayBox = 0;
constexpr int kFrom = 1;
constexpr int kTo = 2;
constexpr int kSecondBox = 3;
constexpr int kSecondFrom = 4;
constexpr int kSecondTo = 5;
static_assert(IDC_WORKHOURS_ROW0_SECOND_TO - IDC_WORKHOURS_ROW0_DAY == kSecondTo &&
              IDC_WORKHOURS_ROW6_DAY == IDC_WORKHOURS_ROW0_DAY + 6 * kRowStep);

constexpr int kMinutesPerHour = 60;
// Hours and minutes only, whatever the locale's time format.
constexpr wchar_t kPickerFormat[] = L"HH:mm";
// The pickers need a date; only their time of day counts.
constexpr SYSTEMTIME kPickerDate{2000, 1, 1, 3, 0, 0, 0, 0};
// What a second range shows before it is switched on: an afternoon.
constexpr WorkRange kAfternoon{13 * kMinutesPerHour, 17 * kMinutesPerHour};

} // namespace

CWorkingHoursDlg::CWorkingHoursDlg(Platform& platform, const WorkWeek& week)
    : CDialog(IDD_WORKING_HOURS), m_platform(platform), m_week(week)
{
}

int CWorkingHoursDlg::RowControl(int row, int place)
{
    return IDC_WORKHOURS_ROW0_DAY + row * kRowStep + place;
}

void CWorkingHoursDlg::ShowRange(int row, int place, const WorkRange& range)
{
    for (const auto& [offset, minute] : {std::pair{place, range.from}, std::pair{place + 1, range.to}}) {
        HWND picker = Item(RowControl(row, offset));
        SendMessageW(picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kPickerFormat));
        SYSTEMTIME time = kPickerDate;
        time.wHour = static_cast<WORD>(minute / kMinutesPerHour);
        time.wMinute = static_cast<WORD>(minute % kMinutesPerHour);
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    }
}

WorkRange CWorkingHoursDlg::ReadRange(int row, int place) const
{
    int minutes[2] = {};
    for (int end = 0; end < 2; ++end) {
        SYSTEMTIME time{};
        if (SendMessageW(Item(RowControl(row, place + end)), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) ==
            GDT_VALID)
            minutes[end] = time.wHour * kMinutesPerHour + time.wMinute;
    }
    return {minutes[0], minutes[1]};
}

void CWorkingHoursDlg::EnableRow(int row)
{
    const WorkRowInput input = InputOfRow(IsChecked(RowControl(row, kDayBox)), IsChecked(RowControl(row, kSecondBox)));
    EnableItem(RowControl(row, kFrom), input.firstRange);
    EnableItem(RowControl(row, kTo), input.firstRange);
    EnableItem(RowControl(row, kSecondBox), input.secondBox);
    EnableItem(RowControl(row, kSecondFrom), input.secondRange);
    EnableItem(RowControl(row, kSecondTo), input.secondRange);
}

BOOL CWorkingHoursDlg::OnInitDialog()
{
    m_nFirstDay = m_platform.FirstDayOfWeek();
    for (int row = 0; row < kDaysInWeek; ++row) {
        const int weekday = WeekdayOfRow(row, m_nFirstDay);
        const WorkDay& day = m_week[static_cast<std::size_t>(weekday)];
        SetItemText(RowControl(row, kDayBox), DayName(weekday));
        SetChecked(RowControl(row, kDayBox), day.working);
        ShowRange(row, kFrom, day.first);
        SetChecked(RowControl(row, kSecondBox), day.second.has_value());
        ShowRange(row, kSecondFrom, day.second.value_or(kAfternoon));
        EnableRow(row);
    }
    ShowEnabling(g_bRunning);
    return TRUE;
}

void CWorkingHoursDlg::ShowEnabling(bool running)
{
    EnableItem(IDOK, !(running && IsLockedWhileRunning(LockedWindow::WorkingHours, IDOK)));
}

void CWorkingHoursDlg::OnCommand(int id, int notifyCode)
{
    const int row = (id - IDC_WORKHOURS_ROW0_DAY) / kRowStep;
    const int place = (id - IDC_WORKHOURS_ROW0_DAY) % kRowStep;
    if (notifyCode == BN_CLICKED && id >= IDC_WORKHOURS_ROW0_DAY && row < kDaysInWeek &&
        (place == kDayBox || place == kSecondBox)) {
        EnableRow(row);
        return;
    }
    CDialog::OnCommand(id, notifyCode);
}

void CWorkingHoursDlg::OnOK()
{
    // An Enter that slips past the locked button changes nothing either.
    if (!IsItemEnabled(IDOK))
        return;
    for (int row = 0; row < kDaysInWeek; ++row) {
        WorkDay& day = m_week[static_cast<std::size_t>(WeekdayOfRow(row, m_nFirstDay))];
        day.working = IsChecked(RowControl(row, kDayBox));
        day.first = ReadRange(row, kFrom);
        day.second.reset();
        if (IsChecked(RowControl(row, kSecondBox)))
            day.second = ReadRange(row, kSecondFrom);
    }
    EndDialog(IDOK);
}
