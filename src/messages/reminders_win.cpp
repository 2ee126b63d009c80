// The reminders as the main window gives them: message ticks, the long-activity warning,
// popups, sounds and the keyboard lights.
#include "app/main_window_win.h"

#include "activity/calendar.h"
#include "activity/counter_state.h"
#include "messages/led_blinker_win.h"
#include "messages/message_scheduler.h"
#include "messages/status_bar_popup_win.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"

namespace {
constexpr unsigned kPopupShowTimeMs = 4000;
constexpr unsigned kMessageStepMs = 5;
constexpr unsigned kWarningStepMs = 10;
} // namespace

ReminderSettings CTavrinDlg::CurrentReminderSettings() const
{
    ReminderSettings settings;
    if (const CSetting* dialog = g_pSettingsDlg) {
        settings.soundOnMessages = dialog->IsChecked(IDC_SETTINGS_SOUND_ON_MSG);
        settings.onlySound = dialog->IsChecked(IDC_SETTINGS_ONLY_SOUND);
        settings.keyboardLeds = dialog->IsChecked(IDC_SETTINGS_KEYBOARD_LEDS);
        settings.forceBreak = dialog->IsChecked(IDC_SETTINGS_FORCE_BREAK);
        settings.soundOnLongActivity = dialog->IsChecked(IDC_SETTINGS_SOUND_WARNING);
    }
    return settings;
}

void CTavrinDlg::OnMessageTick(UINT_PTR id)
{
    const MessageCatalogue lists{healthMessages, timeBreakMessages, sleepMessages};
    for (MessageKind kind : EmptyLists(lists)) {
        // A box still open from an earlier tick is enough: a user away for hours must not come
        // back to a stack of them.
        bool& open = m_bEmptyListBoxOpen[static_cast<int>(kind)];
        if (open)
            continue;
        open = true;
        AppMessageBox(EmptyListText(kind));
        open = false;
        if (Ended())
            return;
    }
    // Decided only now: a box may have waited for hours, and supervision may have stopped meanwhile.
    if (!g_bRunning)
        return;
    const std::int64_t now = m_platform.Now();
    // A clock that can't be read gives -1, outside both windows.
    const TimeOfDay local = LocalTimeOfDay(now).value_or(TimeOfDay{-1, -1, -1});
    const ReminderDecision decision = DecideReminder(static_cast<unsigned>(id), local.hour, local.minute, lists,
                                                     CurrentReminderSettings(), static_cast<std::uint32_t>(now));
    if (decision.blinkLights)
        StartLightShow();
    if (decision.playMessageSound && g_pSettingsDlg)
        m_platform.PlaySoundFile(g_pSettingsDlg->m_strMessageSound);
    if (decision.startForcedBreak)
        StartForcedBreak();
    else if (decision.popupText)
        ShowMessagePopup(*decision.popupText, kMessageStepMs);
}

void CTavrinDlg::CheckLongActivity()
{
    // The controls are read only when a warning is due, not at every tick.
    if (!LongActivityWarningDue(g_nActiveTimeMs))
        return;
    const WarningDecision decision = DecideLongActivityWarning(
        CurrentReminderSettings(), IsChecked(IDC_MAIN_TIME_BREAKS), IsChecked(IDC_MAIN_SLEEP_MESSAGES));
    if (decision.blinkLights)
        StartLightShow();
    if (decision.playWarningSound && g_pSettingsDlg)
        m_platform.PlaySoundFile(g_pSettingsDlg->m_strWarningSound);
    if (decision.showPopup)
        ShowMessagePopup(kLongActivityWarningText, kWarningStepMs);
}

void CTavrinDlg::ShowMessagePopup(const std::string& text, unsigned stepTimeMs)
{
    // The popup frees itself once it has rolled in.
    (new CStatusBarMsgWnd(m_platform, text, kReminderPopupWidth, kReminderPopupHeight, kPopupShowTimeMs, stepTimeMs,
                          kReminderPopupTextRect,
                          Hwnd()))
        ->PopUp();
}

void CTavrinDlg::StartLightShow()
{
    CLedBlinker blinker(m_platform);
    blinker.Start();
}
