#pragma once
#include "breaks/break_heads_up.h"
#include "framework/dialog_win.h"
#include "messages/message_scheduler.h"

#include <functional>

class Platform;
class CQuietKeeper;
class CBreakHistory;

// The heads-up before a forced break: a small topmost window at the taskbar's edge, where the
// reminders' popup opens, counting the seconds down, with "Postpone 5 minutes" and "Start now".
// It never takes the focus, not even when a button is clicked, so the user's typing goes on where
// it was. Its seconds are counted on the owner's heads-up timer.
class CHeadsUpWnd : public CDialog {
public:
    // startBreak opens the break dialog; each postponement goes into the day's break record.
    CHeadsUpWnd(Platform& platform, CQuietKeeper& quiet, CBreakHistory& record, std::function<void()> startBreak);

    // Supervision starts with this window as the owner, or stops (by the user or a sleep): the
    // heads-up and a break put off end, as every Start counts the intervals afresh.
    void OnStart(HWND owner);
    void OnStop();
    // A forced break of this kind falls due: its heads-up shows. False when a heads-up shown or a
    // break put off stands for it already, and nothing more comes.
    bool OnBreakDue(ReminderKind kind);
    // The owner's heads-up timer.
    void OnTick();
    // The heads-up is on screen.
    bool IsShown() const { return m_rules.Shown(); }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Shows the heads-up at the taskbar's edge without activating it.
    void ShowAtTaskbarEdge();
    // Brings the texts and the postpone button up to date with the rules.
    void Refresh();
    // Hides the window once no heads-up is shown, and stops the timer once no break waits.
    void FollowRules();
    void OnPostpone();
    void OnStartNow();

    Platform& m_platform;
    CQuietKeeper& m_quiet;
    CBreakHistory& m_record;
    std::function<void()> m_startBreak;
    BreakHeadsUp m_rules;
    HWND m_owner = nullptr;
    ReminderKind m_kind = ReminderKind::TimeBreak;
    HeadsUpView m_shown;
};
