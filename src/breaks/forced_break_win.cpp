// The forced break as the main window runs it: the break dialog, its idea and its countdown on timer 7.
#include "app/main_window_win.h"

#include "app/timer_plan.h"
#include "breaks/break_ideas.h"
#include "breaks/break_state.h"
#include "breaks/forced_break_dialog_win.h"
#include "language/translation.h"
#include "platform/platform_win.h"
#include "resources/resource_ids.h"

void CTavrinDlg::StartForcedBreak()
{
    m_platform.SetWindowTimer(Hwnd(), kBreakCountdownTimer, kOncePerSecondMs);
    bool bNewBreak = true;
    if (m_pForceBreakDlg && m_pForceBreakDlg->IsVisible()) {
        // A break while the last one is still shown goes on in the same dialog, so that a short
        // interval never piles up dialogs; a countdown that had ended begins again, with a new idea.
        bNewBreak = !m_rules.BreakGoesOn();
        if (bNewBreak) {
            m_pForceBreakDlg->EnableItem(IDOK, false);
            m_pForceBreakDlg->SetItemText(IDOK, Tr("OK"));
        }
    } else {
        // A closed break dialog makes way for the new one, so weeks of breaks leave no hidden windows.
        m_pForceBreakDlg = std::make_unique<CforceBreak>();
        g_pForceBreakDlg = m_pForceBreakDlg.get();
        if (!g_pForceBreakDlg->Create(Hwnd()))
            AppMessageBox(Tr(kDialogCreationFailed));
    }
    if (bNewBreak && g_pForceBreakDlg->Hwnd()) {
        // Read at each break, so that an edited file shows at the next one; without it, no idea.
        const std::vector<std::string> ideas =
            ReadBreakIdeas(m_platform.ReadWholeFile(kBreakIdeasFile).value_or(std::string()));
        g_pForceBreakDlg->ShowIdea(m_breakIdeas.Next(ideas, m_platform.Now()));
    }
    g_pForceBreakDlg->SetStrict(m_settings.strictBreaks);
    g_pForceBreakDlg->Show(SW_SHOW);
    CoverTheScreens();
}

void CTavrinDlg::CoverTheScreens()
{
    if (m_settings.coverScreens && g_pForceBreakDlg)
        m_covers.Lay(g_pForceBreakDlg->Hwnd());
}

void CTavrinDlg::OnBreakCountdownTick()
{
    if (!g_pForceBreakDlg)
        return;
    const CountdownStep step =
        m_rules.OnBreakCountdownTick(MomentNow(false), CountdownSeconds(m_settings.forceBreakWait));
    if (step.ended) {
        g_pForceBreakDlg->EnableItem(IDOK, true);
        m_platform.KillWindowTimer(Hwnd(), kBreakCountdownTimer);
    }
    g_pForceBreakDlg->SetItemText(IDOK, CountdownCaption(step));
}
