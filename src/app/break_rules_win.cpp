// The main window between the rules of the break features and the windows that show them: it
// reads the moment, reports the heads-up's timer and buttons, and shows what the rules say.
#include "app/main_window_win.h"

#include "activity/calendar.h"
#include "activity/counter_state.h"
#include "breaks/forced_break_dialog_win.h"
#include "messages/status_bar_popup_win.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"

Moment CTavrinDlg::MomentNow(bool askSystem)
{
    Moment moment = askSystem ? m_quiet.ReadMoment() : m_quiet.LastMoment();
    moment.reminderPopupUp = CStatusBarMsgWnd::LiveCount() > 0;
    moment.breakDialogShown = g_pForceBreakDlg && g_pForceBreakDlg->IsVisible();
    moment.countedDay = LocalDate(g_timeCountedDay);
    moment.activeMs = g_nActiveTimeMs;
    return moment;
}

void CTavrinDlg::FollowRules()
{
    m_headsUp.Follow(Hwnd(), m_rules.HeadsUpShown(), m_rules.HeadsUpViewAt(m_platform.TickCount()),
                     m_rules.HeadsUpTimerMs());
}

void CTavrinDlg::OnHeadsUpTick()
{
    const bool breakStarts = m_rules.OnHeadsUpTick(MomentNow(false), [this] { return MomentNow(true); });
    FollowRules();
    if (breakStarts)
        StartForcedBreak();
}

void CTavrinDlg::OnHeadsUpButton(int id)
{
    const Moment moment = MomentNow(false);
    if (id == IDC_HEADS_UP_POSTPONE) {
        m_rules.OnPostpone(moment);
        FollowRules();
    } else if (m_rules.OnStartNow(moment)) {
        FollowRules();
        StartForcedBreak();
    }
}

void CTavrinDlg::TakeBreakNow()
{
    // A break asked for at once opens the dialog as "Start now" does, taking away a heads-up shown.
    if (m_rules.OnTakeBreakNow(MomentNow(false))) {
        FollowRules();
        StartForcedBreak();
    }
}
