#include "breaks/eye_breaks_win.h"

void CEyeBreaks::Show(const EyeBreakView& view)
{
    if (!view.shown)
        m_popup.Close();
    else if (!m_popup.Hwnd())
        m_popup.Show(m_owner, view.secondsLeft);
    else
        m_popup.ShowCount(view.secondsLeft);
}
