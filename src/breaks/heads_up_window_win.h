#pragma once
#include "breaks/break_heads_up.h"
#include "framework/dialog_win.h"

#include <cstdint>

class Platform;

// The heads-up before a forced break: a small topmost window at the taskbar's edge, where the
// reminders' popup opens, counting the seconds down, with "Postpone 5 minutes" and "Start now".
// It never takes the focus, not even when a button is clicked, so the user's typing goes on where
// it was. It shows what the rules say and tells its owner of a click on a button, as a command
// with the button's id; its seconds are counted on the owner's heads-up timer.
class CHeadsUpWnd : public CDialog {
public:
    explicit CHeadsUpWnd(Platform& platform);

    // The heads-up as the rules have it now: shown with its texts, or hidden; the owner's timer
    // ticking every so many milliseconds, or not at all at 0.
    void Follow(HWND owner, bool shown, const HeadsUpView& view, std::uint32_t timerMs);
    bool IsShown() const { return IsVisible(); }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Shows the heads-up at the taskbar's edge without activating it.
    void ShowAtTaskbarEdge();
    // Brings the texts and the postpone button up to date; only what changed is set.
    void Refresh(const HeadsUpView& view);

    Platform& m_platform;
    HWND m_owner = nullptr;
    HeadsUpView m_shown;
    std::uint32_t m_nTimerMs = 0;
};
