#include "settings/settings_dialog_win.h"

#include "app/shortcuts_win.h"
#include "breaks/break_state.h"
#include "language/text_format.h"
#include "language/translation.h"
#include "platform/platform_win.h"
#include "platform/text_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "settings/working_hours_dialog_win.h"

#include <commctrl.h>

#include <cstdio>
#include <iterator>

CSetting* g_pSettingsDlg = nullptr;

namespace {

// Tahoma 8.25 pt, rounded to the nearest tenth of a point.
constexpr CStyledLabels::Style kBlackLabel{L"Tahoma", 83, false, &Palette::text};
constexpr CStyledLabels::Style kGreyLabel{L"Tahoma", 83, false, &Palette::note};

constexpr int kBlackLabels[] = {IDC_SETTINGS_WAIT_LABEL, IDC_SETTINGS_WARNING_SOUND_LABEL,
                                IDC_SETTINGS_MESSAGE_SOUND_LABEL};
constexpr int kGreyLabels[] = {IDC_SETTINGS_TOPMOST_NOTE, IDC_SETTINGS_NO_POPUPS_NOTE, IDC_SETTINGS_LEDS_NOTE};

constexpr CheckBinding kChecks[] = {
    {IDC_SETTINGS_SOUND_ON_MSG, &SettingsModel::soundOnMsg},
    {IDC_SETTINGS_SOUND_WARNING, &SettingsModel::soundLongtimeWarning},
    {IDC_SETTINGS_FORCE_BREAK, &SettingsModel::forceBreak},
    {IDC_SETTINGS_ONLY_SOUND, &SettingsModel::onlySound},
    {IDC_SETTINGS_KEYBOARD_LEDS, &SettingsModel::keyboardLeds},
    {IDC_SETTINGS_HOLD_WHEN_BUSY, &SettingsModel::holdWhenBusy},
    {IDC_SETTINGS_NATURAL_BREAKS, &SettingsModel::naturalBreaks},
    {IDC_SETTINGS_WINDOWS_NOTIFICATIONS, &SettingsModel::windowsNotifications},
    {IDC_SETTINGS_EYE_BREAKS, &SettingsModel::eyeBreaks},
    {IDC_SETTINGS_WORK_HOURS, &SettingsModel::workHours},
    {IDC_SETTINGS_DAILY_LIMIT, &SettingsModel::dailyLimit},
    {IDC_SETTINGS_COVER_SCREENS, &SettingsModel::coverScreens},
    {IDC_SETTINGS_STRICT_BREAKS, &SettingsModel::strictBreaks},
    {IDC_SETTINGS_BEDTIME_REMINDER, &SettingsModel::bedtimeReminder},
};
constexpr TextBinding kTexts[] = {
    {IDC_SETTINGS_WAIT_SECONDS, &SettingsModel::forceBreakWait},
    {IDC_SETTINGS_EYE_BREAK_MINUTES, &SettingsModel::eyeBreakMinutes},
    {IDC_SETTINGS_MESSAGE_SOUND, &SettingsModel::messageSoundPath, true},
    {IDC_SETTINGS_WARNING_SOUND, &SettingsModel::warningSoundPath, true},
};

constexpr const char* kWaveFilterLabel = TrLater("Wav (*.wav)");
constexpr char kWaveFilterPattern[] = "*.wav";
constexpr const char* kShortcutChosenTwice = TrLater("%s is already the shortcut for \"%s\".");

constexpr int kMinutesPerHour = 60;
// Two digits each for the limit's hours and minutes.
constexpr int kLongestLimitField = 2;
// "23:30"
constexpr int kLongestClockTime = 5;

// The choices of look, in the order of ThemeSetting.
constexpr const char* kThemeChoices[] = {TrLater("As Windows"), TrLater("Light"), TrLater("Dark")};

struct ShortcutControl {
    int id;
    int labelId;
    Shortcut SettingsModel::*setting;
};
constexpr ShortcutControl kShortcutControls[] = {
    {IDC_SETTINGS_PAUSE_SHORTCUT, IDC_SETTINGS_PAUSE_SHORTCUT_LABEL, &SettingsModel::pauseShortcut},
    {IDC_SETTINGS_BREAK_SHORTCUT, IDC_SETTINGS_BREAK_SHORTCUT_LABEL, &SettingsModel::breakShortcut},
};

} // namespace

CSetting::CSetting(Platform& platform, SettingsModel& settings)
    : CDialog(IDD_SETTINGS), m_strMessageSound(settings.messageSoundPath), m_strWarningSound(settings.warningSoundPath),
      m_workWeek(settings.workWeek), m_platform(platform), m_settings(settings),
      m_view(*this, settings, LockedWindow::Settings, kChecks, kTexts)
{
}

BOOL CSetting::OnInitDialog()
{
    for (int id : kBlackLabels)
        StyleLabel(id, kBlackLabel);
    for (int id : kGreyLabels)
        StyleLabel(id, kGreyLabel);
    SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_WAIT_SECONDS, EM_LIMITTEXT, kLongestNumberText, 0);
    SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_EYE_BREAK_MINUTES, EM_LIMITTEXT,
                        std::to_string(kLongestEyeBreakMinutes).size(), 0);
    for (int id : {IDC_SETTINGS_DAILY_LIMIT_HOURS, IDC_SETTINGS_DAILY_LIMIT_MINUTES})
        SendDlgItemMessageW(Hwnd(), id, EM_LIMITTEXT, kLongestLimitField, 0);
    SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_BEDTIME, EM_LIMITTEXT, kLongestClockTime, 0);
    m_languages.Fill(Item(IDC_SETTINGS_LANGUAGE), m_platform.FilesMatching("kelvaro.*.po"));
    for (const char* choice : kThemeChoices)
        SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_THEME, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Widen(Tr(choice)).c_str()));
    // A key alone, or with Shift only, would go off while typing: the control makes it Ctrl+Alt and the key.
    for (const ShortcutControl& control : kShortcutControls)
        SendDlgItemMessageW(Hwnd(), control.id, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                            MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    ShowSettings();
    ShowEnabling(g_bRunning);
    return TRUE;
}

void CSetting::ShowSettings()
{
    if (!Hwnd())
        return;
    m_view.Show();
    ShowDailyLimit();
    m_languages.Select(m_settings.language);
    SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_THEME, CB_SETCURSEL, static_cast<WPARAM>(m_settings.theme), 0);
    const std::string bedtime = m_settings.bedtimeMinutes ? FormatClockTime(*m_settings.bedtimeMinutes) : std::string();
    if (ItemText(IDC_SETTINGS_BEDTIME) != bedtime)
        SetItemText(IDC_SETTINGS_BEDTIME, bedtime);
    for (const ShortcutControl& control : kShortcutControls)
        SendDlgItemMessageW(Hwnd(), control.id, HKM_SETHOTKEY, HotKeyValueOf(m_settings.*control.setting), 0);
}

void CSetting::ShowEnabling(bool running)
{
    if (Hwnd())
        m_view.ShowEnabling(running);
    if (m_pWorkingHours)
        m_pWorkingHours->ShowEnabling(running);
}

void CSetting::OnCommand(int id, int notifyCode)
{
    if (id == IDOK || id == IDCANCEL) {
        CDialog::OnCommand(id, notifyCode);
        return;
    }
    if (m_view.Showing())
        return;
    switch (id) {
    case IDC_SETTINGS_ONLY_SOUND:
        if (notifyCode == BN_CLICKED)
            OnExclusiveChoice(id, ChooseOnlySound);
        return;
    case IDC_SETTINGS_FORCE_BREAK:
        if (notifyCode == BN_CLICKED)
            OnExclusiveChoice(id, ChooseForceBreak);
        return;
    case IDC_SETTINGS_DAILY_LIMIT_HOURS:
    case IDC_SETTINGS_DAILY_LIMIT_MINUTES:
        if (notifyCode == EN_CHANGE)
            TakeDailyLimit();
        return;
    case IDC_SETTINGS_PAUSE_SHORTCUT:
    case IDC_SETTINGS_BREAK_SHORTCUT:
        if (notifyCode == EN_CHANGE)
            TakeShortcuts();
        return;
    case IDC_SETTINGS_LANGUAGE:
        if (notifyCode == CBN_SELCHANGE)
            m_settings.language = m_languages.Setting();
        return;
    case IDC_SETTINGS_THEME:
        if (notifyCode == CBN_SELCHANGE) {
            const LRESULT chosen = SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_THEME, CB_GETCURSEL, 0, 0);
            if (chosen >= 0 && chosen < static_cast<LRESULT>(std::size(kThemeChoices)))
                m_settings.theme = static_cast<ThemeSetting>(chosen);
            TellSettingsChanged();
        }
        return;
    case IDC_SETTINGS_BEDTIME:
        // What isn't a clock time, an empty field among them, is no bedtime.
        if (notifyCode == EN_CHANGE)
            m_settings.bedtimeMinutes = ParseClockTime(ItemText(IDC_SETTINGS_BEDTIME));
        return;
    default:
        break;
    }
    if (m_view.Take(id, notifyCode)) {
        if (notifyCode == BN_CLICKED)
            TellSettingsChanged();
        return;
    }
    if (notifyCode != BN_CLICKED)
        return;
    switch (id) {
    case IDC_SETTINGS_BROWSE_MESSAGE:
        OnBrowse(m_settings.messageSoundPath);
        break;
    case IDC_SETTINGS_BROWSE_WARNING:
        OnBrowse(m_settings.warningSoundPath);
        break;
    case IDC_SETTINGS_PLAY_MESSAGE:
        m_platform.PlaySoundFile(m_settings.messageSoundPath);
        break;
    case IDC_SETTINGS_PLAY_WARNING:
        m_platform.PlaySoundFile(m_settings.warningSoundPath);
        break;
    case IDC_SETTINGS_WORK_HOURS_EDIT:
        OnWorkingHours();
        break;
    default:
        break;
    }
}

void CSetting::OnExclusiveChoice(int id, void (*choose)(SettingsModel&, bool))
{
    choose(m_settings, IsChecked(id));
    m_view.Show();
    m_view.ShowEnabling(g_bRunning);
}

void CSetting::TellSettingsChanged()
{
    PostMessageW(GetWindow(Hwnd(), GW_OWNER), WM_SETTINGS_CHANGED, 0, 0);
}

void CSetting::OnBrowse(std::string& sound)
{
    if (const std::optional<std::string> chosen =
            m_platform.ChooseFileToOpen(Hwnd(), Tr(kWaveFilterLabel), kWaveFilterPattern)) {
        sound = *chosen;
        m_view.Show();
    }
}

void CSetting::OnWorkingHours()
{
    CWorkingHoursDlg dialog(m_platform, m_settings.workWeek);
    m_pWorkingHours = &dialog;
    const INT_PTR result = dialog.DoModal(Hwnd());
    m_pWorkingHours = nullptr;
    // Its OK is locked while supervision runs, which took the working hours at Start.
    if (result == IDOK && !g_bRunning)
        m_settings.workWeek = dialog.Week();
}

void CSetting::ShowDailyLimit()
{
    char twoDigits[8];
    std::snprintf(twoDigits, sizeof twoDigits, "%02d", m_settings.dailyLimitMinutes % kMinutesPerHour);
    const std::string hours = std::to_string(m_settings.dailyLimitMinutes / kMinutesPerHour);
    if (ItemText(IDC_SETTINGS_DAILY_LIMIT_HOURS) == hours && ItemText(IDC_SETTINGS_DAILY_LIMIT_MINUTES) == twoDigits)
        return;
    // The two fields change one after the other; the limit they show together is the model's.
    m_bShowingLimit = true;
    SetItemText(IDC_SETTINGS_DAILY_LIMIT_HOURS, hours);
    SetItemText(IDC_SETTINGS_DAILY_LIMIT_MINUTES, twoDigits);
    m_bShowingLimit = false;
}

void CSetting::TakeDailyLimit()
{
    if (!m_bShowingLimit)
        m_settings.dailyLimitMinutes =
            DailyLimitMinutesOfFields(ItemText(IDC_SETTINGS_DAILY_LIMIT_HOURS), ItemText(IDC_SETTINGS_DAILY_LIMIT_MINUTES));
}

void CSetting::TakeShortcuts()
{
    Shortcut shown[std::size(kShortcutControls)];
    for (std::size_t slot = 0; slot < std::size(kShortcutControls); ++slot)
        shown[slot] = ShortcutOfHotKeyValue(
            LOWORD(SendDlgItemMessageW(Hwnd(), kShortcutControls[slot].id, HKM_GETHOTKEY, 0, 0)));
    for (std::size_t slot = 0; slot < std::size(kShortcutControls); ++slot) {
        const ShortcutControl& control = kShortcutControls[slot];
        const ShortcutControl& other = kShortcutControls[1 - slot];
        if (shown[slot] == m_settings.*control.setting)
            continue;
        if (!ShortcutsClash(shown[slot], shown[1 - slot])) {
            m_settings.*control.setting = shown[slot];
            continue;
        }
        // One shortcut can't do two things: the control goes back to what it held.
        SendDlgItemMessageW(Hwnd(), control.id, HKM_SETHOTKEY, HotKeyValueOf(m_settings.*control.setting), 0);
        HWND owner = IsWindowVisible(Hwnd()) ? Hwnd() : GetWindow(Hwnd(), GW_OWNER);
        m_platform.ShowMessageBox(owner,
                                  FillText(Tr(kShortcutChosenTwice), {ShortcutText(shown[slot]), ItemText(other.labelId)}),
                                  "Kelvaro", MB_OK | MB_ICONEXCLAMATION);
        shown[slot] = m_settings.*control.setting;
    }
}

void CSetting::OnOK()
{
    Show(SW_HIDE);
}

bool CSetting::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // However the dialog goes (OK, Cancel, Escape, or hidden with the main window), the shortcuts
    // chosen in it take effect then.
    if (message == WM_SHOWWINDOW && wParam == FALSE) {
        TakeShortcuts();
        PostMessageW(GetWindow(Hwnd(), GW_OWNER), WM_SHORTCUTS_CHOSEN, 0, 0);
    }
    return CDialog::OnMessage(message, wParam, lParam, result);
}
