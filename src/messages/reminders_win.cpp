// The reminders as the main window gives them: message ticks, the long-activity warning, their
// texts, sounds and the keyboard lights.
#include "app/main_window_win.h"

#include "activity/calendar.h"
#include "activity/counter_state.h"
#include "app/timer_plan.h"
#include "language/translation.h"
#include "messages/bedtime.h"
#include "messages/daily_limit.h"
#include "messages/led_blinker_win.h"
#include "messages/message_scheduler.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"

ReminderSettings CTavrinDlg::CurrentReminderSettings() const
{
    return {m_settings.soundOnMsg, m_settings.onlySound, m_settings.keyboardLeds, m_settings.forceBreak,
            m_settings.soundLongtimeWarning};
}

void CTavrinDlg::OnMessageTick(UINT_PTR id)
{
    const MessageCatalogue lists{healthMessages, timeBreakMessages, sleepMessages};
    if (!EmptyLists(lists).empty() && m_rules.OnEmptyListBoxesDue(MomentNow(true)) == GateVerdict::Give)
        ShowEmptyListBoxes();
    // Decided only now: a box may have waited for hours, and supervision may have stopped meanwhile.
    if (Ended() || !g_bRunning)
        return;
    OfferReminder(KindOfMessageTimer(static_cast<unsigned>(id)));
}

ReminderDecision CTavrinDlg::DecideReminderNow(unsigned timerId, const MessageCatalogue& lists)
{
    const std::int64_t now = m_platform.Now();
    // A clock that can't be read gives -1, outside both windows.
    const TimeOfDay local = LocalTimeOfDay(now).value_or(TimeOfDay{-1, -1, -1});
    return DecideReminder(timerId, local.hour, local.minute, lists, CurrentReminderSettings(),
                          static_cast<std::uint32_t>(now));
}

void CTavrinDlg::OfferReminder(ReminderKind kind)
{
    if (kind == ReminderKind::LongActivity) {
        OfferLongActivityWarning();
        return;
    }
    if (kind == ReminderKind::DailyLimit || kind == ReminderKind::Bedtime) {
        OfferReminderOfTheDay(kind);
        return;
    }
    const MessageCatalogue lists{healthMessages, timeBreakMessages, sleepMessages};
    const ReminderDecision decision = DecideReminderNow(MessageTimerOf(kind), lists);
    if (!decision.GivesAnything())
        return;
    const ReminderRoute route = m_rules.OnReminderDue(kind, decision.startForcedBreak, MomentNow(true));
    if (route == ReminderRoute::Nothing)
        return;
    if (decision.blinkLights)
        StartLightShow();
    if (decision.playMessageSound)
        m_platform.PlaySoundFile(m_settings.messageSoundPath);
    if (route == ReminderRoute::HeadsUp) {
        FollowRules();
    } else if (decision.startForcedBreak) {
        StartForcedBreak();
    } else if (decision.popupText) {
        m_reminders.Present(NoticeOf(kind), *decision.popupText);
    }
}

void CTavrinDlg::OfferLongActivityWarning()
{
    if (m_rules.OnReminderDue(ReminderKind::LongActivity, false, MomentNow(true)) != ReminderRoute::Give)
        return;
    const WarningDecision decision =
        DecideLongActivityWarning(CurrentReminderSettings(), m_settings.timeBreakMsg, m_settings.sleepMsg);
    if (decision.blinkLights)
        StartLightShow();
    if (decision.playWarningSound)
        m_platform.PlaySoundFile(m_settings.warningSoundPath);
    if (decision.showPopup)
        m_reminders.Present(ReminderNotice::LongActivity, Tr(kLongActivityWarningText));
}

void CTavrinDlg::OfferReminderOfTheDay(ReminderKind kind)
{
    if (m_rules.OnReminderDue(kind, false, MomentNow(true)) != ReminderRoute::Give)
        return;
    const ReminderDecision decision =
        kind == ReminderKind::Bedtime
            ? DecideBedtimeReminder(CurrentReminderSettings(), m_rules.BedtimeMinutes())
            : DecideDailyLimitReminder(CurrentReminderSettings(), m_rules.DailyLimitMinutesReached());
    if (decision.blinkLights)
        StartLightShow();
    if (decision.playMessageSound)
        m_platform.PlaySoundFile(m_settings.messageSoundPath);
    if (decision.popupText)
        m_reminders.Present(NoticeOf(kind), *decision.popupText);
}

void CTavrinDlg::ShowEmptyListBoxes()
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
}

void CTavrinDlg::OnQuietCheckTick()
{
    const HeldRelease held = m_rules.OnQuietCheck(MomentNow(true));
    if (held.emptyListBoxes)
        ShowEmptyListBoxes();
    if (held.reminder && !Ended() && g_bRunning)
        OfferReminder(*held.reminder);
}

void CTavrinDlg::RestartMessageInterval(ReminderKind kind)
{
    // Its timer runs only when the box was checked at Start, and the box is locked while running.
    const bool health = kind == ReminderKind::HealthTip;
    if (!(health ? m_settings.healthMsg : m_settings.timeBreakMsg))
        return;
    const MessagePeriods periods = PlanMessagePeriods(m_nFrequence, LeadingNumber(m_settings.otherTime));
    m_platform.SetWindowTimer(Hwnd(), MessageTimerOf(kind),
                              static_cast<UINT>(health ? periods.healthTipMs : periods.timeBreakMs));
}

void CTavrinDlg::StartLightShow()
{
    CLedBlinker blinker(m_platform);
    blinker.Start();
}
