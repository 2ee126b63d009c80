#pragma once
#include "breaks/break_covers.h"

#include <windows.h>

#include <memory>
#include <vector>

class Platform;

// The covers of a break. While the break dialog is shown, a window of Kelvaro's covers each
// monitor whole, taskbar included: topmost, without a taskbar button, dimming what lies behind it
// (under high contrast in the scheme's window colour) and taking its clicks; the dialog stands
// above them, centred on the pointer's monitor. They follow the monitors, looked at once a second
// and at once when the system tells of a change, are laid again after a sleep or an unlock, and
// go by themselves when the dialog is hidden or destroyed. Outside a break there is no window and
// no timer: the first cover carries the timer and the session's notifications.
class CBreakCovers {
public:
    static constexpr wchar_t kWindowClass[] = L"KelvaroBreakCover";
    // The look at the monitors, on the first cover's timer.
    static constexpr UINT_PTR kLookTimer = 1;
    static constexpr UINT kLookPeriodMs = 1000;

    explicit CBreakCovers(Platform& platform);
    ~CBreakCovers();
    CBreakCovers(const CBreakCovers&) = delete;
    CBreakCovers& operator=(const CBreakCovers&) = delete;

    // The break dialog has been shown: covers over every monitor and the dialog above them, centred
    // on the pointer's monitor; laid again when they stand. A hidden dialog gets no covers.
    void Lay(HWND breakDialog);
    // The covers go, as they do by themselves with the dialog.
    void Lift();
    // The cover windows standing, one a monitor.
    std::vector<HWND> Covers() const;

private:
    class CCover;
    // A look at the monitors: the covers follow them, or are laid anew.
    void Look(bool layAgain);
    void Apply(const CoverLayout& layout, bool restack);
    DialogPlace DialogAsItStands() const;
    static LRESULT CALLBACK WatchDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);

    Platform& m_platform;
    BreakCoverPlan m_plan;
    HWND m_hDialog = nullptr;
    // In the plan's order; a cover whose window could not be made is null and is tried again at the next look.
    std::vector<std::unique_ptr<CCover>> m_covers;
    // A look is being applied: what the windows it moves and makes are told waits for the next.
    bool m_bApplying = false;
};
