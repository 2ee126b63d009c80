#include "settings/settings_dialog_win.h"

#include "app/shortcuts_win.h"
#include "language/translation.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "settings/working_hours_dialog_win.h"

#include <commctrl.h>

#include <cstdio>

namespace {

// Tahoma 8.25 pt, rounded to the nearest tenth of a point.
constexpr CStyledLabels::Style kBlackLabel{L"Tahoma", 83, false, &Palette::text};
constexpr CStyledLabels::Style kGreyLabel{L"Tahoma", 83, false, &Palette::note};

constexpr int kBlackLabels[] = {IDC_SETTINGS_WAIT_LABEL, IDC_SETTINGS_WARNING_SOUND_LABEL,
                                IDC_SETTINGS_MESSAGE_SOUND_LABEL};
constexpr int kGreyLabels[] = {IDC_SETTINGS_TOPMOST_NOTE, IDC_SETTINGS_NO_POPUPS_NOTE, IDC_SETTINGS_LEDS_NOTE};

constexpr const char* kWaveFilterLabel = TrLater("Wav (*.wav)");
constexpr char kWaveFilterPattern[] = "*.wav";

constexpr int kMinutesPerHour = 60;
// Two digits each for the limit's hours and minutes.
constexpr int kLongestLimitField = 2;

constexpr int kShortcutControls[] = {IDC_SETTINGS_PAUSE_SHORTCUT, IDC_SETTINGS_BREAK_SHORTCUT};

} // namespace

CSetting::CSetting(Platform& platform) : CDialog(IDD_SETTINGS), m_platform(platform) {}

void CSetting::SetMessageSound(const std::string& fileName)
{
    m_strMessageSound = fileName;
    SetItemText(IDC_SETTINGS_MESSAGE_SOUND, fileName);
}

void CSetting::SetWarningSound(const std::string& fileName)
{
    m_strWarningSound = fileName;
    SetItemText(IDC_SETTINGS_WARNING_SOUND, fileName);
}

BOOL CSetting::OnInitDialog()
{
    for (int id : kBlackLabels)
        StyleLabel(id, kBlackLabel);
    for (int id : kGreyLabels)
        StyleLabel(id, kGreyLabel);
    // The countdown is editable only while forced breaks are on, and they start off.
    EnableItem(IDC_SETTINGS_WAIT_SECONDS, false);
    SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_WAIT_SECONDS, EM_LIMITTEXT, kLongestNumberText, 0);
    SetItemText(IDC_SETTINGS_EYE_BREAK_MINUTES, std::to_string(kDefaultEyeBreakMinutes));
    SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_EYE_BREAK_MINUTES, EM_LIMITTEXT,
                        std::to_string(kLongestEyeBreakMinutes).size(), 0);
    for (int id : {IDC_SETTINGS_DAILY_LIMIT_HOURS, IDC_SETTINGS_DAILY_LIMIT_MINUTES})
        SendDlgItemMessageW(Hwnd(), id, EM_LIMITTEXT, kLongestLimitField, 0);
    SetDailyLimit(kDefaultDailyLimitMinutes);
    m_languages.Fill(Item(IDC_SETTINGS_LANGUAGE), m_platform.FilesMatching("kelvaro.*.po"));
    // A key alone, or with Shift only, would go off while typing: the control makes it Ctrl+Alt and the key.
    for (int id : kShortcutControls)
        SendDlgItemMessageW(Hwnd(), id, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    return TRUE;
}

void CSetting::OnCommand(int id, int notifyCode)
{
    if (id == IDOK || id == IDCANCEL) {
        CDialog::OnCommand(id, notifyCode);
        return;
    }
    if (notifyCode != BN_CLICKED)
        return;
    std::string chosen;
    switch (id) {
    case IDC_SETTINGS_ONLY_SOUND:
        OnOnlySound();
        break;
    case IDC_SETTINGS_FORCE_BREAK:
        OnForceBreak();
        break;
    case IDC_SETTINGS_BROWSE_MESSAGE:
        if (ChooseSound(chosen))
            SetMessageSound(chosen);
        break;
    case IDC_SETTINGS_BROWSE_WARNING:
        if (ChooseSound(chosen))
            SetWarningSound(chosen);
        break;
    case IDC_SETTINGS_PLAY_MESSAGE:
        m_platform.PlaySoundFile(m_strMessageSound);
        break;
    case IDC_SETTINGS_PLAY_WARNING:
        m_platform.PlaySoundFile(m_strWarningSound);
        break;
    case IDC_SETTINGS_WORK_HOURS_EDIT:
        OnWorkingHours();
        break;
    default:
        break;
    }
}

// Sound-only messages leave nothing to pop up, so a forced break is out and both sounds are on.
void CSetting::OnOnlySound()
{
    if (!IsChecked(IDC_SETTINGS_ONLY_SOUND))
        return;
    SetChecked(IDC_SETTINGS_FORCE_BREAK, false);
    SetChecked(IDC_SETTINGS_SOUND_ON_MSG, true);
    SetChecked(IDC_SETTINGS_SOUND_WARNING, true);
    EnableItem(IDC_SETTINGS_WAIT_SECONDS, false);
}

void CSetting::OnForceBreak()
{
    const bool forced = IsChecked(IDC_SETTINGS_FORCE_BREAK);
    if (forced)
        SetChecked(IDC_SETTINGS_ONLY_SOUND, false);
    EnableItem(IDC_SETTINGS_WAIT_SECONDS, forced);
}

void CSetting::OnWorkingHours()
{
    CWorkingHoursDlg dialog(m_platform, m_workWeek);
    if (dialog.DoModal(Hwnd()) == IDOK)
        m_workWeek = dialog.Week();
}

void CSetting::SetDailyLimit(int minutes)
{
    char twoDigits[8];
    std::snprintf(twoDigits, sizeof twoDigits, "%02d", minutes % kMinutesPerHour);
    SetItemText(IDC_SETTINGS_DAILY_LIMIT_HOURS, std::to_string(minutes / kMinutesPerHour));
    SetItemText(IDC_SETTINGS_DAILY_LIMIT_MINUTES, twoDigits);
}

int CSetting::DailyLimitMinutes() const
{
    return DailyLimitMinutesOfFields(ItemText(IDC_SETTINGS_DAILY_LIMIT_HOURS),
                                     ItemText(IDC_SETTINGS_DAILY_LIMIT_MINUTES));
}

std::optional<int> CSetting::DailyLimitInForce() const
{
    if (!IsChecked(IDC_SETTINGS_DAILY_LIMIT))
        return std::nullopt;
    return DailyLimitMinutes();
}

WorkdayChoices CSetting::TakeWorkdayChoices()
{
    SetDailyLimit(DailyLimitMinutes());
    WorkdayChoices choices;
    if (IsChecked(IDC_SETTINGS_WORK_HOURS))
        choices.workingHours = m_workWeek;
    choices.dailyLimitMinutes = DailyLimitInForce();
    return choices;
}

bool CSetting::ChooseSound(std::string& fileName)
{
    const std::optional<std::string> chosen = m_platform.ChooseFileToOpen(Hwnd(), Tr(kWaveFilterLabel), kWaveFilterPattern);
    if (!chosen)
        return false;
    fileName = *chosen;
    return true;
}

Shortcut CSetting::ShortcutOf(int id) const
{
    return ShortcutOfHotKeyValue(LOWORD(SendDlgItemMessageW(Hwnd(), id, HKM_GETHOTKEY, 0, 0)));
}

void CSetting::SetShortcut(int id, const Shortcut& shortcut)
{
    SendDlgItemMessageW(Hwnd(), id, HKM_SETHOTKEY, HotKeyValueOf(shortcut), 0);
}

void CSetting::OnOK()
{
    Show(SW_HIDE);
    SendMessageW(GetWindow(Hwnd(), GW_OWNER), WM_SHORTCUTS_CHOSEN, 0, 0);
}

void CSetting::OnCancel()
{
    // Nothing is undone, so a shortcut changed before Cancel is in force too.
    CDialog::OnCancel();
    SendMessageW(GetWindow(Hwnd(), GW_OWNER), WM_SHORTCUTS_CHOSEN, 0, 0);
}
